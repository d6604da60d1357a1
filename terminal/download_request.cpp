#include "terminal/download_request.h"

#include <stdexcept>


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

std::string downloadNotFoundMessage(std::string_view fileName) {
  return "O arquivo " + std::string(fileName) + " não foi encontrado para download nos servidores da Quorvelin.";
}

std::string downloadErrorMessage(std::string_view fileName, std::string_view error) {
  return "Erro ao realizar o download do arquivo " + std::string(fileName) +
         ". Possíveis causas:\r\n- oscilação da internet ao realizar o download client-server.\r\n"
         "- arquivo baixado corrompido.\r\n\r\nErro informado: \r\n" +
         std::string(error);
}

namespace {

void raiseErrorStatus(int status, std::string_view reason) {
  if (status >= 200 && status < 300) return;
  std::string text = "HTTP/1.1 " + std::to_string(status);
  if (!reason.empty()) text += " " + std::string(reason);
  throw std::runtime_error(text);
}

} // namespace

platform::http::HeadResult headForDownload(const std::string& address) {
  platform::http::HeadResult head = platform::http::head(address, downloadRequestHeaders());
  raiseErrorStatus(head.status, head.reason);
  return head;
}

void getForDownload(const std::string& address, platform::http::BodyFile& localFile, std::int64_t announcedByHead,
                    const platform::http::Progress& progress) {
  namespace http = platform::http;
  const auto got = http::getToFile(address, downloadRequestHeaders(), localFile, progress);
  raiseErrorStatus(got.status, got.reason);
  if (got.bytesWritten < static_cast<std::uint64_t>(announcedByHead)) {
    throw http::HttpError(http::HttpError::Kind::kBrokenBody, http::brokenBodyText(got.bytesWritten, announcedByHead));
  }
}

} // namespace vt
