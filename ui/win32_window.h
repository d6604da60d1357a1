#pragma once
// The native Windows front end of the main window: a borderless 400 x 250
// panel centred on the screen, with the status and warning lines, the
// on-screen log and the two progress bars. The window repaints only when the
// run lets messages through (processMessages), inside message boxes, and in
// the message loop.
#ifdef _WIN32
#include <windows.h>

#include "launcher/window_view.h"

namespace vt {

class TfrmVantorim;

class Win32Window final : public WindowView {
public:
  Win32Window();
  ~Win32Window() override;
  Win32Window(const Win32Window&) = delete;
  Win32Window& operator=(const Win32Window&) = delete;

  // Creates the window (hidden). The form is joined before it is shown.
  bool create(HINSTANCE instance);
  void attach(TfrmVantorim& form) { form_ = &form; }
  // Shows the window and runs the message loop until termination; returns the exit code.
  int run(int showCommand);
  HWND handle() const { return hwnd_; }

  void captionChanged(const WindowState& state) override;
  void statusChanged(const WindowState& state) override;
  void warningChanged(const WindowState& state) override;
  void logCleared(const WindowState& state) override;
  void logAppended(const WindowState& state, const std::string& line) override;
  void launcherBarChanged(const WindowState& state) override;
  void downloadBarChanged(const WindowState& state) override;
  void processMessages(const WindowState& state) override;
  void cursorChanged(const WindowState& state) override;
  void showException(const std::string& text) override;
  void requestTermination() override;

private:
  static LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT handle(UINT msg, WPARAM wParam, LPARAM lParam);
  void paint(HDC dc);
  void drawLabel(HDC dc, HFONT font, COLORREF colour, RECT box, const std::wstring& text, UINT format);

  TfrmVantorim* form_ = nullptr;
  HWND hwnd_ = nullptr;
  HWND memLog_ = nullptr;
  HWND pgbDownload_ = nullptr;
  HWND pgbLauncher_ = nullptr;
  HFONT fontDefault_ = nullptr, fontTitle_ = nullptr, fontWarning_ = nullptr, fontStatus_ = nullptr, fontLog_ = nullptr;
  HBRUSH whiteBrush_ = nullptr;
  bool shown_ = false;
  bool activated_ = false;
  bool terminationRequested_ = false;
  bool waitCursor_ = false;
};

} // namespace vt
#endif
