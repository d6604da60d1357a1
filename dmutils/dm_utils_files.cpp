#include <chrono>
#include <istream>
#include <vector>

#include "dmutils/dialogs_port.h"
#include "dmutils/dm_utils.h"
#include "platform/clock.h"
#include "platform/encoding.h"
#include "platform/files.h"
#include "platform/os_error.h"
#include "platform/process.h"
#include "platform/regional.h"
#include "platform/url_download.h"
#include "utils/text.h"

namespace vt {
namespace {

using namespace std::chrono_literals;

// Start of the file-name part: after the last folder separator or drive
// colon. A "/" is part of the name, as it is for the platform's own paths.
size_t fileNameStart(std::string_view path) {
  size_t cut = path.find_last_of("\\:");
  return cut == std::string_view::npos ? 0 : cut + 1;
}

} // namespace

bool TdmUtils::criaArquivo(std::string_view AConteudo, std::string_view ANomeArquivo, std::string& AError) {
  std::string name(ANomeArquivo);
  try {
    if (name.empty()) {
      const std::string folder = "C:\\Quorvelin\\consultas";
      if (!platform::directoryExists(folder)) {
        platform::createDirectories(folder);
        clock_.pause(3s);
      }
      const auto formats = platform::userRegionalFormats();
      const utils::TDateTime now = utils::nowDateTime(clock_);
      name = folder + "\\criaArquivoUtils_" + soNumericos(utils::formatDateTime(formats.shortDateFormat, now)) + "_" +
             soNumericos(utils::formatDateTime(formats.longTimeFormat, now)) + ".txt";
    }
    platform::writeFileReplacing(name, platform::utf8ToFileText(std::string(AConteudo) + "\r\n"));
  } catch (const std::exception& e) {
    AError = e.what();
    return false;
  }
  AError.clear();
  return true;
}

void TdmUtils::deletarDiretorio(std::string_view ACaminho) { platform::shellDelete(ACaminho); }

void TdmUtils::copiarDiretorio(std::string_view ACaminhoOrigem, std::string_view ACaminhoDestino) {
  platform::shellCopy(ACaminhoOrigem, ACaminhoDestino);
}

void TdmUtils::limparArquivosDiretorio(std::string_view ADiretorio) {
  if (!platform::directoryExists(ADiretorio)) return;
  for (const auto& entry : platform::listDirectory(ADiretorio, "*")) {
    if (!entry.isDirectory) platform::deleteFile(std::string(ADiretorio) + "\\" + entry.name);
  }
}

double TdmUtils::tamanhoArquivo(std::string_view AArquivo) {
  return static_cast<double>(platform::exclusiveFileSize(AArquivo)) / 1024.0;
}

int64_t TdmUtils::getFileSize(std::string_view AFilename) { return platform::fileSize(AFilename); }

int TdmUtils::downloadArquivo(std::string_view AUrl, std::string_view ADestino, bool AProgresso) {
  if (AProgresso) {
    if (forms_) forms_->formProgress("pbInicia", "Download de " + std::string(AUrl), "Copy", 0, 0, 100, "");
  }
  long code = platform::urlDownloadToFile(AUrl, ADestino);
  if (AProgresso) progress("pbFim", "", 0);
  return static_cast<int>(code);
}

bool TdmUtils::VerificaCopia(std::string_view APathLocal, std::string_view APathRede) {
  for (int attempt = 0; attempt < 20; ++attempt) {
    if (platform::pathExists(APathLocal)) return true;
    clock_.pause(500ms);
  }
  exibeMsg("Não foi possível copiar o arquivo \"" + std::string(APathRede) + "\".\r" +
               "Verifique suas configurações de rede e tente novamente.",
           "Atenção", false, true);
  return false;
}

std::string TdmUtils::extractFileNameFromPath(std::string_view AFilename) {
  std::string name(AFilename.substr(fileNameStart(AFilename)));
  size_t dot = name.find_last_of('.');
  if (dot == std::string::npos) return name;
  const std::string extension = name.substr(dot);
  name.erase(name.find(extension), extension.size());
  return name;
}

std::string TdmUtils::extractFileOnlyName(std::string_view AFilename) {
  std::string name(AFilename.substr(fileNameStart(AFilename)));
  size_t dot = name.find_last_of('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string TdmUtils::caminhoDirAbsoluto(std::string_view AInput) { return platform::expandEnvironment(AInput); }

std::string TdmUtils::blobToHex(std::istream& Stream) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  std::vector<char> chunk(1 << 20);
  while (Stream) {
    Stream.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
    std::streamsize n = Stream.gcount();
    if (n <= 0) break;
    hex.reserve(hex.size() + static_cast<size_t>(n) * 2);
    for (std::streamsize i = 0; i < n; ++i) {
      auto b = static_cast<unsigned char>(chunk[static_cast<size_t>(i)]);
      hex += kDigits[b >> 4];
      hex += kDigits[b & 0x0F];
    }
  }
  return hex;
}

std::string TdmUtils::carregaEtiqueta(std::string_view ANome) {
  const std::string host = getFromConfig("CONEXAO", "Caminho dos dados", kConfigPath);
  const std::string root = utils::equalsIgnoringAsciiCase(host, "localhost") ? "C:" : "\\\\" + host;
  const std::string custom = root + "\\Quorvelin\\reports\\etiquetas\\personalizados\\" + std::string(ANome);
  if (platform::fileExists(custom)) return custom;
  return root + "\\Quorvelin\\reports\\etiquetas\\" + std::string(ANome);
}

std::string TdmUtils::verificaXmlCdata(std::string_view APathXML, std::string_view AFileXML, bool AProgresso) {
  const std::string folder(APathXML);
  const std::string work = folder + extractFileNameFromPath(AFileXML) + ".txt";
  // The progress steps report only with AProgresso; the waits happen either way.
  auto step = [&](const char* name, const char* title, int position, std::chrono::milliseconds wait) {
    if (AProgresso) progress(name, title, position);
    clock_.pause(wait);
  };
  step("pbInicia", "Iniciando Análise do Arquivo XML...", 0, 1000ms);
  if (platform::fileExists(work)) platform::deleteFile(work);
  platform::copyFile(folder + "\\" + std::string(AFileXML), work);
  step("pbProgrs", "Iniciando Análise do Arquivo XML...", 25, 1000ms);
  std::string text = platform::readWholeFile(work);
  step("pbProgrs", "Iniciando Análise do Arquivo XML...", 50, 500ms);
  if (text.find("<![CDATA[") == std::string::npos) {
    platform::writeFileReplacing(work, text);
    platform::deleteFile(work);
    if (AProgresso) progress("pbFim", "", 0);
    return {};
  }
  text = utils::replaceAll(std::move(text), "<![CDATA[", "");
  step("pbProgrs", "Iniciando Análise do Arquivo XML...", 62, 500ms);
  text = utils::replaceAll(std::move(text), "]]>", "");
  step("pbProgrs", "Iniciando Análise do Arquivo XML...", 75, 500ms);
  platform::writeFileReplacing(work, text);
  const std::string backup = folder + "bkp" + extractFileOnlyName(AFileXML) + ".xml";
  platform::copyFile(work, backup);
  step("pbProgrs", "Iniciando Análise do Arquivo XML...", 88, 500ms);
  platform::deleteFile(work);
  step("pbProgrs", "Iniciando Análise do Arquivo XML...", 99, 500ms);
  if (AProgresso) progress("pbFim", "", 0);
  return backup;
}

} // namespace vt
