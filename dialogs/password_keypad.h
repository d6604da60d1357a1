#pragma once
// TfrmSenhaAdmin, the password dialog with its on-screen keypad, as a model
// that knows no toolkit: its components with their design positions, sizes
// and captions, the wording chosen by Tag, and the event handlers. A front end
// (KeypadPresenter) draws it, feeds the user's typing and clicks into the
// handlers and returns once the model has a modal result. The dialog does not
// judge the password; its caller does.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vt {

class KeypadPresenter;

// Modal results, with the values of the form library the suite is built on.
inline constexpr int mrNone = 0;
inline constexpr int mrOk = 1;
inline constexpr int mrCancel = 2;

// Positions and sizes are pixels at 96 dots per inch; a front end on another
// density scales them. Font sizes are points, in the form's face (Tahoma).
struct TControl {
  std::string Name;
  int Left = 0, Top = 0, Width = 0, Height = 0;
  bool Visible = true;
  int FontSize = 8;
};

// A label sizes itself to its caption (Width and Height stay 0).
struct TLabel : TControl {
  std::string Caption;
};

struct TEdit : TControl {
  std::string Text; // UTF-8
  // At most this many characters are typed; text set by the program is not cut.
  std::size_t MaxLength = 0;
  char PasswordChar = '\0'; // every character is shown as this one ('\0': shown as typed)
  int TabOrder = 0;
};

struct TButton : TControl {
  std::string Caption;
  int TabOrder = 0;
  std::function<void()> OnClick;
  void Click() const {
    if (OnClick) OnClick();
  }
};

// A speed button never takes the keyboard focus. Its font is given as a
// character height in pixels.
struct TSpeedButton : TControl {
  std::string Caption;
  int FontCharHeight = 0;
  std::function<void()> OnClick;
  void Click() const {
    if (OnClick) OnClick();
  }
};

// A panel docked at the bottom of the client area: its Height is its own, its
// width and top follow the client area.
struct TPanel : TControl {};

class TfrmSenhaAdmin {
public:
  // gTouch: the utility module's touch-screen flag, read when the form shows.
  explicit TfrmSenhaAdmin(bool gTouch = false);
  TfrmSenhaAdmin(const TfrmSenhaAdmin&) = delete;
  TfrmSenhaAdmin& operator=(const TfrmSenhaAdmin&) = delete;

  // --- The form ---
  std::string Caption;
  int ClientWidth = 0, ClientHeight = 0; // the design's client area
  // The outer size (frame and caption included); 0 until FormShow sets it.
  int Width = 0, Height = 0;
  std::string FontName;
  int FontSize = 0;
  // Single-line border, no border icons (no close box, no system menu),
  // centred on the main window.
  int Tag = 0;
  int ModalResult = mrNone;

  // --- Components, in tab order where they take the focus ---
  TLabel lblInfo;
  TEdit edtSenha;
  TButton btnOK;
  TButton btnCancel;
  TPanel pnlTeclado;
  TSpeedButton btn7, btn8, btn9, btnBackSpace;
  TSpeedButton btn4, btn5, btn6, btnEsc;
  TSpeedButton btn1, btn2, btn3;
  TSpeedButton btn0;

  // The twelve keypad buttons, row by row, left to right.
  std::vector<TSpeedButton*> keypadButtons();

  // --- Showing ---
  // FormShow, then the front end's modal loop until a modal result is set.
  // A front end that returns without one (it could not show the dialog, or
  // its input ended) counts as a close request, which is Cancel.
  int ShowModal(KeypadPresenter& presenter);
  // A close request from the platform: the modal result Cancel.
  void Close() { ModalResult = mrCancel; }

  // Keys typed on the keyboard while the edit has the focus (the front ends
  // that have no edit control of their own, and tests). Each character passes
  // edtSenhaKeyPress first; then Backspace removes the last character, other
  // control characters insert nothing, and the rest is appended while the
  // text holds fewer than MaxLength characters.
  void typeIntoEdit(std::string_view text);

  // --- Event handlers ---
  void FormShow();
  void edtSenhaKeyPress(char32_t& Key);
  void btnOKClick();
  void btnCancelClick();
  void btn0Click();
  void btn1Click();
  void btn2Click();
  void btn3Click();
  void btn4Click();
  void btn5Click();
  void btn6Click();
  void btn7Click();
  void btn8Click();
  void btn9Click();
  void btnBackSpaceClick();
  void btnEscClick();

private:
  void appendDigit(char digit);

  bool gTouch_;
};

// A front end of the keypad. showModal gets a form that has been through
// FormShow; it shows it as a modal dialog, passes the user's typing, clicks
// and close requests to the form's handlers, and returns once
// form.ModalResult is not mrNone.
class KeypadPresenter {
public:
  virtual ~KeypadPresenter() = default;
  virtual void showModal(TfrmSenhaAdmin& form) = 0;
};

} // namespace vt
