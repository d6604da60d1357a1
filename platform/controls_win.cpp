#include "platform/controls.h"

#include <windows.h>
#include <commctrl.h>

#include "platform/encoding.h"

namespace vt::platform {
namespace {

bool hasClass(HWND window, const wchar_t* name) {
  wchar_t buffer[64] = {};
  return GetClassNameW(window, buffer, 64) > 0 && lstrcmpiW(buffer, name) == 0;
}

bool isTabControl(HWND window) { return window && hasClass(window, WC_TABCONTROLW); }

HWND sheetOfTab(HWND tabControl, int index) {
  TCITEMW item{};
  item.mask = TCIF_PARAM;
  if (!SendMessageW(tabControl, TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)))
    return nullptr;
  return reinterpret_cast<HWND>(item.lParam);
}

class Win32Control final : public WindowedControl {
public:
  Win32Control(Win32Controls& tree, HWND window) : tree_(tree), window_(window) {}

  ControlKind kind() const override {
    if (!(GetWindowLongPtrW(window_, GWL_STYLE) & WS_CHILD)) return ControlKind::Form;
    if (isTabControl(window_)) return ControlKind::PageControl;
    if (isTabControl(GetParent(window_))) return ControlKind::TabSheet;
    return ControlKind::Other;
  }

  WindowedControl* parent() const override {
    if (!(GetWindowLongPtrW(window_, GWL_STYLE) & WS_CHILD)) return nullptr;
    HWND up = GetParent(window_);
    return up ? &tree_.control(up) : nullptr;
  }

  ScreenPoint clientToScreen(ScreenPoint client) const override {
    POINT p{client.x, client.y};
    ClientToScreen(window_, &p);
    return {p.x, p.y};
  }

  void setActivePage(WindowedControl& sheet) override {
    if (!isTabControl(window_)) return;
    auto* target = dynamic_cast<Win32Control*>(&sheet);
    if (!target) return;
    const int count = static_cast<int>(SendMessageW(window_, TCM_GETITEMCOUNT, 0, 0));
    int chosen = -1;
    for (int i = 0; i < count; ++i)
      if (sheetOfTab(window_, i) == target->window_) chosen = i;
    if (chosen < 0) return;
    // Selecting a tab by message does not notify: the sheets are shown here.
    SendMessageW(window_, TCM_SETCURSEL, static_cast<WPARAM>(chosen), 0);
    for (int i = 0; i < count; ++i)
      if (HWND page = sheetOfTab(window_, i)) ShowWindow(page, i == chosen ? SW_SHOW : SW_HIDE);
  }

private:
  Win32Controls& tree_;
  HWND window_;
};

} // namespace

void moveCursor(ScreenPoint screen) { SetCursorPos(screen.x, screen.y); }

void Win32ComboBox::clear() { SendMessageW(window_, CB_RESETCONTENT, 0, 0); }

void Win32ComboBox::add(std::string_view item) {
  const std::wstring wide = utf8ToWide(item);
  SendMessageW(window_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

std::vector<std::string> Win32ComboBox::items() const {
  std::vector<std::string> result;
  const LRESULT count = SendMessageW(window_, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = SendMessageW(window_, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
    if (length < 0) continue;
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT got = SendMessageW(window_, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    result.push_back(wideToUtf8(text));
  }
  return result;
}

WindowedControl& Win32Controls::control(HWND__* window) {
  auto& slot = controls_[window];
  if (!slot) slot = std::make_unique<Win32Control>(*this, window);
  return *slot;
}

void Win32Controls::addTabSheet(HWND__* tabControl, HWND__* sheet, std::string_view caption) {
  std::wstring text = utf8ToWide(caption);
  TCITEMW item{};
  item.mask = TCIF_TEXT | TCIF_PARAM;
  item.pszText = text.data();
  item.lParam = reinterpret_cast<LPARAM>(sheet);
  const LRESULT count = SendMessageW(tabControl, TCM_GETITEMCOUNT, 0, 0);
  SendMessageW(tabControl, TCM_INSERTITEMW, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(&item));
  ShowWindow(sheet, count == 0 ? SW_SHOW : SW_HIDE);
}

HWND__* Win32Controls::selectedTabSheet(HWND__* tabControl) {
  const LRESULT selected = SendMessageW(tabControl, TCM_GETCURSEL, 0, 0);
  return selected < 0 ? nullptr : sheetOfTab(tabControl, static_cast<int>(selected));
}

} // namespace vt::platform
