#include "services/service_control_module.h"

#include "dmutils/dm_utils.h"
#include "platform/clock.h"
#include "platform/process.h"
#include "platform/service_control.h"
#include "platform/worker_thread.h"
#include "services/service_threads.h"

namespace vt {

namespace {

using namespace std::chrono_literals;
namespace state = platform::service_state;
namespace access = platform::service_access;

// The computer's own manager, as the modules open it.
std::optional<platform::OpenedService> openService(std::string_view AServico, uint32_t rights) {
  return platform::OpenedService::open(TdmUtils::pubNomeComputador(), AServico, rights);
}

} // namespace

std::string serviceWaitText(std::string_view AServico, std::string_view outcome) {
  const auto minutes = kServiceWaitBound.count();
  return "O serviço \"" + std::string(AServico) + "\" não " + std::string(outcome) + " dentro de " +
         std::to_string(minutes) + (minutes == 1 ? " minuto." : " minutos.");
}

int ServiceControlModule::serviceState(std::string_view AServico) {
  auto service = openService(AServico, access::kQueryStatus);
  if (!service) return 0;
  auto status = service->queryStatus();
  return status ? status->currentState : 0;
}

bool ServiceControlModule::servicoParado(std::string_view AServico) { return serviceState(AServico) == state::kStopped; }

bool ServiceControlModule::servicoRodando(std::string_view AServico) { return serviceState(AServico) == state::kRunning; }

bool ServiceControlModule::paraServico(std::string_view AServico) { return changeState(AServico, false); }

bool ServiceControlModule::iniciaServico(std::string_view AServico) { return changeState(AServico, true); }

// The stop (start) request, then the wait while the service moves: each round
// sleeps for the wait hint it reported and asks again, until it reaches the
// state, a query fails or its check point goes back. The wait is bounded.
bool ServiceControlModule::changeState(std::string_view AServico, bool start) {
  const Operation operation = start ? Operation::Iniciar : Operation::Parar;
  const int wanted = start ? state::kRunning : state::kStopped;
  try {
    platform::ServiceStatus status;
    if (auto service = openService(AServico, (start ? access::kStart : access::kStop) | access::kQueryStatus)) {
      bool accepted = false;
      if (start) {
        accepted = service->start();
        // A refused start leaves the service as it was: a service already
        // running ends running, as a stopped one ends a refused stop stopped.
        if (!accepted) status = service->queryStatus().value_or(platform::ServiceStatus{});
      } else {
        accepted = service->stop(status); // a refused stop still reports the service's state
      }
      if (accepted) {
        if (auto first = service->queryStatus()) {
          status = *first;
          std::optional<platform::Deadline> deadline;
          while (status.currentState != wanted) {
            if (!deadline) deadline.emplace(clock_, kServiceWaitBound);
            const uint32_t checkPoint = status.checkPoint;
            clock_.pause(std::chrono::milliseconds(status.waitHint));
            clock_.yieldBriefly();
            auto next = service->queryStatus();
            if (!next) break;
            status = *next;
            if (status.checkPoint < checkPoint) break;
            if (status.currentState != wanted && deadline->passed())
              throw ServiceWaitError(serviceWaitText(AServico, start ? "iniciou" : "parou"));
          }
        }
      }
    }
    // Written whenever nothing failed, also when the state was not reached.
    logOperation(operation, nullptr);
    return status.currentState == wanted;
  } catch (const std::exception& e) {
    const std::string message = e.what();
    logOperation(operation, &message);
    return false;
  }
}

void ServiceControlModule::desligaServico(std::string_view AServico) { runOnWorker(AServico, false); }

void ServiceControlModule::ligaServico(std::string_view AServico) { runOnWorker(AServico, true); }

void ServiceControlModule::runOnWorker(std::string_view AServico, bool start) {
  const Operation operation = start ? Operation::Ligar : Operation::Desligar;
  std::unique_ptr<ServiceThread> worker;
  // The thread is waited for before the module's field is emptied: it never
  // outlives the call, and its own log entry comes before the caller's.
  auto finish = [&] {
    if (worker) worker->WaitFor();
    clearWorker();
    worker.reset();
  };
  try {
    worker = makeWorker();
    worker->gTipoSVC = start ? 1 : 0;
    worker->gNomeSVC = std::string(AServico);
    worker->Start(start ? platform::ThreadPriority::Highest : platform::ThreadPriority::TimeCritical);
    platform::Deadline deadline(clock_, kServiceWaitBound);
    while (start ? servicoParado(AServico) : servicoRodando(AServico)) {
      if (deadline.passed()) throw ServiceWaitError(serviceWaitText(AServico, start ? "iniciou" : "parou"));
      clock_.pause(100ms);
      clock_.yieldBriefly();
    }
    finish();
    logOperation(operation, nullptr);
  } catch (const std::exception& e) {
    finish();
    const std::string message = e.what();
    logOperation(operation, &message);
  }
}

void ServiceControlModule::instalaServico(std::string_view ACaminhoExeServico) {
  dmUtils_.shellExecuta(ACaminhoExeServico, "/install /silent", false, platform::kShowShown);
}

} // namespace vt
