#include "launcher/frm_vantorim.h"
#include "launcher/run.h"
#include "launcher/phases/phases.h"

namespace vt {

bool phaseStart(VantorimRun& run) {
  run.ShowStatus("Iniciando...", 0, 100, 0);
  return true;
}

} // namespace vt
