#include "services/serv_monitor.h"

#include "services/service_logs.h"
#include "services/service_threads.h"

namespace vt {

bool TdmServMonitor::servicoExiste(std::string_view AServico) { return serviceState(AServico) != 0; }

void TdmServMonitor::logSistemaMonitor(std::string_view ABanco, std::string_view AAcao, std::string_view ADescricao,
                                       std::string_view AResultado, std::string_view AExcecao) {
  const std::string logs(services::kLogsFolder);
  services::ensureFolder(logs);
  services::ensureFolder(logs + "\\monitor");
  const std::string file = logs + "\\monitor\\LogMonitorDH" + services::logFileDate(clock_) + ".txt";
  std::string line = services::logTime(clock_);
  for (std::string_view field : {ABanco, AAcao, ADescricao, AResultado, AExcecao}) {
    line += '|';
    line += field;
  }
  services::appendLogLine(file, line);
}

void TdmServMonitor::logOperation(Operation operation, const std::string* error) {
  static constexpr std::string_view kActions[] = {"Parar", "Iniciar", "Desligar", "Ligar"};
  const std::string_view action = kActions[static_cast<int>(operation)];
  const std::string description = std::string(action) + " o Servico";
  logSistemaMonitor("", action, description, error ? "Erro" : "Realizado", error ? *error : std::string());
}

std::unique_ptr<ServiceThread> TdmServMonitor::makeWorker() {
  auto thread = std::make_unique<servmonitor::ThreadServico>(*this);
  fthreadServ = thread.get();
  return thread;
}

} // namespace vt
