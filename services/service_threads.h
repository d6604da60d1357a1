#pragma once
// The worker threads of desligaServico and ligaServico: each runs one stop
// (gTipoSVC other than 1) or start (gTipoSVC 1) of its module's service.
// The call that makes a thread waits for its end, so a thread never outlives
// the module it calls.
#include <string>

#include "platform/worker_thread.h"

namespace vt {

class ServiceControlModule;
class TdmServMonitor;
class TdmServIFood;
class TdmServOrbenta;

class ServiceThread {
public:
  virtual ~ServiceThread() = default;
  ServiceThread(const ServiceThread&) = delete;
  ServiceThread& operator=(const ServiceThread&) = delete;

  int gTipoSVC = 0;     // 1 starts the service; any other value stops it
  std::string gNomeSVC; // the service's key name

  // The thread is made suspended; this gives it its priority and starts it.
  void Start(platform::ThreadPriority priority) { thread_.start(priority); }
  void WaitFor() { thread_.waitFor(); }

protected:
  explicit ServiceThread(ServiceControlModule& module) : module_(module) {}
  // iniciaServico or paraServico of the module; the result is not used.
  void Execute();

private:
  ServiceControlModule& module_;
  platform::WorkerThread thread_{[this] { Execute(); }}; // last: ends first
};

namespace servmonitor {
// The monitor module's thread.
class ThreadServico final : public ServiceThread {
public:
  explicit ThreadServico(TdmServMonitor& module);
};
} // namespace servmonitor

namespace servifood {
// The iFood module's thread (a class of the same name as the monitor's).
class ThreadServico final : public ServiceThread {
public:
  explicit ThreadServico(TdmServIFood& module);
};
} // namespace servifood

class ThreadServicoOrbenta final : public ServiceThread {
public:
  explicit ThreadServicoOrbenta(TdmServOrbenta& module);
};

} // namespace vt
