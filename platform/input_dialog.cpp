#include "platform/input_dialog.h"

#include <istream>
#include <ostream>

namespace vt::platform {

bool ConsoleInputUi::inputQuery(const std::string& caption, const std::string& prompt, std::string& value) {
  out_ << "[" << caption << "] " << prompt << " " << std::flush;
  std::string line;
  if (!std::getline(in_, line)) {
    out_ << '\n' << std::flush;
    return false;
  }
  if (endAnsweredLines_) out_ << '\n' << std::flush;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  value = std::move(line);
  return true;
}

} // namespace vt::platform
