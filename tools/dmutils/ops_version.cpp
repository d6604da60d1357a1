// The version information of executables: the file version a program
// carries, read with the module's own bounds-checked reader on Linux.
#include "tools/dmutils/registry.h"
#include "utils/version_info.h"

namespace vt::tools {

void registerVersionOps(OpRegistry& registry) {
  addText(registry, "GetExeVersion", [](const std::string& path) { return utils::VersionInfo::GetExeVersion(path); });
  addText(registry, "getFileVersion", [](const std::string& path) { return utils::VersionInfo::getFileVersion(path); });
}

} // namespace vt::tools
