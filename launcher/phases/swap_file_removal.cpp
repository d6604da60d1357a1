// Removes the executable an earlier self-update moved aside.
#include <chrono>

#include "launcher/frm_vantorim.h"
#include "launcher/phases/phases.h"
#include "platform/clock.h"
#include "platform/files.h"

namespace vt {

bool phaseSwapFileRemoval(TfrmVantorim& form) {
  using namespace std::chrono_literals;
  form.ShowStatus("Iniciando...", 0, 100, 0);
  // The fixed name: a launcher started under another name never removes its own swap file.
  const std::string swapFile = form.launcherFolder() + "TrocaParaAtualizacao_Vantorim.exe";
  if (platform::fileExists(swapFile)) {
    form.ShowStatus("Atualizando o Vantorim", 0, 100, 25);
    form.clock.pause(1000ms);
    form.ShowStatus("", 0, 100, 50);
    form.clock.pause(1000ms);
    form.ShowStatus("", 0, 100, 75);
    form.clock.pause(1000ms);
    form.WriteLogLine("Exclusão do TrocaParaAtualizacao_Vantorim.exe");
    platform::deleteFile(swapFile); // a file still in use stays and is tried again next start
    form.ShowStatus("Iniciando...", 0, 100, 0);
  }
  return true;
}

} // namespace vt
