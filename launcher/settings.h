#pragma once
// Fixed values of one build of the launcher.
#include <string>

namespace vt {

struct LauncherSettings {
  // The maker's download web server, a plain-HTTP address ending with "/".
  std::string serverBaseAddress;
  // Full Windows path of the running executable (its folder is the launcher folder).
  std::string exePath;
};

// The install root, named literally by a few steps.
inline constexpr const char* kInstallRoot = "C:\\Quorvelin\\";

} // namespace vt
