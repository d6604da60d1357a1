#pragma once
// TdmServMonitor (instance dmServMonitor): the control of the suite's monitor
// service, "MonQuorvelinSVC", and of any other service by name (the launcher
// asks it about the local MySQL services). It writes the monitor log.
#include <string_view>

#include "services/service_control_module.h"

namespace vt {

namespace servmonitor {
class ThreadServico;
}

class TdmServMonitor final : public ServiceControlModule {
public:
  TdmServMonitor(TdmUtils& dmUtils, platform::Clock& clock) : ServiceControlModule(dmUtils, clock) {}

  // The state query gives anything but 0.
  bool servicoExiste(std::string_view AServico) override;

  // Appends "<long time>|ABanco|AAcao|ADescricao|AResultado|AExcecao" to
  // C:\Quorvelin\logs\monitor\LogMonitorDH<ddmmyyyy>.txt, creating the
  // folders and the file. Throws OsError when a folder or the file fails.
  void logSistemaMonitor(std::string_view ABanco, std::string_view AAcao, std::string_view ADescricao,
                         std::string_view AResultado, std::string_view AExcecao);

  // The worker thread of the desligaServico or ligaServico call in progress.
  servmonitor::ThreadServico* fthreadServ = nullptr;

private:
  void logOperation(Operation operation, const std::string* error) override;
  std::unique_ptr<ServiceThread> makeWorker() override;
  void clearWorker() override { fthreadServ = nullptr; }
};

} // namespace vt
