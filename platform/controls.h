#pragma once
// The least of the suite's screen controls the utility module works on: the
// items of a combo box, and windowed controls with their parents, page
// controls and tab sheets. The suite's toolkits implement these interfaces;
// Windows has implementations over real Win32 windows (a combo box, a tab
// control whose tabs carry their sheets' windows). The mouse cursor is moved
// on Windows; the POSIX port has no pointer to move, and leaves it.
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct HWND__;

namespace vt::platform {

// A combo box's list of items, as the utility module empties and fills it.
class ComboItems {
public:
  virtual ~ComboItems() = default;
  virtual void clear() = 0;
  virtual void add(std::string_view item) = 0;
};

// A combo box's items kept in memory, for front ends without a combo box
// of their own (the console, the command-line tools).
class ComboItemList final : public ComboItems {
public:
  void clear() override { items.clear(); }
  void add(std::string_view item) override { items.emplace_back(item); }
  std::vector<std::string> items;
};

struct ScreenPoint {
  int x = 0;
  int y = 0;
  bool operator==(const ScreenPoint&) const = default;
};

enum class ControlKind { Form, PageControl, TabSheet, Other };

// A windowed control: it has a kind, a parent (none above a form that stands
// alone) and a client area. A page control shows one of its tab sheets.
class WindowedControl {
public:
  virtual ~WindowedControl() = default;
  virtual ControlKind kind() const = 0;
  virtual WindowedControl* parent() const = 0;
  virtual ScreenPoint clientToScreen(ScreenPoint client) const = 0;
  // Page controls: makes `sheet` the active page. A sheet that is not one of
  // this control's pages changes nothing. Other kinds ignore it.
  virtual void setActivePage(WindowedControl& sheet) = 0;
};

// Moves the mouse cursor to a point of the screen (nothing on POSIX).
void moveCursor(ScreenPoint screen);

#ifdef _WIN32
// A Win32 combo box window ("COMBOBOX"): CB_RESETCONTENT and CB_ADDSTRING.
class Win32ComboBox final : public ComboItems {
public:
  explicit Win32ComboBox(HWND__* window) : window_(window) {}
  void clear() override;
  void add(std::string_view item) override;
  // The items as the window holds them.
  std::vector<std::string> items() const;

private:
  HWND__* window_;
};

// The windowed controls of Win32 windows. A top-level window is a form, a
// tab control ("SysTabControl32") a page control, and a child window of a
// tab control a tab sheet; each tab of a tab control carries its sheet's
// window (addTabSheet), and the active page is the selected tab with its
// sheet shown and the others hidden. The wrappers live as long as this object.
class Win32Controls {
public:
  WindowedControl& control(HWND__* window);
  // Adds a tab for `sheet` (a child window of `tabControl`): the first one
  // becomes the shown page, later ones are hidden.
  static void addTabSheet(HWND__* tabControl, HWND__* sheet, std::string_view caption);
  // The sheet window of the selected tab; null when none is selected.
  static HWND__* selectedTabSheet(HWND__* tabControl);

private:
  std::map<HWND__*, std::unique_ptr<WindowedControl>> controls_;
};
#endif

} // namespace vt::platform
