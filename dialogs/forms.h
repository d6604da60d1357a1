#pragma once
// TdmForms, the dialog factory (instance dmForms): groups the system's
// dialogs. The touch-screen message and the progress window are not part of
// this system: formMensagem accepts its arguments and answers true, and
// formProgress only records nothing and shows nothing. formSenhaAdmin is the
// password keypad, shown through the front end attached to the factory.
#include <string>
#include <string_view>

#include "dialogs/password_keypad.h"
#include "dmutils/dialogs_port.h"

namespace vt {

class TdmUtils;

class TdmForms final : public DialogsPort {
public:
  TdmForms() = default;
  TdmForms(const TdmForms&) = delete;
  TdmForms& operator=(const TdmForms&) = delete;

  // The utility module is created before this one; the application joins them.
  void attachUtils(TdmUtils& utils) { utils_ = &utils; }

  bool formMensagem(std::string_view AMsgm, std::string_view ATitulo, bool AMsgDlg, bool AYesFocus) override;
  void formProgress(std::string_view AIniEnd, std::string_view ATitle, std::string_view AAnima, int APosicao,
                    int AMinimo, int AMaximo, std::string_view ASubTitle) override;
  void formConfiguracaoConfig() override;

  // The keypad's front end (the Win32 dialog, the console, a test script).
  void attachKeypad(KeypadPresenter& keypad) { keypad_ = &keypad; }

  // Shows the password keypad with ATag as its Tag (2: the development
  // password). True with ASenha := the typed text when the user confirmed;
  // false, ASenha untouched, when the user cancelled or no front end is
  // attached to show it.
  bool formSenhaAdmin(int ATag, std::string& ASenha);

  // The open keypad while formSenhaAdmin shows it; empty at all other times.
  TfrmSenhaAdmin* frmSenhaAdmin = nullptr;

private:
  TdmUtils* utils_ = nullptr;
  KeypadPresenter* keypad_ = nullptr;
};

} // namespace vt
