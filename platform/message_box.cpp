#include "platform/message_box.h"

#include <istream>
#include <ostream>
#include <string>

namespace vt::platform {

namespace {
// A box's line breaks as the console shows them: a carriage return alone
// (texts written for Windows boxes use it as a line break) would move the
// cursor back and let the next line overwrite the first.
std::string consoleLines(const std::string& text) {
  std::string lines;
  lines.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r') {
      lines += text[i];
    } else if (i + 1 >= text.size() || text[i + 1] != '\n') {
      lines += '\n';
    }
  }
  return lines;
}
} // namespace

int ConsoleMessageUi::show(const std::string& boxText, const std::string& caption, unsigned style) {
  const std::string text = consoleLines(boxText);
  const bool question = (style & 0x0F) == mb::kYesNo;
  if (!question) {
    out_ << "[" << caption << "] " << text << '\n' << std::flush;
    return mb::kIdOk;
  }
  for (;;) {
    out_ << "[" << caption << "] " << text << " (s/n)? " << std::flush;
    std::string answer;
    if (!std::getline(in_, answer)) {
      out_ << '\n' << std::flush;
      return mb::kIdNo;
    }
    if (endAnsweredLines_) out_ << '\n' << std::flush;
    if (!answer.empty() && answer.back() == '\r') answer.pop_back();
    if (answer == "s" || answer == "S" || answer == "sim" || answer == "Sim") return mb::kIdYes;
    if (answer == "n" || answer == "N" || answer == "não" || answer == "Não" || answer == "nao") return mb::kIdNo;
  }
}

} // namespace vt::platform
