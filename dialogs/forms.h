#pragma once
// TdmForms, the dialog factory (instance dmForms): groups the system's
// dialogs. The touch-screen message and the progress window are not part of
// this system: formMensagem accepts its arguments and answers true, and
// formProgress only records nothing and shows nothing.
#include <string_view>

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

private:
  TdmUtils* utils_ = nullptr;
};

} // namespace vt
