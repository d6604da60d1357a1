// DownloadFile: one file from the maker's download web server to a local
// path, with the download bar following the transfer. It tells the user about
// every failure itself and returns false.
#include <cstdint>

#include "dmutils/dm_utils.h"
#include "launcher/frm_vantorim.h"
#include "launcher/notices.h"
#include "platform/files.h"
#include "platform/http.h"
#include "platform/path.h"
#include "terminal/download_request.h"

namespace vt {

bool TfrmVantorim::DownloadFile(std::string_view fileName, std::string_view handleText, std::string_view folder,
                                std::string_view localFile) {
  namespace http = platform::http;
  const std::string address = downloadAddress(serverBaseAddress_, fileName, handleText, folder);
  if (platform::fileExists(localFile)) platform::deleteFile(localFile);
  WriteLogLine("Baixando arquivo " + std::string(localFile) + " do FTP da Quorvelin");
  try {
    // Created empty and held exclusively from here to the end of the GET.
    http::BodyFile file(platform::toHost(localFile));
    const http::HeadResult head = headForDownload(address);
    // The announced size as a signed 32-bit number; no length counts as -1.
    const int32_t expected =
        head.contentLength ? static_cast<int32_t>(static_cast<uint32_t>(*head.contentLength & 0xFFFFFFFF)) : -1;
    if (expected <= 0) {
      alertUser(dmUtils, downloadNotFoundMessage(fileName));
      return false;
    }
    bool begun = false;
    auto progress = [&](int64_t soFar, int64_t total) {
      if (!begun) {
        begun = true;
        idhDownloadWorkBegin(total);
      }
      idhDownloadWork(soFar);
    };
    try {
      getForDownload(address, file, *head.contentLength, progress);
      file.close();
    } catch (...) {
      if (begun) idhDownloadWorkEnd();
      throw;
    }
    if (begun) idhDownloadWorkEnd();
    return true;
  } catch (const std::exception& e) {
    const std::string error = e.what();
    WriteLogLine("Falha para baixar o arquivo " + std::string(fileName) + ". Erro informado: " + error);
    alertUser(dmUtils, downloadErrorMessage(fileName, error));
    return false;
  }
}

} // namespace vt
