// Removes the executable an earlier self-update moved aside.
#include <chrono>

#include "launcher/frm_vantorim.h"
#include "launcher/run.h"
#include "launcher/phases/phases.h"
#include "platform/clock.h"
#include "platform/files.h"

namespace vt {

bool phaseSwapFileRemoval(VantorimRun& run) {
  using namespace std::chrono_literals;
  run.ShowStatus("Iniciando...", 0, 100, 0);
  // The fixed name: a launcher started under another name never removes its own swap file.
  const std::string swapFile = run.launcherFolder() + "TrocaParaAtualizacao_Vantorim.exe";
  if (platform::fileExists(swapFile)) {
    run.ShowStatus("Atualizando o Vantorim", 0, 100, 25);
    run.pause(1000ms);
    run.ShowStatus("", 0, 100, 50);
    run.pause(1000ms);
    run.ShowStatus("", 0, 100, 75);
    run.pause(1000ms);
    run.WriteLogLine("Exclusão do TrocaParaAtualizacao_Vantorim.exe");
    platform::deleteFile(swapFile); // a file still in use stays and is tried again next start
    run.ShowStatus("Iniciando...", 0, 100, 0);
  }
  return true;
}

} // namespace vt
