#include "ui/console_view.h"

#include <ostream>

namespace vt {

void ConsoleView::statusChanged(const WindowState& state) { out_ << "status: " << state.status << '\n' << std::flush; }

void ConsoleView::warningChanged(const WindowState& state) {
  if (state.warningVisible) out_ << "aviso: " << kWarningText << '\n' << std::flush;
}

void ConsoleView::logAppended(const WindowState&, const std::string& line) {
  // The entry as the on-screen log holds it, without its line break.
  std::string text = line;
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  out_ << text << '\n' << std::flush;
}

void ConsoleView::downloadBegan(const WindowState& state) {
  out_ << "download: " << state.pgbDownload.max << " bytes" << '\n' << std::flush;
}

void ConsoleView::showException(const std::string& text) { out_ << "erro: " << text << '\n' << std::flush; }

} // namespace vt
