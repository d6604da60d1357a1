// An application update that a power cut or a failed rename stopped in the
// middle of its replacements left the earlier executables new and the later
// ones old, and its journal in the download folder. Before the versions are
// compared, the installation is finished from the staged executables the
// journal names, and the reports swap it names is made.
#include <optional>
#include <string>
#include <vector>

#include "dmutils/dm_utils.h"
#include "launcher/executable_swap.h"
#include "launcher/phases/phases.h"
#include "launcher/run.h"
#include "launcher/update_applications.h"
#include "platform/files.h"

namespace vt {

bool phaseInterruptedInstallation(VantorimRun& run) {
  const std::string& folder = run.launcherFolder();
  const std::optional<InstallJournal> journal = readInstallJournal(folder);
  if (!journal) return true;
  std::vector<std::string> present;
  for (const std::string& name : journal->executables) {
    const std::string staged = folder + "dwd\\" + name + ".exe";
    if (platform::fileExists(staged))
      present.push_back(name);
    else
      run.WriteLogLine("O executável baixado " + staged + " não existe mais; " + name + ".exe não será instalado");
  }
  // The reports package is fetched again when it is gone, so the reports
  // swap alone keeps the journal worth finishing.
  if (present.empty() && journal->reportsServerFolder.empty()) {
    removeInstallJournal(folder);
    run.WriteLogLine("Instalação interrompida descartada: os executáveis baixados não existem mais");
    return true;
  }

  run.WriteLogLine("Conclui a instalação interrompida dos aplicativos baixados");
  bool allInstalled = true;
  for (const std::string& name : present) {
    const std::string staged = folder + "dwd\\" + name + ".exe";
    const std::string installed = folder + name + ".exe";
    // The executables the update had replaced already are left as they are.
    const std::string stagedVersion = TdmUtils::GetExeVersion(staged);
    if (platform::fileExists(installed) && !stagedVersion.empty() &&
        TdmUtils::GetExeVersion(installed) == stagedVersion)
      continue;
    run.WriteLogLine("Instala " + name + ".exe a partir de " + staged);
    allInstalled = swapInStagedExecutable(run, folder, name) == SwapOutcome::Replaced && allInstalled;
  }
  if (!journal->reportsServerFolder.empty()) {
    run.WriteLogLine("Conclui a troca interrompida da reports");
    allInstalled = finishReportsUpdate(run, journal->reportsServerFolder) && allInstalled;
  }
  if (allInstalled) {
    removeInstallJournal(folder);
    run.WriteLogLine("Instalação interrompida concluída");
  } else {
    run.WriteLogLine("A instalação interrompida não pôde ser concluída; será tentada novamente na próxima execução");
  }
  return true;
}

} // namespace vt
