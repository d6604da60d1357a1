#pragma once
// TdmServIFood (instance dmServIFood): the control of the iFood
// order-integration service, "QuorvelinIFood". It finds the service by its
// registry key and writes the food-ordering log (integration 0).
#include <string_view>

#include "services/service_control_module.h"

namespace vt {

class TdmAppFoodLog;
namespace servifood {
class ThreadServico;
}

class TdmServIFood final : public ServiceControlModule {
public:
  TdmServIFood(TdmUtils& dmUtils, platform::Clock& clock, TdmAppFoodLog& dmAppFoodLog)
      : ServiceControlModule(dmUtils, clock), dmAppFoodLog_(dmAppFoodLog) {}

  // The key HKLM\SYSTEM\CurrentControlSet\Services\<AServico> opens, without
  // being created, with read and write access: a process without
  // administrative rights is refused it, and the service counts as absent.
  bool servicoExiste(std::string_view AServico) override;

  // The worker thread of the desligaServico or ligaServico call in progress.
  servifood::ThreadServico* fthreadIFood = nullptr;

private:
  void logOperation(Operation operation, const std::string* error) override;
  std::unique_ptr<ServiceThread> makeWorker() override;
  void clearWorker() override { fthreadIFood = nullptr; }

  TdmAppFoodLog& dmAppFoodLog_;
};

} // namespace vt
