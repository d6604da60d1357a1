#include "platform/path.h"

#include "platform/encoding.h"

namespace vt::platform {

std::filesystem::path toHost(std::string_view windowsPath) {
  return std::filesystem::path(utf8ToWide(windowsPath));
}

std::string fromHost(const std::filesystem::path& hostPath) {
  return wideToUtf8(hostPath.wstring());
}

std::string hostPathText(const std::filesystem::path& hostPath) { return wideToUtf8(hostPath.wstring()); }

} // namespace vt::platform
