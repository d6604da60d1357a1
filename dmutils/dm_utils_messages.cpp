#include "dmutils/dialogs_port.h"
#include "dmutils/dm_utils.h"
#include "platform/message_box.h"

namespace vt {

bool TdmUtils::exibeMsg(std::string_view AMsgm, std::string_view ATitulo, bool AMsgDlg, bool AYesFocus) {
  if (gTouch) return forms_ ? forms_->formMensagem(AMsgm, ATitulo, AMsgDlg, AYesFocus) : true;
  namespace mb = platform::mb;
  if (AMsgDlg) {
    // Yes stays the default button whatever AYesFocus says.
    return ui_.show(std::string(AMsgm), std::string(ATitulo), mb::kYesNo) != mb::kIdNo;
  }
  const unsigned icon = (ATitulo == "Concluído") ? mb::kIconInformation : mb::kIconExclamation;
  ui_.show(std::string(AMsgm), std::string(ATitulo), mb::kOk | icon);
  return true;
}

void TdmUtils::progress(const char* step, std::string_view title, int position) {
  if (forms_) forms_->formProgress(step, title, "Copy", position, 0, 100, "");
}

} // namespace vt
