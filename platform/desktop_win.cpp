#include <windows.h>

#include "platform/desktop.h"
#include "platform/encoding.h"

namespace vt::platform {
namespace {

HCURSOR systemCursor(ScreenCursor cursor) {
  return LoadCursorW(nullptr, cursor == ScreenCursor::Wait ? MAKEINTRESOURCEW(32514) : MAKEINTRESOURCEW(32512)); // IDC_WAIT, IDC_ARROW
}

constexpr UINT kHelpContext = 0x000F; // HH_HELP_CONTEXT

} // namespace

void setScreenCursor(ScreenCursor cursor) { SetCursor(systemCursor(cursor)); }

ScreenCursor screenCursor() {
  return GetCursor() == systemCursor(ScreenCursor::Wait) ? ScreenCursor::Wait : ScreenCursor::Default;
}

bool openHelpContext(std::string_view file, int context) {
  // The viewer's library is loaded on first use and stays: its window lives
  // on after this call.
  static HMODULE library = LoadLibraryW(L"hhctrl.ocx");
  if (!library) return false;
  using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);
  auto htmlHelp = reinterpret_cast<HtmlHelpFunction>(reinterpret_cast<void*>(GetProcAddress(library, "HtmlHelpW")));
  if (!htmlHelp) return false;
  const std::wstring path = utf8ToWide(file);
  return htmlHelp(GetActiveWindow(), path.c_str(), kHelpContext, static_cast<DWORD_PTR>(context)) != nullptr;
}

} // namespace vt::platform
