#include "services/food_service_common.h"

#include "platform/service_control.h"

namespace vt::services {

bool serviceKeyOpens(std::string_view AServico) {
  constexpr uint32_t kReadWrite = 0x2001F; // KEY_READ | KEY_WRITE
  return platform::registryKeyOpens("\\SYSTEM\\CurrentControlSet\\Services\\" + std::string(AServico), kReadWrite);
}

std::string foodLogDescription(int operation, const std::string* error) {
  static constexpr std::string_view kDescriptions[] = {"Parar o Servico", "Iniciar o Servico", "Desligar o Servico",
                                                       "Ligar o Servico"};
  std::string text(kDescriptions[operation]);
  if (error) text += " - Erro: " + *error;
  return text;
}

} // namespace vt::services
