#pragma once
// Paths inside the system are Windows paths ("C:\Quorvelin\dwd\Caspelo.zip").
// toHost turns one into a path the host's file system understands.
//
// On Windows the text is used as it is (converted to UTF-16).
// On POSIX the drive "C:\" is the folder named by VANTORIM_DRIVE_C (default
// "/"), other drive letters by VANTORIM_DRIVE_<LETTER> (unmapped drives do not
// exist), a UNC share "\\host\share\..." lives under "<drive C>/.unc/host/share/...",
// backslashes become slashes, and a component that does not exist with that
// exact letter case is looked up without regard to case, as Windows would.
#include <filesystem>
#include <string>
#include <string_view>

namespace vt::platform {

std::filesystem::path toHost(std::string_view windowsPath);

// The inverse for paths the system itself learns from the host (the running
// executable, a temporary folder): a Windows-form text.
std::string fromHost(const std::filesystem::path& hostPath);

// UTF-8 text of a host path (std::filesystem paths are UTF-16 on Windows).
std::string hostPathText(const std::filesystem::path& hostPath);

} // namespace vt::platform
