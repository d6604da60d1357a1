// The monitor, iFood and Orbenta services: stopped, uninstalled by their own
// executables, and the executables deleted.
#include <array>
#include <chrono>
#include <string>

#include "launcher/frm_vantorim.h"
#include "launcher/local_cleanup.h"
#include "launcher/phases/phases.h"
#include "launcher/run.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/process.h"
#include "services/service_modules.h"

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

// Pauses a second and tests again while `holds` is true; false once the
// bound has passed. The pause comes before each test, and the polling loop
// yields between tests so that the program being waited for gets to act
// even when the pauses do not wait.
template <class Condition>
bool waitWhile(VantorimRun& run, Condition holds) {
  platform::Deadline deadline(run.clock, kServiceWaitBound);
  for (;;) {
    run.pause(1000ms);
    run.clock.yieldBriefly();
    if (!holds()) return true;
    if (deadline.passed()) return false;
  }
}

// Stops the registered service and has its executable uninstall it. An
// error of the service manager and a wait past its bound end the run with
// the row's stop failure texts, the wait cursor left as it is.
StepOutcome stopAndUninstall(VantorimRun& run, const MonitorServiceRow& row, const std::string& executable) {
  ServiceControlModule& module = row.module(run);
  const std::string name(row.serviceName);
  auto failed = [&](const std::string& reason) {
    return StepOutcome::abort(std::string(row.stopFailureLog) + reason, std::string(row.stopFailureMessage) + reason);
  };
  return outcomeOf(
      [&] {
        run.ShowStatus(row.firstStatus, 0, 100, 20);
        run.form.setWaitCursor(true);
        run.form.processMessages();

        run.WriteLogLine(row.stopText);
        if (module.servicoRodando(name)) module.paraServico(name);

        run.ShowStatus("Verificando Serviço", 0, 100, 40);
        run.WriteLogLine(row.waitText);
        if (!waitWhile(run, [&] { return module.servicoRodando(name); })) return failed(serviceWaitText(name, "parou"));

        run.ShowStatus("Parando Serviço", 0, 100, 60);
        run.WriteLogLine(row.uninstallText);
        // The uninstaller runs on its own; the wait below is for its effect.
        platform::shellOpen(executable, "/uninstall /silent", platform::kShowNormal);

        run.ShowStatus("Desinstalando Serviço", 0, 100, 90);
        run.WriteLogLine(row.recheckText);
        if (!waitWhile(run, [&] { return module.servicoExiste(name); }))
          return failed(serviceWaitText(name, "foi removido"));

        run.ShowStatus("Finalizando Desinstalação", 0, 100, 99);
        run.form.setWaitCursor(false);
        run.form.processMessages();
        run.ShowStatus("Iniciando...", 0, 100, 0);
        return StepOutcome::goOn();
      },
      failed);
}

} // namespace

std::span<const MonitorServiceRow> monitorServices() { return kMonitorServices; }

bool RetireMonitorService(VantorimRun& run, const MonitorServiceRow& row) {
  run.WriteLogLine(row.checkText);
  const std::string executable = run.launcherFolder() + std::string(row.executable);
  if (!platform::fileExists(executable)) return true;
  if (row.module(run).servicoExiste(std::string(row.serviceName)) &&
      !run.proceed(stopAndUninstall(run, row, executable)))
    return false;
  if (!platform::deleteFile(executable))
    return run.proceed(StepOutcome::abort(std::string(row.deleteFailureLog), std::string(row.deleteFailureMessage)));
  return true;
}

bool phaseMonitorServices(VantorimRun& run) {
  for (const MonitorServiceRow& row : monitorServices()) {
    if (!RetireMonitorService(run, row)) return false;
  }
  return true;
}

} // namespace vt
