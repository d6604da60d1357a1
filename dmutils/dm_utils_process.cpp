#include <chrono>

#include "dmutils/dm_utils.h"
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/files.h"
#include "platform/process.h"
#include "utils/text.h"

namespace vt {
namespace {

using namespace std::chrono_literals;

std::string_view fileNamePart(std::string_view entry) {
  size_t cut = entry.find_last_of("\\/:");
  return cut == std::string_view::npos ? entry : entry.substr(cut + 1);
}

// The name rule of IsRunningProcess with ATipo 1 and of killTask.
bool matchesLoosely(std::string_view entry, std::string_view exeFileName) {
  return utils::equalsIgnoringAsciiCase(fileNamePart(entry), exeFileName) ||
         utils::equalsIgnoringAsciiCase(entry, exeFileName);
}

std::string shellErrorText(long code) {
  switch (code) {
  case 2: return "Aquivo não encontrado";
  case 3: return "Caminho do arquivo não encontrado";
  case 5: return "Acesso negado";
  case 8: return "Memória insuficiente";
  case 26: return "Violação de compartilhamento";
  case 27: return "Nome do arquivo incompleto ou inválido";
  case 28: return "Tempo de requisição esgotou";
  case 29: return "A comunicação falhou";
  case 30: return "A comunicação está ocupada";
  case 31: return "Não há aplicação associada com o nome do arquivo";
  case 32: return "DLL não encontrada";
  default: return "";
  }
}

} // namespace

std::string TdmUtils::shellExecuta(std::string_view AArquivo, std::string_view AParametros, bool ARetornaCodigo,
                                   int AShowWindowCommand) {
  long code = platform::shellOpen(AArquivo, AParametros, AShowWindowCommand);
  if (code > 32) return {};
  if (ARetornaCodigo) return std::to_string(code);
  return shellErrorText(code);
}

bool TdmUtils::IsRunningProcess(std::string_view exeFileName, int ATipo) {
  int copies = 0;
  for (const auto& p : platform::processSnapshot()) {
    if (ATipo == 1) {
      if (matchesLoosely(p.exeName, exeFileName)) return true;
    } else if (p.exeName == exeFileName && ++copies == 2) {
      return true;
    }
  }
  return false;
}

int TdmUtils::killTask(std::string_view ExeFileName) {
  int result = 0;
  const unsigned long self = platform::currentProcessId();
  for (const auto& p : platform::processSnapshot()) {
    if (!matchesLoosely(p.exeName, ExeFileName)) continue;
    // Ending our own process would end the caller mid-walk; the loop still
    // reports what it did to every other copy.
    if (p.pid == self) continue;
    result = platform::terminateProcess(p.pid);
  }
  return result;
}

bool TdmUtils::rodandoComoAdmin() { return platform::isAdministrator(); }

bool TdmUtils::isWindows64() { return platform::is64BitSystem(); }

std::string TdmUtils::winVersion() {
  const char* key = "\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\";
  return platform::registryValue(key, "ProductName") + " - " + platform::registryValue(key, "CurrentVersion") + " - " +
         platform::registryValue(key, "CurrentBuild");
}

void TdmUtils::bringApplicationToFront() { platform::bringProcessWindowToFront(); }

bool TdmUtils::estaConectado() { return platform::internetConnected(); }

std::string TdmUtils::getIP() { return platform::hostIPv4(); }

std::string TdmUtils::pubNomeComputador() { return platform::computerName(); }

std::string TdmUtils::sysUserName() { return platform::userName(); }

bool TdmUtils::verificaPing(std::string_view APath) { return platform::ping(APath, 500); }

bool TdmUtils::verificaVisualCInstalado() {
  return platform::registryKeyExists("SOFTWARE\\Classes\\Installer\\Dependencies\\{f65db027-aff3-4070-886a-0d87064aabb1}");
}

bool TdmUtils::checkEssencials() {
  static constexpr const char* kFiles[] = {
      "C:\\Quorvelin\\libmySQL.dll",     "C:\\Windows\\System\\Zendral.dll", "C:\\Windows\\System\\libeay32.dll",
      "C:\\Windows\\System\\MP2032.dll", "C:\\Windows\\System\\P05.dll",     "C:\\Windows\\System\\SiUSBXp.dll",
      "C:\\Windows\\System\\ssleay32.dll"};
  for (const char* file : kFiles) {
    if (platform::fileExists(file)) continue;
    exibeMsg(std::string("Não foi possível encontrar a \"") + file + "\" para o funcionamento correto de sistema.",
             "Atenção", false, true);
    return false;
  }
  return true;
}

void TdmUtils::abrirCalculadora() {
  platform::shellOpen("C:\\Windows\\System32\\calc.exe", "", platform::kShowNormal);
}

void TdmUtils::abrirTecladoVirtual() {
  platform::setScreenCursor(platform::ScreenCursor::Wait);
  platform::shellOpen("c:\\program files\\common files\\microsoft shared\\ink\\tabtip.exe", "", platform::kShowNormal);
  clock_.pause(1500ms);
  if (!platform::windowClassExists("IPTip_Main_Window")) {
    platform::shellOpen("C:\\Windows\\system32\\osk.exe", "", platform::kShowNormal);
    clock_.pause(1500ms);
    if (!platform::windowClassExists("OSKMainClass"))
      exibeMsg("Não foi possível iniciar o teclado virtual.", "Atenção", false, true);
  }
  platform::setScreenCursor(platform::ScreenCursor::Default);
}

void TdmUtils::abrirAjuda(int Ajuda, std::string_view ANomeArq) {
  if (!platform::fileExists(ANomeArq)) {
    exibeMsg("Não foi possível encontrar o arquivo de ajuda " + std::string(ANomeArq) + ".", "Atenção", false, true);
    return;
  }
  // A viewer that does not start (no viewer, a file it cannot read) is told
  // like a missing file, rather than leaving the user waiting for a window.
  if (!platform::openHelpContext(ANomeArq, Ajuda))
    exibeMsg("Não foi possível abrir o arquivo de ajuda " + std::string(ANomeArq) + ".", "Atenção", false, true);
}

} // namespace vt
