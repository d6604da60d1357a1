#pragma once
// The Linux front end: the window's changes as lines on standard output.
//   status: <text>         the status line changed
//   aviso: <text>          the warning line was shown
//   - <entry>              an entry of the on-screen log
//   download: <n> bytes    a download began (its expected size)
//   erro: <text>           an error no phase caught
// Message boxes print through the console message front end and read their
// answer from standard input.
#include <iosfwd>

#include "launcher/window_view.h"

namespace vt {

class ConsoleView final : public WindowView {
public:
  explicit ConsoleView(std::ostream& out) : out_(out) {}
  void statusChanged(const WindowState& state) override;
  void warningChanged(const WindowState& state) override;
  void logAppended(const WindowState& state, const std::string& line) override;
  void downloadBegan(const WindowState& state) override;
  void showException(const std::string& text) override;

private:
  std::ostream& out_;
};

} // namespace vt
