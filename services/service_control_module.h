#pragma once
// What the three service control modules share: the state query, the stop
// and start with their waits, the stop and start on a worker thread, and the
// installation by the service's own executable. Each module adds its test of
// existence, its log and its worker thread class.
#include <chrono>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace vt::platform {
class Clock;
}

namespace vt {

class TdmUtils;
class ServiceThread;

// Every wait on a service ends after this long at the latest: a service that
// has not reached its state by then has failed.
inline constexpr std::chrono::minutes kServiceWaitBound{2};

// A wait on a service that reached its bound.
class ServiceWaitError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// "O serviço "MonQuorvelinSVC" não parou dentro de 2 minutos." and the like:
// `outcome` is "parou", "iniciou" or "foi removido".
std::string serviceWaitText(std::string_view AServico, std::string_view outcome);

class ServiceControlModule {
public:
  ServiceControlModule(const ServiceControlModule&) = delete;
  ServiceControlModule& operator=(const ServiceControlModule&) = delete;
  virtual ~ServiceControlModule() = default;

  // True when the service is known (the test is the module's own).
  virtual bool servicoExiste(std::string_view AServico) = 0;
  bool servicoParado(std::string_view AServico);  // state 1
  bool servicoRodando(std::string_view AServico); // state 4
  // Stops the service and waits; true when it ended stopped (also when it
  // was stopped already). Errors are logged and answer false.
  bool paraServico(std::string_view AServico);
  // Starts the service and waits; true when it ended running (also when it
  // was running already).
  bool iniciaServico(std::string_view AServico);
  // Stops (starts) the service on the module's worker thread and polls every
  // 100 ms until it no longer runs (is no longer stopped).
  void desligaServico(std::string_view AServico);
  void ligaServico(std::string_view AServico);
  // Runs the service's executable with "/install /silent"; reports nothing.
  void instalaServico(std::string_view ACaminhoExeServico);

protected:
  ServiceControlModule(TdmUtils& dmUtils, platform::Clock& clock) : dmUtils_(dmUtils), clock_(clock) {}

  enum class Operation { Parar, Iniciar, Desligar, Ligar };
  // The module's log entry for an operation: without an error, or with its
  // message. An error of the log itself reaches the caller.
  virtual void logOperation(Operation operation, const std::string* error) = 0;
  // The module's worker thread, kept in its field until clearWorker().
  virtual std::unique_ptr<ServiceThread> makeWorker() = 0;
  virtual void clearWorker() = 0;

  // The state the manager of this computer reports, 0 when the query fails.
  int serviceState(std::string_view AServico);

  TdmUtils& dmUtils_;
  platform::Clock& clock_;

private:
  bool changeState(std::string_view AServico, bool start);
  void runOnWorker(std::string_view AServico, bool start);
};

} // namespace vt
