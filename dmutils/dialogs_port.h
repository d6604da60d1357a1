#pragma once
// What the utility module asks of the dialog factory: the touch-screen
// message, the progress window and the configuration notice. The dialog
// factory (dialogs/) lives above this module and implements it; the
// application joins the two (TdmUtils::attachForms).
#include <string_view>

namespace vt {

class DialogsPort {
public:
  virtual ~DialogsPort() = default;
  virtual bool formMensagem(std::string_view AMsgm, std::string_view ATitulo, bool AMsgDlg, bool AYesFocus) = 0;
  virtual void formProgress(std::string_view AIniEnd, std::string_view ATitle, std::string_view AAnima, int APosicao,
                            int AMinimo, int AMaximo, std::string_view ASubTitle) = 0;
  virtual void formConfiguracaoConfig() = 0;
};

} // namespace vt
