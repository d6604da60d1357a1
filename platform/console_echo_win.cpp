#include <windows.h>

#include "platform/console_echo.h"

namespace vt::platform {

bool standardInputIsTerminal() {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) != 0;
}

bool standardOutputIsTerminal() {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode) != 0;
}

ConsoleEchoOff::ConsoleEchoOff() {
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  DWORD mode = 0;
  if (!GetConsoleMode(input, &mode)) return;
  saved_ = mode;
  active_ = SetConsoleMode(input, mode & ~static_cast<DWORD>(ENABLE_ECHO_INPUT)) != 0;
}

ConsoleEchoOff::~ConsoleEchoOff() {
  if (active_) SetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), static_cast<DWORD>(saved_));
}

} // namespace vt::platform
