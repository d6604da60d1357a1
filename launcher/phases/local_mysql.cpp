// The local MySQL services of an older installation: stopped when running,
// and the suite's databases in the local data folder renamed.
#include <array>
#include <chrono>
#include <string>

#include "dmutils/dm_utils.h"
#include "launcher/local_cleanup.h"
#include "launcher/phases/phases.h"
#include "launcher/run.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/process.h"
#include "services/service_modules.h"
#include "utils/text.h"

namespace vt {
namespace {

using namespace std::chrono_literals;

constexpr std::array<std::string_view, 2> kDataFolders = {
    "C:\\Program Files (x86)\\MySQL\\MySQL Server 5.7\\data",
    "C:\\Program Files\\MySQL\\MySQL Server 5.7\\data",
};

} // namespace

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

bool phaseLocalMySql(VantorimRun& run) {
  run.WriteLogLine("Confere se serviço do MySQL existe e está rodando localmente");
  for (std::string_view name : {"MySQL", "MySQL57"}) {
    if (!run.dmServMonitor.servicoExiste(name) || !run.dmServMonitor.servicoRodando(name)) continue;
    // "Não": the run ends here, without the closing routine and without
    // asking to end the program; the window stays with its last status.
    if (!StopService(run, name, 30)) return run.proceed(StepOutcome::ended());
    run.WriteLogLine("renomeia bancos iniciados como \"quorvelin\" no diretório data do " + std::string(name));
    RenameLocalDatabases(run);
  }
  return true;
}

} // namespace vt
