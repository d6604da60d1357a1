#pragma once
// What a front end draws of the main window, and the points where it may
// repaint. The window's state lives in TfrmVantorim; a front end is told of
// each change and repaints only when the run lets window messages through
// (processMessages), as the native window does.
#include <cstdint>
#include <string>

namespace vt {

struct ProgressBarState {
  int64_t min = 0;
  int64_t max = 100;
  int64_t position = 0;
};

struct WindowState {
  std::string caption = "Vantorim Quorvelin";
  int tag = 0; // the start flag
  std::string status = "Conectando ... ";
  bool warningVisible = false;
  std::string memLog; // the on-screen log's whole text
  ProgressBarState pgbDownload{0, 100, 0};
  ProgressBarState pgbLauncher{0, 100, 0};
  bool waitCursor = false; // the application's mouse cursor is the wait cursor
};

inline constexpr const char* kWarningText = "Não utilize o PC até o fim do processo";

class WindowView {
public:
  virtual ~WindowView() = default;
  // The caption changed (the start-up checks empty it): the window's title.
  virtual void captionChanged(const WindowState&) {}
  virtual void statusChanged(const WindowState&) {}
  virtual void warningChanged(const WindowState&) {}
  virtual void logCleared(const WindowState&) {}
  // One entry: "- " + text + a line break, which the text box adds as one
  // new line of its own (so an empty line follows each entry on screen).
  virtual void logAppended(const WindowState&, const std::string& line) { (void)line; }
  virtual void launcherBarChanged(const WindowState&) {}
  virtual void downloadBarChanged(const WindowState&) {}
  // A transfer began; the download bar's maximum is its expected size.
  virtual void downloadBegan(const WindowState&) {}
  // The transfer ended, told before the bar returns to 0: the bar still
  // holds the last count received.
  virtual void downloadEnded(const WindowState&) {}
  // The application's mouse cursor became the wait cursor or the default one.
  virtual void cursorChanged(const WindowState&) {}
  // Pending window messages are processed: the window repaints and stays responsive.
  virtual void processMessages(const WindowState&) {}
  // An error no phase caught: the platform's default handler shows its text.
  virtual void showException(const std::string& text) { (void)text; }
  // The platform's quit request: the process ends once control returns to
  // the message loop. Whatever runs until then (the next start-up check, its
  // message box) goes on as if nothing had been asked.
  virtual void requestTermination() {}
};

} // namespace vt
