#include <termios.h>
#include <unistd.h>

#include "platform/console_echo.h"

namespace vt::platform {

bool standardInputIsTerminal() { return ::isatty(STDIN_FILENO) == 1; }

bool standardOutputIsTerminal() { return ::isatty(STDOUT_FILENO) == 1; }

ConsoleEchoOff::ConsoleEchoOff() {
  termios mode{};
  if (!standardInputIsTerminal() || ::tcgetattr(STDIN_FILENO, &mode) != 0) return;
  saved_ = mode.c_lflag & (ECHO | ECHONL);
  mode.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL);
  // At once, keeping what was typed ahead (the next answers of the run).
  active_ = ::tcsetattr(STDIN_FILENO, TCSANOW, &mode) == 0;
}

ConsoleEchoOff::~ConsoleEchoOff() {
  termios mode{};
  if (!active_ || ::tcgetattr(STDIN_FILENO, &mode) != 0) return;
  mode.c_lflag |= static_cast<tcflag_t>(saved_);
  ::tcsetattr(STDIN_FILENO, TCSANOW, &mode);
}

} // namespace vt::platform
