#pragma once
// Texts more than one stretch of the run shows or logs.
#include <string>
#include <string_view>

#include "launcher/step_outcome.h"

namespace vt {

// The notice for a package that does not extract (the launcher's own, an
// application's or the reports').
inline std::string extractionFailedMessage(std::string_view packageName) {
  return "Houve problemas ao tentar descompactar o arquivo " + std::string(packageName) +
         ". Isso pode ter acontecido pelo arquivo ter sido baixado corrompido ou haver restrições de seu sistema "
         "operacional as ações do atualizador. Tente novamente o processo de atualização dando permissões gerais ao "
         "Vantorim e o executando como administrador.";
}

// An essential file that could not be written ends the run with this log
// line and the write's error text, without a message.
inline StepOutcome essentialFileNotSaved(std::string_view error) {
  return StepOutcome::alreadyTold(
      "Não foi possível recriar o arquivo essencial para conferência das próximas execuções do Vantorim. " +
          std::string(error),
      ExtraDisconnect::BeforeShutdown);
}

} // namespace vt
