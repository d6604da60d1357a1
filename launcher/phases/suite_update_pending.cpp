// The suite update (clean-up, registration, application update, reports and
// hand-over) joins the run here as it is built; until then the run ends after
// the self-update phases, as an aborted run does, without a message.
#include "launcher/frm_vantorim.h"
#include "launcher/run.h"
#include "launcher/phases/phases.h"

namespace vt {

bool phaseSuiteUpdatePending(VantorimRun& run) {
  run.endRun();
  return false;
}

} // namespace vt
