// net.exe of the Linux build: "net stop NAME" and "net start NAME" on the
// simulated service manager (platform/service_control.h), as the Windows
// command serves them on the real one. It answers 0 when the service was
// stopped (started), 2 when it was not, 1 for a command it does not serve.
#include <cctype>
#include <iostream>
#include <string>

#include "platform/service_control.h"

namespace {

namespace state = vt::platform::service_state;
namespace access = vt::platform::service_access;

std::string lowerCase(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

int usage() {
  std::cout << "A sintaxe deste comando é:\n\nNET STOP nome_do_serviço\nNET START nome_do_serviço\n";
  return 1;
}

int stopService(vt::platform::OpenedService& service, const std::string& name) {
  vt::platform::ServiceStatus status;
  if (service.stop(status)) {
    std::cout << "O serviço " << name << " foi finalizado com êxito.\n";
    return 0;
  }
  if (status.currentState == state::kStopped)
    std::cout << "O serviço " << name << " não foi iniciado.\n";
  else
    std::cout << "O serviço " << name << " não pôde ser finalizado.\n";
  return 2;
}

int startService(vt::platform::OpenedService& service, const std::string& name) {
  if (service.start()) {
    std::cout << "O serviço " << name << " foi iniciado com êxito.\n";
    return 0;
  }
  auto status = service.queryStatus();
  if (status && status->currentState == state::kRunning)
    std::cout << "O serviço solicitado já foi iniciado.\n";
  else
    std::cout << "O serviço " << name << " não pôde ser iniciado.\n";
  return 2;
}

} // namespace

int main(int argc, char** argv) {
  if (argc != 3) return usage();
  const std::string verb = lowerCase(argv[1]);
  const std::string name = argv[2];
  if (verb != "stop" && verb != "start") return usage();
  auto service = vt::platform::OpenedService::open("", name, access::kQueryStatus | access::kStop | access::kStart);
  if (!service) {
    std::cout << "O nome de serviço é inválido.\n";
    return 2;
  }
  return verb == "stop" ? stopService(*service, name) : startService(*service, name);
}
