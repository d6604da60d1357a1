#include "platform/http.h"
#include "platform/path.h"
#include "platform/url_download.h"

namespace vt::platform {

long urlDownloadToFile(std::string_view url, std::string_view destination) {
  try {
    auto result = http::getToFile(std::string(url), {}, toHost(destination));
    if (result.status >= 200 && result.status < 300) return 0;
    return kInetResourceNotFound;
  } catch (const http::HttpError& e) {
    return e.kind() == http::HttpError::Kind::kConnect ? kInetCannotConnect : kInetDownloadFailure;
  }
}

} // namespace vt::platform
