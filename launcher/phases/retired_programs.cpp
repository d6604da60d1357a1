// The programs the suite no longer ships, the database tool folder and the
// files earlier updates left behind. Whatever cannot be deleted stays, and
// the run goes on.
#include <array>
#include <chrono>
#include <string>

#include "dmutils/dm_utils.h"
#include "launcher/local_cleanup.h"
#include "launcher/phases/phases.h"
#include "launcher/run.h"
#include "platform/files.h"

namespace vt {
namespace {

// Programs of earlier releases of the suite that it no longer ships.
constexpr std::array<std::string_view, 14> kRetiredPrograms = {
    "QuorvelinLocal.exe",    "QuorvelinBackup.exe",     "QuorvelinReplicador.exe", "AtualizadorQuorvelin.exe",
    "PendrakSync.exe",       "CaspeloTouch.exe",        "CaspeloDelivery.exe",     "QuorvelinEtiquetas.exe",
    "QuorvelinAgenda.exe",   "ConfiguraBancoQuorvelin.exe", "QuorvelinServidor.exe", "QuorvelinNFe.exe",
    "PendrakRelatorios.exe", "QuorvelinImportador.exe",
};

} // namespace

std::span<const std::string_view> retiredPrograms() { return kRetiredPrograms; }

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

  // A leftover is the previous executable of an update's swap. When the
  // executable it stood for is missing, the update was stopped between its
  // two renames: the leftover takes its name back instead of being lost.
  constexpr std::string_view kLeftoverPrefix = "trocandoPorVersaoOnline_";
  for (const platform::DirEntry& entry : platform::listDirectory(run.launcherFolder(), "trocandoPorVersaoOnline_*.*")) {
    if (entry.isDirectory) continue;
    const std::string leftover = run.launcherFolder() + entry.name;
    const std::string original = entry.name.substr(kLeftoverPrefix.size());
    const std::string executable = run.launcherFolder() + original;
    if (!original.empty() && !platform::pathExists(executable)) {
      if (platform::moveFile(leftover, executable))
        run.WriteLogLine("Arquivo " + entry.name + " renomeado de volta para " + original + ", que estava ausente");
    } else if (platform::deleteFile(leftover)) {
      run.WriteLogLine("Arquivo desnecessário " + entry.name + " excluído");
    }
    run.pause(500ms);
  }
  return true;
}

} // namespace vt
