#pragma once
// The password keypad as a native modal Win32 dialog drawn from the
// TfrmSenhaAdmin model: the caption, the label, the password edit ('*', the
// model's typing limit), OK and Cancelar, and the keypad panel with its twelve
// speed buttons (built always, shown only in touch-screen mode). Tahoma 8 pt,
// centred on the main window, which it disables while it is open.
//
// Keys: Enter in the edit goes to edtSenhaKeyPress (which clicks OK); Esc does
// nothing; no button is the default one. The dialog has no close box and no
// system menu; a close request (Alt+F4) is Cancel. The speed buttons never
// take the focus, so the edit keeps it.
#ifdef _WIN32
#include <windows.h>

#include "dialogs/password_keypad.h"

namespace vt {

// The dialog's control ids, by which tests and accessibility tools find them.
namespace keypad_ids {
constexpr int kLabel = 100;
constexpr int kEdit = 101;
constexpr int kOk = 102;
constexpr int kCancel = 103;
constexpr int kPanel = 104; // the keypad buttons are children of the panel
constexpr int kDigit0 = 110; // the digit n is kDigit0 + n
constexpr int kBackSpace = 120;
constexpr int kEsc = 121;
} // namespace keypad_ids

class Win32Keypad final : public KeypadPresenter {
public:
  // mainWindow: the window the dialog is centred on and owned by (none:
  // centred on the screen).
  explicit Win32Keypad(HWND mainWindow = nullptr) : mainWindow_(mainWindow) {}
  void setMainWindow(HWND mainWindow) { mainWindow_ = mainWindow; }

  // Without a display the dialog cannot be made, and the form gets no
  // modal result (ShowModal then counts it as Cancel).
  void showModal(TfrmSenhaAdmin& form) override;

private:
  HWND mainWindow_;
};

} // namespace vt
#endif
