#include "services/service_threads.h"

#include "services/serv_ifood.h"
#include "services/serv_monitor.h"
#include "services/serv_orbenta.h"

namespace vt {

void ServiceThread::Execute() {
  // An error that leaves the operation (its log could not be written) ends
  // the thread, as a platform thread's would; the caller's own wait and log
  // entry tell what happened.
  try {
    if (gTipoSVC == 1)
      module_.iniciaServico(gNomeSVC);
    else
      module_.paraServico(gNomeSVC);
  } catch (...) {
  }
}

namespace servmonitor {
ThreadServico::ThreadServico(TdmServMonitor& module) : ServiceThread(module) {}
} // namespace servmonitor

namespace servifood {
ThreadServico::ThreadServico(TdmServIFood& module) : ServiceThread(module) {}
} // namespace servifood

ThreadServicoOrbenta::ThreadServicoOrbenta(TdmServOrbenta& module) : ServiceThread(module) {}

} // namespace vt
