#include "ui/console_keypad.h"

#include <iostream>
#include <optional>
#include <string>

#include "platform/console_echo.h"

namespace vt {

void ConsoleKeypad::showModal(TfrmSenhaAdmin& form) {
  out_ << "[" << form.Caption << "] " << form.lblInfo.Caption << " " << std::flush;
  std::string line;
  bool read = false;
  bool echoWasOff = false;
  {
    std::optional<platform::ConsoleEchoOff> echoOff;
    if (hideTyping_) echoOff.emplace();
    echoWasOff = echoOff && echoOff->active();
    read = static_cast<bool>(std::getline(in_, line));
  }
  // The Enter that ended the line was not echoed either; nor is anything at
  // the end of input.
  if (echoWasOff || !read || (endAnsweredLines_ && !hideTyping_)) out_ << '\n' << std::flush;
  if (!read) {
    form.Close();
    return;
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  form.typeIntoEdit(line);
  if (form.ModalResult == mrNone) form.btnOK.Click();
}

ConsoleKeypad makeStandardConsoleKeypad() {
  return ConsoleKeypad(std::cin, std::cout, platform::standardInputIsTerminal());
}

} // namespace vt
