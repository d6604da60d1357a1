#include "ui/console_view.h"

#include <cstdio>
#include <ostream>

namespace vt {

namespace {
// Back to the start of the line and clear it (ANSI "erase in line").
constexpr const char* kRedrawLine = "\r\x1b[K";
} // namespace

ConsoleView::ConsoleView(std::ostream& out, bool terminal, Clock clock)
    : out_(out), terminal_(terminal), clock_(clock ? std::move(clock) : Clock([] { return std::chrono::steady_clock::now(); })) {}

void ConsoleView::statusChanged(const WindowState& state) {
  endDownloadLine();
  out_ << "status: " << state.status << '\n' << std::flush;
}

void ConsoleView::warningChanged(const WindowState& state) {
  if (!state.warningVisible) return;
  endDownloadLine();
  out_ << "aviso: " << kWarningText << '\n' << std::flush;
}

void ConsoleView::logAppended(const WindowState&, const std::string& line) {
  endDownloadLine();
  // The entry as the on-screen log holds it, without its line break.
  std::string text = line;
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  out_ << text << '\n' << std::flush;
}

void ConsoleView::downloadBegan(const WindowState& state) {
  if (!terminal_) {
    out_ << "download: " << state.pgbDownload.max << " bytes" << '\n' << std::flush;
    return;
  }
  endDownloadLine();
  downloadLineOpen_ = true;
  downloadTotal_ = state.pgbDownload.max;
  downloadReceived_ = 0;
  downloadStart_ = clock_();
  drawDownloadLine(downloadStart_);
}

void ConsoleView::downloadBarChanged(const WindowState& state) {
  if (!downloadLineOpen_ || state.pgbDownload.position == downloadReceived_) return;
  downloadReceived_ = state.pgbDownload.position;
  const auto now = clock_();
  if (now - lastDraw_ >= kRedrawInterval) drawDownloadLine(now);
}

void ConsoleView::downloadEnded(const WindowState& state) {
  if (!downloadLineOpen_) return;
  downloadReceived_ = state.pgbDownload.position;
  // The last count stays on the line: drawn once more only when it is not there yet.
  if (downloadReceived_ != drawnCount_) drawDownloadLine(clock_());
  endDownloadLine();
}

void ConsoleView::showException(const std::string& text) {
  endDownloadLine();
  out_ << "erro: " << text << '\n' << std::flush;
}

void ConsoleView::endDownloadLine() {
  if (!downloadLineOpen_) return;
  downloadLineOpen_ = false;
  out_ << '\n' << std::flush;
}

void ConsoleView::drawDownloadLine(std::chrono::steady_clock::time_point now) {
  lastDraw_ = now;
  drawnCount_ = downloadReceived_;
  out_ << kRedrawLine << "download: " << downloadProgressText(downloadReceived_, downloadTotal_, now - downloadStart_)
       << std::flush;
}

std::string downloadProgressText(int64_t received, int64_t total, std::chrono::nanoseconds elapsed) {
  std::string text = std::to_string(received) + " / " + std::to_string(total) + " bytes";
  if (total > 0) text += " (" + std::to_string(received * 100 / total) + "%)";
  const double seconds = std::chrono::duration<double>(elapsed).count();
  if (seconds > 0) {
    const double perSecond = static_cast<double>(received) / seconds;
    char rate[32];
    if (perSecond >= 1e6)
      std::snprintf(rate, sizeof rate, "%.1f MB/s", perSecond / 1e6);
    else if (perSecond >= 1e3)
      std::snprintf(rate, sizeof rate, "%.1f kB/s", perSecond / 1e3);
    else
      std::snprintf(rate, sizeof rate, "%.0f B/s", perSecond);
    text += ", ";
    text += rate;
  }
  return text;
}

} // namespace vt
