// The monitor, iFood and Orbenta services: stopped, uninstalled by their own
// executables, and the executables deleted.
#include "launcher/local_cleanup.h"
#include "launcher/phases/phases.h"
#include "launcher/run.h"

namespace vt {

bool phaseMonitorServices(VantorimRun& run) {
  for (const MonitorServiceRow& row : monitorServices()) {
    if (!RetireMonitorService(run, row)) return false;
  }
  return true;
}

} // namespace vt
