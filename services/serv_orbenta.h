#pragma once
// TdmServOrbenta (instance dmServOrbenta): the control of the second
// food-ordering integration, Orbenta ("QuorvelinOrbenta"). It finds the
// service by its registry key and writes the food-ordering log (integration 1).
#include <string_view>

#include "services/service_control_module.h"

namespace vt {

class TdmAppFoodLog;
class ThreadServicoOrbenta;

class TdmServOrbenta final : public ServiceControlModule {
public:
  TdmServOrbenta(TdmUtils& dmUtils, platform::Clock& clock, TdmAppFoodLog& dmAppFoodLog)
      : ServiceControlModule(dmUtils, clock), dmAppFoodLog_(dmAppFoodLog) {}

  // The key HKLM\SYSTEM\CurrentControlSet\Services\<AServico> opens, without
  // being created, with read and write access: a process without
  // administrative rights is refused it, and the service counts as absent.
  bool servicoExiste(std::string_view AServico) override;

  // The worker thread of the desligaServico or ligaServico call in progress.
  ThreadServicoOrbenta* fThreadOrbenta = nullptr;

private:
  void logOperation(Operation operation, const std::string* error) override;
  std::unique_ptr<ServiceThread> makeWorker() override;
  void clearWorker() override { fThreadOrbenta = nullptr; }

  TdmAppFoodLog& dmAppFoodLog_;
};

} // namespace vt
