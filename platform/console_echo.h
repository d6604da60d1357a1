#pragma once
// Typing that the console must not show (a password read on standard input).
namespace vt::platform {

// True when standard input is an interactive terminal (a console on Windows),
// not a file or a pipe.
bool standardInputIsTerminal();

// True when standard output is an interactive terminal (a console on
// Windows): a line there can be redrawn in place.
bool standardOutputIsTerminal();

// While it lives, characters typed on the terminal of standard input are not
// echoed; the terminal's previous mode comes back when it ends. Does nothing
// when standard input is not a terminal.
class ConsoleEchoOff {
public:
  ConsoleEchoOff();
  ~ConsoleEchoOff();
  ConsoleEchoOff(const ConsoleEchoOff&) = delete;
  ConsoleEchoOff& operator=(const ConsoleEchoOff&) = delete;

  // True when the echo was really turned off.
  bool active() const { return active_; }

private:
  bool active_ = false;
  unsigned long saved_ = 0; // what the mode held before (POSIX: only its echo flags)
};

} // namespace vt::platform
