#pragma once
// Texts more than one stretch of the run shows or logs.
#include <string>
#include <string_view>

namespace vt {

// The notice for a package that does not extract (the launcher's own, an
// application's or the reports').
inline std::string extractionFailedMessage(std::string_view packageName) {
  return "Houve problemas ao tentar descompactar o arquivo " + std::string(packageName) +
         ". Isso pode ter acontecido pelo arquivo ter sido baixado corrompido ou haver restrições de seu sistema "
         "operacional as ações do atualizador. Tente novamente o processo de atualização dando permissões gerais ao "
         "Vantorim e o executando como administrador.";
}

// The log line of an essential file that could not be written, before the write's error text.
inline constexpr std::string_view kEssentialNotSavedLog =
    "Não foi possível recriar o arquivo essencial para conferência das próximas execuções do Vantorim. ";

} // namespace vt
