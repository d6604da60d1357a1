#include "dialogs/password_keypad.h"

#include "platform/encoding.h"

namespace vt {
namespace {

TLabel label(std::string name, int left, int top, std::string caption) {
  TLabel c;
  c.Name = std::move(name);
  c.Left = left, c.Top = top;
  c.Caption = std::move(caption);
  return c;
}

TButton button(std::string name, int left, int top, int width, int height, std::string caption, int tabOrder) {
  TButton c;
  c.Name = std::move(name);
  c.Left = left, c.Top = top, c.Width = width, c.Height = height;
  c.Caption = std::move(caption);
  c.TabOrder = tabOrder;
  return c;
}

TSpeedButton key(std::string name, int left, int top, int width, int height, std::string caption) {
  TSpeedButton c;
  c.Name = std::move(name);
  c.Left = left, c.Top = top, c.Width = width, c.Height = height;
  c.Caption = std::move(caption);
  c.FontCharHeight = 35;
  return c;
}

std::size_t characterCount(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t pos = 0; pos < text.size(); ++count) platform::decodeUtf8(text, pos);
  return count;
}

// The text without its last UTF-8 character (continuation bytes included).
void dropLastCharacter(std::string& text) {
  if (text.empty()) return;
  std::size_t end = text.size() - 1;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  text.erase(end);
}

constexpr char32_t kBackspace = 8;
constexpr char32_t kEnter = 13;

} // namespace

TfrmSenhaAdmin::TfrmSenhaAdmin(bool gTouch) : gTouch_(gTouch) {
  Caption = "Acesso Restrito";
  ClientWidth = 343, ClientHeight = 319;
  FontName = "Tahoma", FontSize = 8;

  lblInfo = label("lblInfo", 17, 14, "Digite a Senha do Administrador: ");

  edtSenha.Name = "edtSenha";
  edtSenha.Left = 17, edtSenha.Top = 30, edtSenha.Width = 241, edtSenha.Height = 21;
  edtSenha.MaxLength = 255;
  edtSenha.PasswordChar = '*';
  edtSenha.TabOrder = 0;

  btnOK = button("btnOK", 59, 62, 75, 25, "OK", 1);
  btnCancel = button("btnCancel", 141, 62, 75, 25, "Cancelar", 2);

  pnlTeclado.Name = "pnlTeclado";
  pnlTeclado.Height = 223;

  btn7 = key("btn7", 17, 6, 73, 50, "7");
  btn8 = key("btn8", 96, 6, 73, 50, "8");
  btn9 = key("btn9", 175, 6, 73, 50, "9");
  btnBackSpace = key("btnBackSpace", 254, 6, 73, 50, "<-");
  btn4 = key("btn4", 17, 59, 73, 50, "4");
  btn5 = key("btn5", 96, 59, 73, 50, "5");
  btn6 = key("btn6", 175, 59, 73, 50, "6");
  btnEsc = key("btnEsc", 254, 59, 73, 156, "Esc");
  btn1 = key("btn1", 17, 112, 73, 50, "1");
  btn2 = key("btn2", 96, 112, 73, 50, "2");
  btn3 = key("btn3", 175, 112, 73, 50, "3");
  btn0 = key("btn0", 17, 165, 231, 50, "0");

  btnOK.OnClick = [this] { btnOKClick(); };
  btnCancel.OnClick = [this] { btnCancelClick(); };
  btn0.OnClick = [this] { btn0Click(); };
  btn1.OnClick = [this] { btn1Click(); };
  btn2.OnClick = [this] { btn2Click(); };
  btn3.OnClick = [this] { btn3Click(); };
  btn4.OnClick = [this] { btn4Click(); };
  btn5.OnClick = [this] { btn5Click(); };
  btn6.OnClick = [this] { btn6Click(); };
  btn7.OnClick = [this] { btn7Click(); };
  btn8.OnClick = [this] { btn8Click(); };
  btn9.OnClick = [this] { btn9Click(); };
  btnBackSpace.OnClick = [this] { btnBackSpaceClick(); };
  btnEsc.OnClick = [this] { btnEscClick(); };
}

std::vector<TSpeedButton*> TfrmSenhaAdmin::keypadButtons() {
  return {&btn7, &btn8, &btn9, &btnBackSpace, &btn4, &btn5, &btn6, &btnEsc, &btn1, &btn2, &btn3, &btn0};
}

int TfrmSenhaAdmin::ShowModal(KeypadPresenter& presenter) {
  ModalResult = mrNone;
  FormShow();
  presenter.showModal(*this);
  if (ModalResult == mrNone) Close();
  return ModalResult;
}

void TfrmSenhaAdmin::typeIntoEdit(std::string_view text) {
  for (std::size_t pos = 0; pos < text.size() && ModalResult == mrNone;) {
    const std::size_t start = pos;
    char32_t key = platform::decodeUtf8(text, pos);
    const std::string_view typed = text.substr(start, pos - start);
    edtSenhaKeyPress(key);
    if (key == kBackspace) {
      dropLastCharacter(edtSenha.Text);
    } else if (key >= 32 && key != 127 && characterCount(edtSenha.Text) < edtSenha.MaxLength) {
      edtSenha.Text += typed;
    }
  }
}

void TfrmSenhaAdmin::FormShow() {
  if (Tag == 1) {
    Caption = "Senha do Administrador";
  } else if (Tag == 2) {
    Caption = "Senha do Desenvolvimento";
    lblInfo.Caption = "Digite a Senha Desenvolvedor:";
  }

  if (!gTouch_) {
    Width = 282, Height = 135;
    pnlTeclado.Visible = false;
    return;
  }
  Width = 347, Height = 396;
  pnlTeclado.Visible = true;
  lblInfo.Left = 17, lblInfo.Top = 8, lblInfo.FontSize = 12;
  edtSenha.Left = 17, edtSenha.Top = 30, edtSenha.Width = 309, edtSenha.FontSize = 16;
  btnOK.Left = 17, btnOK.Top = 75, btnOK.Width = 90, btnOK.Height = 62, btnOK.FontSize = 14;
  btnCancel.Left = 237, btnCancel.Top = 75, btnCancel.Width = 90, btnCancel.Height = 62, btnCancel.FontSize = 14;
}

void TfrmSenhaAdmin::edtSenhaKeyPress(char32_t& Key) {
  if (Key == kEnter) btnOK.Click();
}

void TfrmSenhaAdmin::btnOKClick() { ModalResult = mrOk; }
void TfrmSenhaAdmin::btnCancelClick() { ModalResult = mrCancel; }

void TfrmSenhaAdmin::appendDigit(char digit) { edtSenha.Text += digit; }
void TfrmSenhaAdmin::btn0Click() { appendDigit('0'); }
void TfrmSenhaAdmin::btn1Click() { appendDigit('1'); }
void TfrmSenhaAdmin::btn2Click() { appendDigit('2'); }
void TfrmSenhaAdmin::btn3Click() { appendDigit('3'); }
void TfrmSenhaAdmin::btn4Click() { appendDigit('4'); }
void TfrmSenhaAdmin::btn5Click() { appendDigit('5'); }
void TfrmSenhaAdmin::btn6Click() { appendDigit('6'); }
void TfrmSenhaAdmin::btn7Click() { appendDigit('7'); }
void TfrmSenhaAdmin::btn8Click() { appendDigit('8'); }
void TfrmSenhaAdmin::btn9Click() { appendDigit('9'); }

void TfrmSenhaAdmin::btnBackSpaceClick() { dropLastCharacter(edtSenha.Text); }

void TfrmSenhaAdmin::btnEscClick() { edtSenha.Text.clear(); }

} // namespace vt
