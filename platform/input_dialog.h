#pragma once
// The platform's modal text-input dialog: a caption, a prompt, an edit box
// and OK and Cancel. The Windows front end shows a native dialog; the console
// front end prints the prompt and reads one line; tests answer from a script.
#include <iosfwd>
#include <memory>
#include <string>

namespace vt::platform {

class InputUi {
public:
  virtual ~InputUi() = default;
  // True with the typed text in `value` when the user confirmed; false, with
  // `value` as it was, when the user cancelled.
  virtual bool inputQuery(const std::string& caption, const std::string& prompt, std::string& value) = 0;
};

// The console front end: prints
//   [<caption>] <prompt>   (a blank after the prompt)
// and reads one line, which becomes the value (a carriage return before the
// line end is dropped); end of input is Cancel.
class ConsoleInputUi final : public InputUi {
public:
  ConsoleInputUi(std::istream& in, std::ostream& out) : in_(in), out_(out) {}
  bool inputQuery(const std::string& caption, const std::string& prompt, std::string& value) override;
  // Answers that do not come from a terminal are not echoed: with this set,
  // the front end ends the prompt's line itself once it has read the answer,
  // so the next line of the console starts on a line of its own.
  void endAnsweredLines(bool on) { endAnsweredLines_ = on; }

private:
  std::istream& in_;
  std::ostream& out_;
  bool endAnsweredLines_ = false;
};

// The platform's own dialog: a Win32 dialog owned by the active window on
// Windows (the edit starts with `value`, OK is the default button, Esc and the
// close box cancel), the console front end on standard input and output
// elsewhere.
std::unique_ptr<InputUi> makeNativeInputUi();

} // namespace vt::platform
