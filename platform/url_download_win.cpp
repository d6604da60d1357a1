#include <windows.h>
#include <urlmon.h>

#include "platform/encoding.h"
#include "platform/url_download.h"

namespace vt::platform {

long urlDownloadToFile(std::string_view url, std::string_view destination) {
  HRESULT hr = URLDownloadToFileW(nullptr, utf8ToWide(url).c_str(), utf8ToWide(destination).c_str(), 0, nullptr);
  return static_cast<long>(hr);
}

} // namespace vt::platform
