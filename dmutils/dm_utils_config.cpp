#include <chrono>

#include "dmutils/dialogs_port.h"
#include "dmutils/dm_utils.h"
#include "platform/clock.h"
#include "platform/encoding.h"
#include "platform/files.h"
#include "platform/process.h"
#include "platform/profile.h"
#include "utils/text.h"

namespace vt {
namespace {

using namespace std::chrono_literals;

std::string removeAll(std::string_view s, char c) {
  std::string out;
  for (char ch : s)
    if (ch != c) out += ch;
  return out;
}

} // namespace

// Only the exact default path is redirected, and only while a per-user file is set.
static std::string resolveConfigPath(const std::string& gPathConfig, std::string_view AConfigPath) {
  if (AConfigPath == kConfigPath && !gPathConfig.empty()) return gPathConfig;
  return std::string(AConfigPath);
}

std::string TdmUtils::getFromConfig(std::string_view ASessao, std::string_view AIdent, std::string_view AConfigPath) {
  return platform::profileRead(ASessao, AIdent, resolveConfigPath(gPathConfig, AConfigPath));
}

std::string TdmUtils::setToConfig(std::string_view ASessao, std::string_view AIdent, std::string_view AInformacao,
                                  std::string_view AConfigPath) {
  std::string path = resolveConfigPath(gPathConfig, AConfigPath);
  if (!platform::profileWrite(ASessao, AIdent, AInformacao, path)) throw ConfigWriteError("Unable to write to " + path);
  return {};
}

void TdmUtils::deleteFromConfig(std::string_view ASessao, std::string_view AIdent, std::string_view AConfigPath) {
  // A refused write is ignored here, as the callers expect.
  platform::profileDeleteKey(ASessao, AIdent, resolveConfigPath(gPathConfig, AConfigPath));
}

void TdmUtils::delSectionFromConfig(std::string_view ASessao, std::string_view AConfigPath) {
  std::string path = resolveConfigPath(gPathConfig, AConfigPath);
  if (!platform::profileDeleteSection(ASessao, path)) throw ConfigWriteError("Unable to write to " + path);
}

std::string TdmUtils::configUsuario() {
  const std::string folder = "C:\\Quorvelin\\configUsuario\\";
  progress("pbInicia", "Usando o Config por usuário...", 0);
  progress("pbProgrs", "Conferindo " + folder + "...", 25);
  if (!platform::directoryExists(folder)) {
    progress("pbProgrs", "Criando " + folder + "...", 50);
    clock_.pause(1s);
    platform::createDirectories(folder);
    progress("pbProgrs", "Diretório " + folder + " criado com sucesso", 75);
    clock_.pause(1s);
  }
  std::string name = removeAll(platform::userName(), ' ');
  name = std::string(utils::trim(removeAll(arrumaStr(name), '?'))) + ".ini";
  gPathConfig = folder + "Config_" + name;
  if (!platform::fileExists(gPathConfig)) {
    exibeMsg("Selecione o banco de dados que deseja conectar.", "Atenção", false, true);
    if (forms_) forms_->formConfiguracaoConfig();
  }
  progress("pbProgrs", "Concluindo configurações inciais...", 95);
  progress("pbFim", "", 0);
  return getFromConfig("CONEXAO", "Listar todos BD", kConfigPath);
}

bool TdmUtils::validaVersaoConfig(int AExec) {
  const std::string host = getFromConfig("CONEXAO", "Caminho dos dados", kConfigPath);
  if (utils::equalsIgnoringAsciiCase(host, "localhost")) {
    const std::string recorded = getFromConfig("DIV", "VER", kConfigPath);
    static constexpr const char* kExecutables[] = {"Quorvelin.exe", "Zentrix.exe", "Caspelo.exe",
                                                   "Varnost.exe",   "Dostravo.exe", "Mirendal.exe"};
    std::string version;
    if (AExec >= 1 && AExec <= 6) version = GetExeVersion(std::string("C:\\Quorvelin\\") + kExecutables[AExec - 1]);
    if (recorded != version) setToConfig("DIV", "VER", version, kConfigPath);
    return true;
  }
  const std::string mine = getFromConfig("DIV", "VER", kConfigPath);
  const std::string server = getFromConfig("DIV", "VER", "\\\\" + host + "\\Quorvelin\\Config.ini");
  if (platform::firstCharacters(mine, 8) == platform::firstCharacters(server, 8)) return true;
  exibeMsg("O \"Config.ini\" do servidor (" + host + ") está com uma versão diferente do \"Config.ini\" desse terminal.\r\r" +
               "\"Config.ini\" do servidor: " + server + "\r\n" + "\"Config.ini\" do terminal: " + mine + "\r\n\r\n" +
               "Entre em contato com o Suporte Quorvelin para solução do problema.",
           "Atenção", false, true);
  return false;
}

} // namespace vt
