#pragma once
// The password keypad on the console: prints
//   [<caption>] <label>    (a blank after the label)
// and reads one line, without echo when it reads standard input on a
// terminal. The line is typed into the dialog's edit (its 255-character limit
// applies) and confirmed with OK; end of input is Cancel.
#include <iosfwd>

#include "dialogs/password_keypad.h"

namespace vt {

class ConsoleKeypad final : public KeypadPresenter {
public:
  // hideTyping: turn the terminal's echo off while the line is read (only
  // meaningful when `in` is standard input).
  ConsoleKeypad(std::istream& in, std::ostream& out, bool hideTyping) : in_(in), out_(out), hideTyping_(hideTyping) {}
  void showModal(TfrmSenhaAdmin& form) override;
  // Answers that do not come from a terminal are not echoed: with this set,
  // the front end ends the prompt's line itself once it has read the answer,
  // so the next line of the console starts on a line of its own.
  void endAnsweredLines(bool on) { endAnsweredLines_ = on; }

private:
  std::istream& in_;
  std::ostream& out_;
  bool hideTyping_;
  bool endAnsweredLines_ = false;
};

// The console keypad on standard input and output; the typing is hidden when
// standard input is a terminal.
ConsoleKeypad makeStandardConsoleKeypad();

} // namespace vt
