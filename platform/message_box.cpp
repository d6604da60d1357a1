#include "platform/message_box.h"

#include <istream>
#include <ostream>

namespace vt::platform {

int ConsoleMessageUi::show(const std::string& text, const std::string& caption, unsigned style) {
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
