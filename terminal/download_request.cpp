#include "terminal/download_request.h"

namespace vt {

platform::http::Headers downloadRequestHeaders() {
  return {{"Accept", "text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8"},
          {"User-Agent", "Mozilla/3.0 (compatible; Indy Library)"}};
}

std::string downloadAddress(std::string_view serverBase, std::string_view fileName, std::string_view handleText,
                            std::string_view folder) {
  std::string address(serverBase);
  if (!handleText.empty() && !folder.empty()) {
    address += "nuvem/reports/";
    address += handleText;
    address += "/";
    address += folder;
    address += "/";
  } else {
    address += folder;
  }
  address += fileName;
  return address;
}

std::string httpStatusError(int status, std::string_view reason) {
  std::string text = "HTTP/1.1 " + std::to_string(status);
  if (!reason.empty()) text += " " + std::string(reason);
  return text;
}

} // namespace vt
