#pragma once
// What the iFood and Orbenta modules share beyond the family.
#include <string>
#include <string_view>

namespace vt::services {

// The service's key under HKLM\SYSTEM\CurrentControlSet\Services opens with
// read and write access (0x2001F), without being created.
bool serviceKeyOpens(std::string_view AServico);

// "Parar o Servico", or "Parar o Servico - Erro: <message>"; the operation
// indexes Parar, Iniciar, Desligar, Ligar.
std::string foodLogDescription(int operation, const std::string* error);

} // namespace vt::services
