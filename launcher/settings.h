#pragma once
// Fixed values of one build of the launcher.
#include <functional>
#include <string>
#include <string_view>

namespace vt {

struct LauncherSettings {
  // The maker's download web server, a plain-HTTP address ending with "/".
  std::string serverBaseAddress;
  // Full Windows path of the running executable (its folder is the launcher folder).
  std::string exePath;
  // Called with the name of each step that changes the install root, right
  // after it (installSteps.h names them). The launcher leaves it empty; the
  // crash tests' program ends itself abruptly at the step they name, to show
  // that the next run completes and nothing is lost.
  std::function<void(std::string_view step)> stepReached = {};
};

// The folder of a Windows path with its trailing backslash ("" for a bare
// name): the launcher folder of the executable's path.
inline std::string folderOf(const std::string& path) {
  const size_t cut = path.find_last_of("\\/");
  return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

// The install root, named literally by a few steps.
inline constexpr const char* kInstallRoot = "C:\\Quorvelin\\";

} // namespace vt
