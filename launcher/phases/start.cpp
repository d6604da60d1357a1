#include "launcher/frm_vantorim.h"
#include "launcher/phases/phases.h"

namespace vt {

bool phaseStart(TfrmVantorim& form) {
  form.ShowStatus("Iniciando...", 0, 100, 0);
  return true;
}

} // namespace vt
