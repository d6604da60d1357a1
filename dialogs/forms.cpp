#include "dialogs/forms.h"

#include <memory>

#include "dmutils/dm_utils.h"

namespace vt {

bool TdmForms::formMensagem(std::string_view, std::string_view, bool, bool) { return true; }

void TdmForms::formProgress(std::string_view, std::string_view, std::string_view, int, int, int, std::string_view) {}

void TdmForms::formConfiguracaoConfig() {
  if (utils_)
    utils_->exibeMsg("Para utilizar o Configurações para o Config.ini, utilize o módulo Quorvelin Gerencial.", "Atenção",
                     false, true);
}

bool TdmForms::formSenhaAdmin(int ATag, std::string& ASenha) {
  if (!keypad_) return false;
  auto dialog = std::make_unique<TfrmSenhaAdmin>(utils_ && utils_->gTouch);
  frmSenhaAdmin = dialog.get();
  // The form variable is cleared on every way out, a front end's exception too.
  struct ClearOnExit {
    TfrmSenhaAdmin*& form;
    ~ClearOnExit() { form = nullptr; }
  } clear{frmSenhaAdmin};
  dialog->Tag = ATag;
  if (dialog->ShowModal(*keypad_) == mrCancel) return false;
  ASenha = dialog->edtSenha.Text;
  return true;
}

} // namespace vt
