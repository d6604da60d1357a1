// The modal text-input dialog as a real Win32 dialog, built from a template
// in memory: the prompt, the edit box below it, OK (the default button) and
// Cancelar. The dialog widens to show a long prompt on one line.
#include <windows.h>

#include <algorithm>
#include <vector>

#include "platform/encoding.h"
#include "platform/input_dialog.h"

namespace vt::platform {
namespace {

constexpr WORD kIdPrompt = 100;
constexpr WORD kIdEdit = 101;
constexpr int kMaxLength = 255;

// Dialog units of the template (Tahoma 8 pt).
constexpr short kClientWidth = 180, kClientHeight = 64;
constexpr short kMargin = 8;

// A dialog template in memory (DLGTEMPLATE followed by its items).
class DialogTemplate {
public:
  DialogTemplate(DWORD style, short cx, short cy, const std::wstring& title, WORD pointSize, const wchar_t* face) {
    addDword(style);
    addDword(0);
    countAt_ = words_.size();
    words_.push_back(0);
    for (short v : {short(0), short(0), cx, cy}) words_.push_back(static_cast<WORD>(v));
    words_.push_back(0); // no menu
    words_.push_back(0); // the standard dialog class
    addText(title.c_str());
    words_.push_back(pointSize);
    addText(face);
  }

  // classAtom: 0x80 button, 0x81 edit, 0x82 static.
  void addItem(DWORD style, short x, short y, short cx, short cy, WORD id, WORD classAtom, const std::wstring& text) {
    if (words_.size() % 2) words_.push_back(0); // items start on a DWORD
    addDword(style | WS_CHILD | WS_VISIBLE);
    addDword(0);
    for (short v : {x, y, cx, cy}) words_.push_back(static_cast<WORD>(v));
    words_.push_back(id);
    words_.push_back(0xFFFF);
    words_.push_back(classAtom);
    addText(text.c_str());
    words_.push_back(0); // no creation data
    ++words_[countAt_];
  }

  const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
  void addDword(DWORD v) {
    words_.push_back(LOWORD(v));
    words_.push_back(HIWORD(v));
  }
  void addText(const wchar_t* text) {
    for (; *text; ++text) words_.push_back(static_cast<WORD>(*text));
    words_.push_back(0);
  }

  std::vector<WORD> words_;
  std::size_t countAt_ = 0;
};

struct Query {
  std::wstring prompt;
  std::wstring value;
};

std::wstring windowText(HWND hwnd) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
  return text;
}

void moveBy(HWND dialog, HWND control, int dx, int dw) {
  RECT r;
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  SetWindowPos(control, nullptr, r.left + dx, r.top, r.right - r.left + dw, r.bottom - r.top, SWP_NOZORDER);
}

// Widens the dialog so the prompt fits on one line (up to the work area),
// then centres it on the monitor of its owner.
void layOut(HWND dialog, const std::wstring& prompt) {
  HWND promptLabel = GetDlgItem(dialog, kIdPrompt);
  RECT label;
  GetClientRect(promptLabel, &label);
  HDC dc = GetDC(promptLabel);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0)));
  SIZE text{};
  GetTextExtentPoint32W(dc, prompt.c_str(), static_cast<int>(prompt.size()), &text);
  SelectObject(dc, old);
  ReleaseDC(promptLabel, dc);

  HMONITOR monitor = MonitorFromWindow(GetWindow(dialog, GW_OWNER) ? GetWindow(dialog, GW_OWNER) : dialog,
                                       MONITOR_DEFAULTTONEAREST);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  GetMonitorInfoW(monitor, &info);
  const RECT work = info.rcWork;

  RECT outer;
  GetWindowRect(dialog, &outer);
  int width = outer.right - outer.left;
  const int height = outer.bottom - outer.top;
  const int room = (work.right - work.left) - width;
  const int extra = std::max(0, std::min<int>(text.cx - label.right + 2, room));
  if (extra > 0) {
    width += extra;
    moveBy(dialog, promptLabel, 0, extra);
    moveBy(dialog, GetDlgItem(dialog, kIdEdit), 0, extra);
    moveBy(dialog, GetDlgItem(dialog, IDOK), extra / 2, 0);
    moveBy(dialog, GetDlgItem(dialog, IDCANCEL), extra / 2, 0);
  }
  SetWindowPos(dialog, nullptr, work.left + ((work.right - work.left) - width) / 2,
               work.top + ((work.bottom - work.top) - height) / 2, width, height, SWP_NOZORDER);
}

INT_PTR CALLBACK queryProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* query = reinterpret_cast<Query*>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (msg) {
  case WM_INITDIALOG: {
    query = reinterpret_cast<Query*>(lParam);
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    HWND edit = GetDlgItem(dialog, kIdEdit);
    SendMessageW(edit, EM_LIMITTEXT, kMaxLength, 0);
    SetWindowTextW(edit, query->value.c_str());
    SendMessageW(edit, EM_SETSEL, 0, -1);
    layOut(dialog, query->prompt);
    SetFocus(edit);
    return FALSE; // the focus is set
  }
  case WM_COMMAND:
    if (HIWORD(wParam) != BN_CLICKED) break;
    if (LOWORD(wParam) == IDOK) {
      query->value = windowText(GetDlgItem(dialog, kIdEdit));
      EndDialog(dialog, IDOK);
      return TRUE;
    }
    if (LOWORD(wParam) == IDCANCEL) { // Cancelar, Esc and the close box
      EndDialog(dialog, IDCANCEL);
      return TRUE;
    }
    break;
  }
  return FALSE;
}

class Win32InputUi final : public InputUi {
public:
  bool inputQuery(const std::string& caption, const std::string& prompt, std::string& value) override {
    DialogTemplate dialog(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, kClientWidth,
                          kClientHeight, utf8ToWide(caption), 8, L"Tahoma");
    const short inner = kClientWidth - 2 * kMargin;
    dialog.addItem(SS_LEFT | SS_NOPREFIX, kMargin, 8, inner, 10, kIdPrompt, 0x82, utf8ToWide(prompt));
    dialog.addItem(WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, kMargin, 20, inner, 12, kIdEdit, 0x81, L"");
    dialog.addItem(WS_TABSTOP | BS_DEFPUSHBUTTON, 38, 42, 50, 14, IDOK, 0x80, L"OK");
    dialog.addItem(WS_TABSTOP | BS_PUSHBUTTON, 92, 42, 50, 14, IDCANCEL, 0x80, L"Cancelar");

    Query query{utf8ToWide(prompt), utf8ToWide(value)};
    // Without a display the dialog cannot be made (-1): that counts as Cancel.
    const INT_PTR answer = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialog.get(), GetActiveWindow(),
                                                   &queryProc, reinterpret_cast<LPARAM>(&query));
    if (answer != IDOK) return false;
    value = wideToUtf8(query.value);
    return true;
  }
};

} // namespace

std::unique_ptr<InputUi> makeNativeInputUi() { return std::make_unique<Win32InputUi>(); }

} // namespace vt::platform
