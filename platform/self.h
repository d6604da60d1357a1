#pragma once
// The running program's own file.
#include <string>

namespace vt::platform {

// The full path of the running executable as a Windows-form text
// ("C:\Quorvelin\Vantorim.exe"); on POSIX /proc/self/exe mapped back through
// fromHost.
std::string currentExecutablePath();

} // namespace vt::platform
