#include "terminal/utils_db_online.h"

#include <chrono>

#include "dialogs/forms.h"
#include "dmutils/dm_utils.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/http.h"
#include "platform/path.h"
#include "platform/regional.h"
#include "terminal/essential_file.h"
#include "terminal/download_request.h"
#include "utils/zip_archive.h"

namespace vt {

using namespace std::chrono_literals;

TdmUtilsDbOnline::TdmUtilsDbOnline(TdmUtils& dmUtils, TdmForms& dmForms, platform::Clock& clock,
                                   std::string launcherFolder, std::string serverBaseAddress)
    : dmUtils_(dmUtils), dmForms_(dmForms), clock_(clock), launcherFolder_(std::move(launcherFolder)),
      serverBaseAddress_(std::move(serverBaseAddress)) {}

void TdmUtilsDbOnline::limpaDwd() {
  const std::string folder = launcherFolder_ + "dwd\\";
  for (const auto& entry : platform::listDirectory(folder, "*.*")) {
    const std::string path = folder + entry.name;
    if (!entry.isDirectory) {
      if (platform::fileExists(path) && !platform::deleteFile(path))
        dmUtils_.exibeMsg("Não foi possível excluir " + path, "Atenção", false, true);
    } else if (platform::directoryExists(path)) {
      TdmUtils::deletarDiretorio(path);
    }
  }
}

void TdmUtilsDbOnline::step(int position, const char* text) {
  dmForms_.formProgress("pbProgrs", "Baixando o Vantorim", "Copy", position, 0, 100, text);
  clock_.pause(500ms);
}

bool TdmUtilsDbOnline::processoBaixaVantorim() {
  const std::string dwd = launcherFolder_ + "dwd\\";
  dmForms_.formProgress("pbInicia", "Baixando o Vantorim", "Copy", 0, 0, 100, "");
  step(15, "Conferindo diretório de download...");
  if (!platform::directoryExists(dwd)) platform::createDirectories(dwd);
  step(30, "Limpando diretório...");
  limpaDwd();
  step(45, "Realizando download do aplicativo");
  if (!DownloadLauncherPackage(launcherFolder_ + "dwd/Vantorim.zip")) return false;
  step(60, "Descompactando aplicativo");
  if (auto outcome = utils::extractZip(launcherFolder_ + "dwd/Vantorim.zip", dwd); !outcome) {
    dmUtils_.exibeMsg(
        "Houve problemas ao tentar descompactar o arquivo Vantorim.zip. Isso pode ter acontecido pelo arquivo ter sido "
        "baixado corrompido ou haver restrições de seu sistema operacional as ações do atualizador. Entre em contato "
        "com o suporte Quorvelin para verificação das versões.\r\nDescrição do erro:\r\n\r\n" +
            outcome.reason,
        "Atenção", false, true);
  }
  if (!platform::fileExists(launcherFolder_ + "dwd/Vantorim.exe")) {
    dmUtils_.exibeMsg("Não foi encontrado o arquivo correto após o download. Entre em contato com o suporte Quorvelin "
                      "para verificação das versões.",
                      "Atenção", false, true);
    return false;
  }
  step(75, "Apagando arquivos desnecessários");
  if (platform::fileExists(launcherFolder_ + "Vantorim.exe")) platform::deleteFile(launcherFolder_ + "Vantorim.exe");
  step(90, "Copiando aplicativo para o diretório");
  if (!platform::copyFile(launcherFolder_ + "dwd\\Vantorim.exe", launcherFolder_ + "Vantorim.exe")) {
    dmUtils_.exibeMsg("O arquivo não pode ser copiado corretamente. Entre em contato com o suporte Quorvelin para "
                      "verificação das versões.",
                      "Atenção", false, true);
    return false;
  }
  step(95, "Limpando diretório...");
  limpaDwd();
  dmForms_.formProgress("pbFim", "Baixando o Vantorim", "Copy", 100, 0, 100, "");
  return true;
}

bool TdmUtilsDbOnline::DownloadLauncherPackage(const std::string& AFile) {
  namespace http = platform::http;
  const std::string address = downloadAddress(serverBaseAddress_, "Vantorim.zip", "", "Quorvelin/upd/");
  try {
    // Created empty and held exclusively from here to the end of the GET.
    http::BodyFile file(platform::toHost(AFile));
    const http::HeadResult head = headForDownload(address);
    if (!head.contentLength || *head.contentLength == 0) {
      dmUtils_.exibeMsg(downloadNotFoundMessage("Vantorim.zip"), "Atenção", false, true);
      return false;
    }
    getForDownload(address, file, *head.contentLength);
    file.close();
    return true;
  } catch (const std::exception& e) {
    dmUtils_.exibeMsg(downloadErrorMessage("Vantorim.zip", e.what()), "Atenção", false, true);
    return false;
  }
}

// ---- Essential file ----------------------------------------------------------

std::string TdmUtilsDbOnline::EncipherText(std::string_view AText) const {
  return encipherText(AText, randomStartValue());
}

std::string TdmUtilsDbOnline::DecipherText(std::string_view AText) const { return decipherText(AText); }

bool TdmUtilsDbOnline::criaArquivoBaseOnline(std::string& AError) {
  const bool wasChanged = cdsDados.Changed();
  try {
    std::string plain;
    if (!composeEssentialFile(cdsDados, platform::userRegionalFormats(), plain, AError)) return false;
    cdsDados.SetChanged(false);
    // setToConfig answers nothing worth looking at; a refused write raises.
    // That is a failed write like the others: the caller logs it and ends the
    // run, rather than the error leaving the run's step unhandled.
    dmUtils_.setToConfig("CONFIGURACAO", "BancoOnLine", EncipherText(plain), kConfigPath);
    return true;
  } catch (const std::exception& e) {
    cdsDados.SetChanged(wasChanged);
    AError = std::string("Falha na gravação do arquivo essencial no Config.ini. Descrição do erro: ") + e.what();
    return false;
  }
}

std::string TdmUtilsDbOnline::lerArquivoBaseOnline(std::string_view AArquivo) {
  return readEssentialPlainTextInto(cdsDados, DecipherText(AArquivo), platform::userRegionalFormats(),
                                    [this](std::string_view entry) { logLine(entry); });
}

} // namespace vt
