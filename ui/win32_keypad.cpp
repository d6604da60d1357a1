#ifdef _WIN32
#include "ui/win32_keypad.h"

#include <commctrl.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "platform/encoding.h"

namespace vt {
namespace {

constexpr wchar_t kPanelClass[] = L"VantorimKeypadPanel";
constexpr wchar_t kSpeedButtonClass[] = L"VantorimSpeedButton";

std::wstring windowText(HWND hwnd) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
  return text;
}

int keypadId(const TSpeedButton& button) {
  if (button.Name == "btnBackSpace") return keypad_ids::kBackSpace;
  if (button.Name == "btnEsc") return keypad_ids::kEsc;
  return keypad_ids::kDigit0 + (button.Name.back() - '0'); // btn0 .. btn9
}

// --- The speed button: drawn here, clicked with the mouse (or BM_CLICK),
// never focused. It tells its parent with WM_COMMAND / BN_CLICKED.
struct SpeedButtonState {
  HFONT font = nullptr;
  bool pressed = false;
  bool tracking = false;
};

void clickSpeedButton(HWND hwnd) {
  SendMessageW(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), BN_CLICKED), reinterpret_cast<LPARAM>(hwnd));
}

bool pointInside(HWND hwnd, LPARAM lParam) {
  RECT r;
  GetClientRect(hwnd, &r);
  POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  return PtInRect(&r, p) != 0;
}

LRESULT CALLBACK speedButtonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<SpeedButtonState*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  switch (msg) {
  case WM_NCCREATE:
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new SpeedButtonState));
    break;
  case WM_NCDESTROY:
    delete state;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    break;
  case WM_SETFONT:
    state->font = reinterpret_cast<HFONT>(wParam);
    if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, TRUE);
    return 0;
  case WM_GETFONT:
    return reinterpret_cast<LRESULT>(state->font);
  case WM_MOUSEACTIVATE:
    return MA_NOACTIVATE;
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
    SetCapture(hwnd);
    state->tracking = state->pressed = true;
    InvalidateRect(hwnd, nullptr, TRUE);
    return 0;
  case WM_MOUSEMOVE:
    if (state->tracking && state->pressed != pointInside(hwnd, lParam)) {
      state->pressed = !state->pressed;
      InvalidateRect(hwnd, nullptr, TRUE);
    }
    return 0;
  case WM_LBUTTONUP: {
    if (!state->tracking) return 0;
    const bool inside = pointInside(hwnd, lParam);
    state->tracking = state->pressed = false;
    ReleaseCapture();
    InvalidateRect(hwnd, nullptr, TRUE);
    if (inside) clickSpeedButton(hwnd);
    return 0;
  }
  case WM_CAPTURECHANGED:
    if (state && state->tracking) {
      state->tracking = state->pressed = false;
      InvalidateRect(hwnd, nullptr, TRUE);
    }
    return 0;
  case BM_CLICK:
    clickSpeedButton(hwnd);
    return 0;
  case WM_PAINT: {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT r;
    GetClientRect(hwnd, &r);
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (state->pressed ? DFCS_PUSHED : 0));
    if (state->pressed) OffsetRect(&r, 1, 1);
    HGDIOBJ old = SelectObject(dc, state->font ? state->font : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    const std::wstring caption = windowText(hwnd);
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, old);
    EndPaint(hwnd, &ps);
    return 0;
  }
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// --- The keypad panel: a raised bevel; passes its buttons' clicks on to the dialog.
LRESULT CALLBACK panelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
  case WM_COMMAND:
    return SendMessageW(GetParent(hwnd), WM_COMMAND, wParam, lParam);
  case WM_MOUSEACTIVATE:
    return MA_NOACTIVATE;
  case WM_PAINT: {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT r;
    GetClientRect(hwnd, &r);
    DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
    EndPaint(hwnd, &ps);
    return 0;
  }
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

void registerClass(HINSTANCE instance, const wchar_t* name, WNDPROC proc, UINT style) {
  WNDCLASSEXW known{};
  known.cbSize = sizeof known;
  if (GetClassInfoExW(instance, name, &known)) return;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = style;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = name;
  RegisterClassExW(&wc);
}

void registerClasses(HINSTANCE instance) {
  registerClass(instance, kPanelClass, &panelProc, 0);
  registerClass(instance, kSpeedButtonClass, &speedButtonProc, CS_DBLCLKS);
}

// An empty dialog template: the controls are made in WM_INITDIALOG, in pixels.
// Single-line border and a caption; no system menu, so no close box either.
struct EmptyDialogTemplate {
  std::vector<WORD> words;
  EmptyDialogTemplate() {
    const DWORD style = WS_POPUP | WS_CAPTION | DS_SETFONT;
    words = {LOWORD(style), HIWORD(style), 0, 0, // style, extended style
             0,                                  // no items
             0, 0, 100, 50,                      // position and size (set later)
             0, 0, 0,                            // no menu, standard class, no title
             8};                                 // Tahoma 8 pt
    for (const wchar_t* face = L"Tahoma"; *face; ++face) words.push_back(static_cast<WORD>(*face));
    words.push_back(0);
  }
  const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words.data()); }
};

// One showing of the dialog.
class KeypadDialog {
public:
  KeypadDialog(TfrmSenhaAdmin& form, HWND mainWindow) : form_(form), mainWindow_(mainWindow) {
    HDC screen = GetDC(nullptr);
    dpi_ = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
  }
  ~KeypadDialog() {
    for (auto& [key, font] : fonts_) DeleteObject(font);
  }
  KeypadDialog(const KeypadDialog&) = delete;
  KeypadDialog& operator=(const KeypadDialog&) = delete;

  void run(HINSTANCE instance) {
    EmptyDialogTemplate dialogTemplate;
    DialogBoxIndirectParamW(instance, dialogTemplate.get(), mainWindow_, &KeypadDialog::dialogProc,
                            reinterpret_cast<LPARAM>(this));
  }

private:
  static INT_PTR CALLBACK dialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
    auto* self = reinterpret_cast<KeypadDialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    return self ? self->handle(hwnd, msg, wParam, lParam) : FALSE;
  }

  static LRESULT CALLBACK editProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<KeypadDialog*>(data);
    switch (msg) {
    case WM_GETDLGCODE:
      // Enter reaches the edit (as WM_CHAR) instead of the dialog manager.
      if (wParam == VK_RETURN) return DefSubclassProc(hwnd, msg, wParam, lParam) | DLGC_WANTALLKEYS | DLGC_WANTMESSAGE;
      break;
    case WM_CHAR: {
      char32_t key = static_cast<char32_t>(wParam);
      self->form_.edtSenhaKeyPress(key);
      if (key == 13 || key == 0 || self->form_.ModalResult != mrNone) {
        self->afterHandler();
        return 0; // the edit itself does nothing with Enter
      }
      wParam = static_cast<WPARAM>(key);
      break;
    }
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd, &KeypadDialog::editProc, 1);
      break;
    }
    return DefSubclassProc(hwnd, msg, wParam, lParam);
  }

  INT_PTR handle(HWND hwnd, UINT msg, WPARAM wParam, LPARAM) {
    switch (msg) {
    case WM_INITDIALOG:
      build(hwnd);
      SetFocus(edit_);
      return FALSE; // the focus is set
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      const int code = HIWORD(wParam);
      if (id == keypad_ids::kEdit && code == EN_CHANGE) {
        form_.edtSenha.Text = platform::wideToUtf8(windowText(edit_));
        return TRUE;
      }
      if (code != BN_CLICKED) return FALSE;
      if (id == keypad_ids::kOk) {
        form_.btnOK.Click();
      } else if (id == keypad_ids::kCancel) {
        form_.btnCancel.Click();
      } else if (auto found = keys_.find(id); found != keys_.end()) {
        found->second->Click();
      } else {
        return TRUE; // IDOK / IDCANCEL of the dialog manager (Enter elsewhere, Esc): nothing
      }
      afterHandler();
      return TRUE;
    }
    case WM_CLOSE:
      form_.Close();
      afterHandler();
      return TRUE;
    }
    return FALSE;
  }

  // The edit shows the model's text; a modal result closes the dialog.
  void afterHandler() {
    const std::wstring text = platform::utf8ToWide(form_.edtSenha.Text);
    if (windowText(edit_) != text) {
      SetWindowTextW(edit_, text.c_str());
      SendMessageW(edit_, EM_SETSEL, text.size(), text.size());
    }
    if (form_.ModalResult != mrNone) EndDialog(dialog_, form_.ModalResult);
  }

  int px(int designPixels) const { return MulDiv(designPixels, dpi_, 96); }

  // Tahoma by point size, or (negative) by character height in design pixels.
  HFONT font(int points, int charHeight = 0) {
    const int key = charHeight ? -charHeight : points;
    auto& f = fonts_[key];
    if (!f) {
      const int height = charHeight ? px(charHeight) : MulDiv(points, dpi_, 72);
      f = CreateFontW(-height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Tahoma");
    }
    return f;
  }

  HWND child(HWND parent, const wchar_t* cls, const std::string& text, DWORD style, DWORD exStyle, const TControl& c,
             int id, HFONT f, SIZE size) {
    HWND hwnd = CreateWindowExW(exStyle, cls, platform::utf8ToWide(text).c_str(),
                                WS_CHILD | (c.Visible ? WS_VISIBLE : 0) | style, px(c.Left), px(c.Top), size.cx, size.cy,
                                parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(f), FALSE);
    return hwnd;
  }

  SIZE scaled(const TControl& c) const { return {px(c.Width), px(c.Height)}; }

  SIZE textSize(HFONT f, const std::string& text) {
    const std::wstring wide = platform::utf8ToWide(text);
    HDC dc = GetDC(dialog_);
    HGDIOBJ old = SelectObject(dc, f);
    SIZE size{};
    GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(dialog_, dc);
    return size;
  }

  void build(HWND hwnd) {
    dialog_ = hwnd;
    instance_ = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwnd, GWLP_HINSTANCE));
    registerClasses(instance_);
    SetWindowTextW(hwnd, platform::utf8ToWide(form_.Caption).c_str());
    SetWindowPos(hwnd, nullptr, 0, 0, px(form_.Width), px(form_.Height), SWP_NOMOVE | SWP_NOZORDER);
    RECT client;
    GetClientRect(hwnd, &client);

    // In tab order: the edit, OK, Cancelar (the label takes no focus).
    HFONT labelFont = font(form_.lblInfo.FontSize);
    child(hwnd, L"STATIC", form_.lblInfo.Caption, SS_LEFT | SS_NOPREFIX, 0, form_.lblInfo, keypad_ids::kLabel,
          labelFont, textSize(labelFont, form_.lblInfo.Caption));
    const TEdit& e = form_.edtSenha;
    // The edit grows with its font, to the text's height and its border
    // (21 pixels at 8 points, the design's height).
    HFONT editFont = font(e.FontSize);
    SIZE editSize = scaled(e);
    editSize.cy = std::max<LONG>(editSize.cy, textSize(editFont, "Wg").cy + px(8));
    edit_ = child(hwnd, L"EDIT", e.Text, WS_TABSTOP | ES_AUTOHSCROLL | (e.PasswordChar ? ES_PASSWORD : 0),
                  WS_EX_CLIENTEDGE, e, keypad_ids::kEdit, editFont, editSize);
    if (e.PasswordChar) SendMessageW(edit_, EM_SETPASSWORDCHAR, static_cast<WPARAM>(e.PasswordChar), 0);
    SendMessageW(edit_, EM_LIMITTEXT, e.MaxLength, 0);
    SetWindowSubclass(edit_, &KeypadDialog::editProc, 1, reinterpret_cast<DWORD_PTR>(this));
    for (const TButton* b : {&form_.btnOK, &form_.btnCancel})
      child(hwnd, L"BUTTON", b->Caption, WS_TABSTOP | BS_PUSHBUTTON, 0, *b,
            b == &form_.btnOK ? keypad_ids::kOk : keypad_ids::kCancel, font(b->FontSize), scaled(*b));

    // The panel is docked at the bottom of the client area.
    TControl panel = form_.pnlTeclado;
    const int panelHeight = px(panel.Height);
    HWND pnl = CreateWindowExW(0, kPanelClass, L"", WS_CHILD | WS_CLIPCHILDREN | (panel.Visible ? WS_VISIBLE : 0), 0,
                               client.bottom - panelHeight, client.right, panelHeight, hwnd,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(keypad_ids::kPanel)), instance_, nullptr);
    for (TSpeedButton* key : form_.keypadButtons()) {
      const int id = keypadId(*key);
      keys_[id] = key;
      child(pnl, kSpeedButtonClass, key->Caption, 0, 0, *key, id, font(0, key->FontCharHeight), scaled(*key));
    }
    centre();
  }

  // On the main window when it is showing, else on the screen; kept inside
  // the work area of the monitor.
  void centre() {
    RECT self, around;
    GetWindowRect(dialog_, &self);
    const bool onMain = mainWindow_ && IsWindowVisible(mainWindow_) && !IsIconic(mainWindow_);
    HMONITOR monitor = MonitorFromWindow(onMain ? mainWindow_ : dialog_, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(monitor, &info);
    if (onMain)
      GetWindowRect(mainWindow_, &around);
    else
      around = info.rcWork;
    const int w = self.right - self.left, h = self.bottom - self.top;
    int x = around.left + ((around.right - around.left) - w) / 2;
    int y = around.top + ((around.bottom - around.top) - h) / 2;
    x = std::max<int>(info.rcWork.left, std::min<int>(x, info.rcWork.right - w));
    y = std::max<int>(info.rcWork.top, std::min<int>(y, info.rcWork.bottom - h));
    SetWindowPos(dialog_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  }

  TfrmSenhaAdmin& form_;
  HWND mainWindow_;
  int dpi_ = 96;
  HINSTANCE instance_ = nullptr;
  HWND dialog_ = nullptr;
  HWND edit_ = nullptr;
  std::map<int, TSpeedButton*> keys_;
  std::map<int, HFONT> fonts_;
};

} // namespace

void Win32Keypad::showModal(TfrmSenhaAdmin& form) {
  KeypadDialog dialog(form, mainWindow_);
  dialog.run(GetModuleHandleW(nullptr));
}

} // namespace vt
#endif
