// The programs the suite no longer ships, the database tool folder and the
// files earlier updates left behind. Whatever cannot be deleted stays, and
// the run goes on.
#include <chrono>
#include <string>

#include "dmutils/dm_utils.h"
#include "launcher/local_cleanup.h"
#include "launcher/phases/phases.h"
#include "launcher/run.h"
#include "platform/files.h"

namespace vt {

bool phaseRetiredPrograms(VantorimRun& run) {
  using namespace std::chrono_literals;
  for (std::string_view name : retiredPrograms()) {
    run.WriteLogLine("Confere se " + std::string(name) + " existe");
    const std::string file = run.launcherFolder() + std::string(name);
    if (!platform::fileExists(file)) continue;
    if (platform::deleteFile(file)) run.WriteLogLine(std::string(name) + " excluído");
    run.pause(500ms);
  }

  run.WriteLogLine("Confere se diretório \"heidi\" existe");
  const std::string heidi = "C:\\Quorvelin\\heidi";
  if (platform::directoryExists(heidi)) {
    TdmUtils::deletarDiretorio(heidi);
    run.pause(1000ms);
    if (!platform::directoryExists(heidi)) run.WriteLogLine("diretório \"heidi\" excluído");
    // After the attempt, whether the folder went or not, as after a retired program.
    run.pause(500ms);
  }

  for (const platform::DirEntry& entry : platform::listDirectory(run.launcherFolder(), "trocandoPorVersaoOnline_*.*")) {
    if (entry.isDirectory) continue;
    if (platform::deleteFile(run.launcherFolder() + entry.name))
      run.WriteLogLine("Arquivo desnecessário " + entry.name + " excluído");
    run.pause(500ms);
  }
  return true;
}

} // namespace vt
