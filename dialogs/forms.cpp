#include "dialogs/forms.h"

#include "dmutils/dm_utils.h"

namespace vt {

bool TdmForms::formMensagem(std::string_view, std::string_view, bool, bool) { return true; }

void TdmForms::formProgress(std::string_view, std::string_view, std::string_view, int, int, int, std::string_view) {}

void TdmForms::formConfiguracaoConfig() {
  if (utils_)
    utils_->exibeMsg("Para utilizar o Configurações para o Config.ini, utilize o módulo Quorvelin Gerencial.", "Atenção",
                     false, true);
}

} // namespace vt
