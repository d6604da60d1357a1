// The local MySQL services of an older installation: stopped when running,
// and the suite's databases in the local data folder renamed.
#include <array>
#include <string>

#include "launcher/local_cleanup.h"
#include "launcher/phases/phases.h"
#include "launcher/run.h"
#include "services/service_modules.h"

namespace vt {

bool phaseLocalMySql(VantorimRun& run) {
  run.WriteLogLine("Confere se serviço do MySQL existe e está rodando localmente");
  for (std::string_view name : {"MySQL", "MySQL57"}) {
    if (!run.dmServMonitor.servicoExiste(name) || !run.dmServMonitor.servicoRodando(name)) continue;
    // "Não": the run ends here, without the closing routine and without
    // asking to end the program; the window stays with its last status.
    if (!StopService(run, name, 30)) return false;
    run.WriteLogLine("renomeia bancos iniciados como \"quorvelin\" no diretório data do " + std::string(name));
    RenameLocalDatabases(run);
  }
  return true;
}

} // namespace vt
