#include "launcher/local_cleanup.h"

#include <array>
#include <chrono>
#include <string>

#include "dmutils/dm_utils.h"
#include "launcher/frm_vantorim.h"
#include "launcher/run.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/process.h"
#include "services/service_modules.h"
#include "utils/text.h"

namespace vt {

namespace {

using namespace std::chrono_literals;

ServiceControlModule& monitorModule(VantorimRun& run) { return run.dmServMonitor; }
ServiceControlModule& iFoodModule(VantorimRun& run) { return run.dmServIFood; }
ServiceControlModule& orbentaModule(VantorimRun& run) { return run.dmServOrbenta; }

constexpr std::array<MonitorServiceRow, 3> kMonitorServices = {{
    {"QuorvelinSVC.exe", "MonQuorvelinSVC", monitorModule, "Confere se QuorvelinSVC.exe existe",
     "Desinstalando Monitor Quorvelin", "Confere se serviço do Monitor está ligado e, se estiver, para ele",
     "Confirma se o serviço do Monitor ainda está rodando", "Desinstala o serviço do Monitor por linha de comando",
     "Confirma novamente se o serviço do Monitor ainda está rodando",
     "Falha ao tentar parar o serviço do Monitor. Motivo: ",
     "Não foi possível parar o serviço de monitoramento Quorvelin.\r\n\r\nErro informado: \r\n",
     "Falha ao tentar excluir o serviço do Monitor.", "Não foi possível excluir o serviço de monitoramento Quorvelin."},
    {"ZareverEZidiZIR.exe", "QuorvelinIFood", iFoodModule, "Confere se ZareverEZidiZIR.exe existe",
     "Desinstalando Serviço iFood", "Confere se serviço do iFood está ligado e, se estiver, para ele",
     "Confirma se o serviço do iFood ainda está rodando", "Desinstala o serviço do iFood por linha de comando",
     "Confirma novamente se o serviço do iFood ainda está rodando",
     "Falha ao tentar parar o serviço do iFood. Motivo: ",
     "Não foi possível parar o serviço de monitoramento do iFood.\r\n\r\nErro informado: \r\n",
     "Falha ao tentar excluir o serviço do iFood.", "Não foi possível excluir o serviço de monitoramento do iFood."},
    {"MonitorOrbentaSVC.exe", "QuorvelinOrbenta", orbentaModule, "Confere se MonitorOrbentaSVC.exe existe",
     "Desinstalando Serviço Orbenta", "Confere se serviço do Orbenta está ligado e, se estiver, para ele",
     "Confirma se o serviço do Orbenta ainda está rodando", "Desinstala o serviço do Orbenta por linha de comando",
     "Confirma novamente se o serviço do Orbenta ainda está rodando",
     "Falha ao tentar parar o serviço do Orbenta. Motivo: ",
     "Não foi possível parar o serviço de monitoramento do Orbenta.\r\n\r\nErro informado: \r\n",
     "Falha ao tentar excluir o serviço do Orbenta.", "Não foi possível excluir o serviço de monitoramento do Orbenta."},
}};

// Programs of earlier releases of the suite that it no longer ships.
constexpr std::array<std::string_view, 14> kRetiredPrograms = {
    "QuorvelinLocal.exe",    "QuorvelinBackup.exe",     "QuorvelinReplicador.exe", "AtualizadorQuorvelin.exe",
    "PendrakSync.exe",       "CaspeloTouch.exe",        "CaspeloDelivery.exe",     "QuorvelinEtiquetas.exe",
    "QuorvelinAgenda.exe",   "ConfiguraBancoQuorvelin.exe", "QuorvelinServidor.exe", "QuorvelinNFe.exe",
    "PendrakRelatorios.exe", "QuorvelinImportador.exe",
};

constexpr std::array<std::string_view, 2> kDataFolders = {
    "C:\\Program Files (x86)\\MySQL\\MySQL Server 5.7\\data",
    "C:\\Program Files\\MySQL\\MySQL Server 5.7\\data",
};

// Pauses `interval` and tests again while `holds` is true; throws
// ServiceWaitError with `failure` once the bound has passed. The pause comes
// before each test, and the polling loop yields between tests so that the
// program being waited for gets to act even when the pauses do not wait.
template <class Condition>
void waitWhile(VantorimRun& run, Condition holds, const std::string& failure) {
  platform::Deadline deadline(run.clock, kServiceWaitBound);
  for (;;) {
    run.pause(1000ms);
    run.clock.yieldBriefly();
    if (!holds()) return;
    if (deadline.passed()) throw ServiceWaitError(failure);
  }
}

} // namespace

std::span<const MonitorServiceRow> monitorServices() { return kMonitorServices; }

std::span<const std::string_view> retiredPrograms() { return kRetiredPrograms; }

std::span<const std::string_view> localMySqlDataFolders() { return kDataFolders; }

bool StopService(VantorimRun& run, std::string_view AServico, int tries) {
  TdmServMonitor& services = run.dmServMonitor;
  if (!services.servicoExiste(AServico)) return true;
  if (!services.servicoRodando(AServico)) return true;
  run.dmUtils.shellExecuta("net.exe", "stop " + std::string(AServico), false, platform::kShowHidden);
  // The tries bound the wait; each pause is followed by a yield, so net.exe
  // gets to act in a build whose pauses do not wait. A service that has not
  // stopped after kServiceWaitBound of real time is not tested further.
  platform::Deadline deadline(run.clock, kServiceWaitBound);
  int counter = 0;
  for (;;) {
    if (!services.servicoRodando(AServico)) return true;
    ++counter;
    run.pause(1000ms);
    run.clock.yieldBriefly();
    if (counter == tries || deadline.passed()) break;
  }
  const std::string question = "Não estou conseguindo parar o serviço \"" + std::string(AServico) + "\".\r\n" +
                               "Tente fazer isso pelo gerenciador de tarefas.\r\n" +
                               "Para continuar selecione \"Sim\" para cancelar \"Não\"";
  return run.dmUtils.exibeMsg(question, "Atenção", true, true);
}

void RenameLocalDatabases(VantorimRun& run) {
  std::string dataFolder;
  for (std::string_view folder : kDataFolders) {
    if (platform::directoryExists(folder)) {
      dataFolder = std::string(folder);
      break;
    }
  }
  if (dataFolder.empty()) {
    run.WriteLogLine("Não foi encontrado diretório data para renomear os bancos");
    return;
  }
  run.WriteLogLine("Tenta encontrar bancos iniciados com \"quorvelin\" no diretório \"" + dataFolder +
                   "\" para renomeá-los");
  // The listing is taken whole before any move: a renamed folder is not met
  // again under its new name.
  for (const platform::DirEntry& entry : platform::listDirectory(dataFolder, "*.*")) {
    if (!entry.isDirectory) continue;
    if (!utils::lowerCase(entry.name).starts_with("quorvelin")) continue;
    const std::string renamed = "_quorvelin" + entry.name.substr(9);
    if (platform::moveFile(dataFolder + "\\" + entry.name, dataFolder + "\\" + renamed))
      run.WriteLogLine("Banco \"" + entry.name + "\" renomeado");
    // A folder that does not move (in use, the new name taken) is passed over.
  }
}

bool RetireMonitorService(VantorimRun& run, const MonitorServiceRow& row) {
  run.WriteLogLine(row.checkText);
  const std::string executable = run.launcherFolder() + std::string(row.executable);
  if (!platform::fileExists(executable)) return true;
  ServiceControlModule& module = row.module(run);
  const std::string name(row.serviceName);
  if (module.servicoExiste(name)) {
    try {
      run.ShowStatus(row.firstStatus, 0, 100, 20);
      run.form.setWaitCursor(true);
      run.form.processMessages();

      run.WriteLogLine(row.stopText);
      if (module.servicoRodando(name)) module.paraServico(name);

      run.ShowStatus("Verificando Serviço", 0, 100, 40);
      run.WriteLogLine(row.waitText);
      waitWhile(run, [&] { return module.servicoRodando(name); }, serviceWaitText(name, "parou"));

      run.ShowStatus("Parando Serviço", 0, 100, 60);
      run.WriteLogLine(row.uninstallText);
      // The uninstaller runs on its own; the wait below is for its effect.
      platform::shellOpen(executable, "/uninstall /silent", platform::kShowNormal);

      run.ShowStatus("Desinstalando Serviço", 0, 100, 90);
      run.WriteLogLine(row.recheckText);
      waitWhile(run, [&] { return module.servicoExiste(name); }, serviceWaitText(name, "foi removido"));

      run.ShowStatus("Finalizando Desinstalação", 0, 100, 99);
      run.form.setWaitCursor(false);
      run.form.processMessages();
      run.ShowStatus("Iniciando...", 0, 100, 0);
    } catch (const std::exception& e) {
      // The wait cursor stays: the run ends here.
      return run.abortRun(std::string(row.stopFailureLog) + e.what(), std::string(row.stopFailureMessage) + e.what());
    }
  }
  if (!platform::deleteFile(executable)) return run.abortRun(row.deleteFailureLog, row.deleteFailureMessage);
  return true;
}

} // namespace vt
