#pragma once
// The Linux front end: the window's changes as lines on standard output.
//   status: <text>         the status line changed
//   aviso: <text>          the warning line was shown
//   - <entry>              an entry of the on-screen log
//   download: <n> bytes    a download began (its expected size)
//   erro: <text>           an error no phase caught
// Message boxes print through the console message front end and read their
// answer from standard input.
//
// On a terminal a download is one line instead, redrawn in place as the bytes
// arrive ("download: <received> / <total> bytes (<p>%), <rate>"), and ended
// with its last count when the transfer ends. Any other line first ends an
// open download line, so nothing is drawn over it. Output that is not a
// terminal (a file, a pipe) gets the plain lines above and nothing else.
#include <chrono>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>

#include "launcher/window_view.h"

namespace vt {

class ConsoleView final : public WindowView {
public:
  using Clock = std::function<std::chrono::steady_clock::time_point()>;

  explicit ConsoleView(std::ostream& out, bool terminal = false, Clock clock = {});
  void statusChanged(const WindowState& state) override;
  void warningChanged(const WindowState& state) override;
  void logAppended(const WindowState& state, const std::string& line) override;
  void downloadBegan(const WindowState& state) override;
  void downloadBarChanged(const WindowState& state) override;
  void downloadEnded(const WindowState& state) override;
  void showException(const std::string& text) override;

  // The least time between two redraws of the download line: a terminal is
  // not asked to redraw for each piece that arrives.
  static constexpr std::chrono::milliseconds kRedrawInterval{100};

private:
  void endDownloadLine();
  void drawDownloadLine(std::chrono::steady_clock::time_point now);

  std::ostream& out_;
  bool terminal_;
  Clock clock_;
  // The open download line (terminal only).
  bool downloadLineOpen_ = false;
  int64_t downloadTotal_ = 0;
  int64_t downloadReceived_ = 0;
  int64_t drawnCount_ = 0; // the count the line shows
  std::chrono::steady_clock::time_point downloadStart_{};
  std::chrono::steady_clock::time_point lastDraw_{};
};

// "<received> / <total> bytes (<p>%), <rate>" of the download line; the rate
// is left out while no time has passed.
std::string downloadProgressText(int64_t received, int64_t total, std::chrono::nanoseconds elapsed);

} // namespace vt
