#ifdef _WIN32
#include "ui/win32_window.h"

#include <commctrl.h>

#include "launcher/frm_vantorim.h"
#include "platform/encoding.h"

namespace vt {
namespace {

constexpr UINT kRunMessage = WM_APP + 1;
constexpr COLORREF kGrey = RGB(0x4F, 0x4F, 0x4F);
constexpr COLORREF kNavy = RGB(0x00, 0x00, 0x80);
constexpr COLORREF kRed = RGB(0xFF, 0x00, 0x00);
constexpr int kClientWidth = 400, kClientHeight = 250;

HFONT makeFont(int height, bool bold, const wchar_t* face) {
  return CreateFontW(-height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, face);
}

std::wstring utf8ToWide(const std::string& s) { return platform::utf8ToWide(s); }

// The edit control wants CR LF line ends.
std::wstring editText(const std::string& text) {
  std::wstring wide = utf8ToWide(text), out;
  for (size_t i = 0; i < wide.size(); ++i) {
    if (wide[i] == L'\n' && (i == 0 || wide[i - 1] != L'\r')) out += L'\r';
    out += wide[i];
  }
  return out;
}

} // namespace

Win32Window::Win32Window() {
  fontDefault_ = makeFont(11, false, L"Tahoma");
  fontTitle_ = makeFont(24, true, L"Segoe UI Emoji");
  fontWarning_ = makeFont(13, true, L"Segoe UI Emoji");
  fontStatus_ = makeFont(16, false, L"Segoe UI Emoji");
  fontLog_ = makeFont(9, true, L"Consolas");
  whiteBrush_ = CreateSolidBrush(RGB(255, 255, 255));
}

Win32Window::~Win32Window() {
  for (HFONT f : {fontDefault_, fontTitle_, fontWarning_, fontStatus_, fontLog_})
    if (f) DeleteObject(f);
  if (whiteBrush_) DeleteObject(whiteBrush_);
}

bool Win32Window::create(HINSTANCE instance) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&icc);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &Win32Window::windowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
  wc.hbrBackground = whiteBrush_;
  wc.lpszClassName = L"TfrmVantorim";
  wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
  RegisterClassExW(&wc);
  // Borderless: the client area is the whole window.
  const int x = (GetSystemMetrics(SM_CXSCREEN) - kClientWidth) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - kClientHeight) / 2;
  hwnd_ = CreateWindowExW(WS_EX_APPWINDOW, L"TfrmVantorim", L"Vantorim Quorvelin", WS_POPUP | WS_CLIPCHILDREN, x, y,
                          kClientWidth, kClientHeight, nullptr, nullptr, instance, this);
  if (!hwnd_) return false;
  memLog_ = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
                            8, 96, 384, 116, hwnd_, nullptr, instance, nullptr);
  pgbDownload_ = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, 8, 217, 384, 10, hwnd_, nullptr, instance, nullptr);
  pgbLauncher_ = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, 8, 232, 384, 10, hwnd_, nullptr, instance, nullptr);
  SendMessageW(memLog_, WM_SETFONT, reinterpret_cast<WPARAM>(fontLog_), FALSE);
  // The log of a long run goes past the edit control's default limit (about
  // 32,000 characters); it is never trimmed, so it may hold as much as the
  // control can.
  SendMessageW(memLog_, EM_SETLIMITTEXT, 0, 0);
  SendMessageW(pgbDownload_, PBM_SETRANGE32, 0, 100);
  SendMessageW(pgbLauncher_, PBM_SETRANGE32, 0, 100);
  return true;
}

int Win32Window::run(int showCommand) {
  // Showing the window runs FormShow, whose failed checks ask to end: the
  // request is honoured here, back in the loop, once every check has shown
  // its box.
  ShowWindow(hwnd_, showCommand);
  UpdateWindow(hwnd_);
  MSG msg;
  for (;;) {
    if (terminationRequested_) return 0;
    if (GetMessageW(&msg, nullptr, 0, 0) <= 0) break;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

LRESULT CALLBACK Win32Window::windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<Win32Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->hwnd_ = hwnd;
  }
  auto* self = reinterpret_cast<Win32Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  return self ? self->handle(msg, wParam, lParam) : DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT Win32Window::handle(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
  case WM_SHOWWINDOW:
    if (wParam && !shown_ && form_) {
      shown_ = true;
      form_->FormShow();
    }
    break;
  case WM_ACTIVATE:
    // The run starts after the first activation, once the window has painted.
    if (LOWORD(wParam) != WA_INACTIVE && !activated_) {
      activated_ = true;
      PostMessageW(hwnd_, kRunMessage, 0, 0);
    }
    break;
  case kRunMessage:
    if (form_) form_->FormActivate();
    return 0;
  case WM_PAINT: {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    paint(dc);
    EndPaint(hwnd_, &ps);
    return 0;
  }
  case WM_CTLCOLORSTATIC:
  case WM_CTLCOLOREDIT: {
    HDC dc = reinterpret_cast<HDC>(wParam);
    SetTextColor(dc, kNavy);
    SetBkColor(dc, RGB(255, 255, 255));
    return reinterpret_cast<LRESULT>(whiteBrush_);
  }
  case WM_SETCURSOR:
    // The application's wait cursor holds over the whole window.
    if (waitCursor_) {
      SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32514))); // IDC_WAIT
      return TRUE;
    }
    break;
  case WM_CLOSE:
    if (form_) form_->FormClose();
    DestroyWindow(hwnd_);
    return 0;
  case WM_DESTROY:
    PostQuitMessage(0);
    return 0;
  default:
    break;
  }
  return DefWindowProcW(hwnd_, msg, wParam, lParam);
}

void Win32Window::drawLabel(HDC dc, HFONT font, COLORREF colour, RECT box, const std::wstring& text, UINT format) {
  HGDIOBJ old = SelectObject(dc, font);
  SetTextColor(dc, colour);
  SetBkMode(dc, TRANSPARENT);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, format | DT_NOPREFIX);
  SelectObject(dc, old);
}

void Win32Window::paint(HDC dc) {
  const WindowState* state = form_ ? &form_->state() : nullptr;
  // shpVantorim: white fill with a one-pixel dark grey outline.
  HPEN pen = CreatePen(PS_SOLID, 1, kGrey);
  HGDIOBJ oldPen = SelectObject(dc, pen);
  HGDIOBJ oldBrush = SelectObject(dc, whiteBrush_);
  Rectangle(dc, 0, 0, kClientWidth, kClientHeight);
  // Image1: the maker's mark, drawn at 8, 8, 100 x 100.
  HBRUSH mark = CreateSolidBrush(kGrey);
  SelectObject(dc, mark);
  Ellipse(dc, 14, 14, 102, 102);
  SelectObject(dc, whiteBrush_);
  Ellipse(dc, 30, 30, 86, 86);
  SelectObject(dc, mark);
  POINT tail[] = {{66, 70}, {100, 104}, {88, 104}, {60, 78}};
  Polygon(dc, tail, 4);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(mark);
  DeleteObject(pen);

  drawLabel(dc, fontTitle_, kGrey, RECT{114, 8, 114 + 278, 8 + 33}, L"Quorvelin Online", DT_CENTER | DT_SINGLELINE | DT_VCENTER);
  if (state && state->warningVisible)
    drawLabel(dc, fontWarning_, kRed, RECT{114, 43, 114 + 278, 43 + 17}, utf8ToWide(kWarningText), DT_CENTER | DT_SINGLELINE);
  drawLabel(dc, fontStatus_, kGrey, RECT{114, 63, 114 + 278, 63 + 27},
            utf8ToWide(state ? state->status : std::string("Conectando ... ")), DT_CENTER | DT_WORDBREAK);
}

void Win32Window::statusChanged(const WindowState&) {
  RECT r{114, 63, 114 + 278, 63 + 27};
  InvalidateRect(hwnd_, &r, TRUE);
}

void Win32Window::warningChanged(const WindowState&) {
  RECT r{114, 43, 114 + 278, 43 + 17};
  InvalidateRect(hwnd_, &r, TRUE);
}

void Win32Window::captionChanged(const WindowState& state) {
  SetWindowTextW(hwnd_, utf8ToWide(state.caption).c_str());
}

void Win32Window::logCleared(const WindowState&) { SetWindowTextW(memLog_, L""); }

void Win32Window::logAppended(const WindowState&, const std::string& line) {
  // The entry ends with its own line break and is added as a line of the
  // text box, which ends it once more: an empty line follows each entry.
  std::wstring text = editText(line) + L"\r\n";
  int end = GetWindowTextLengthW(memLog_);
  SendMessageW(memLog_, EM_SETSEL, end, end);
  SendMessageW(memLog_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}

void Win32Window::launcherBarChanged(const WindowState& state) {
  SendMessageW(pgbLauncher_, PBM_SETRANGE32, static_cast<WPARAM>(state.pgbLauncher.min), static_cast<LPARAM>(state.pgbLauncher.max));
  SendMessageW(pgbLauncher_, PBM_SETPOS, static_cast<WPARAM>(state.pgbLauncher.position), 0);
}

void Win32Window::downloadBarChanged(const WindowState& state) {
  SendMessageW(pgbDownload_, PBM_SETRANGE32, 0, static_cast<LPARAM>(state.pgbDownload.max));
  SendMessageW(pgbDownload_, PBM_SETPOS, static_cast<WPARAM>(state.pgbDownload.position), 0);
}

void Win32Window::processMessages(const WindowState&) {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // Keep the quit for the message loop.
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void Win32Window::cursorChanged(const WindowState& state) {
  waitCursor_ = state.waitCursor;
  SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(waitCursor_ ? 32514 : 32512))); // IDC_WAIT, IDC_ARROW
}

void Win32Window::showException(const std::string& text) {
  MessageBoxW(hwnd_, utf8ToWide(text).c_str(), L"Vantorim", MB_OK | MB_ICONERROR);
}

// Not PostQuitMessage: a quit message posted now would end the modal loop of
// the next message box (FormShow's later checks still show theirs) instead
// of the program. The message loop ends once control is back in it.
void Win32Window::requestTermination() {
  terminationRequested_ = true;
  if (hwnd_) PostMessageW(hwnd_, WM_NULL, 0, 0);  // wakes the loop if it waits
}

} // namespace vt
#endif
