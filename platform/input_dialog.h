#pragma once
// The platform's modal text-input dialog: a caption, a prompt, an edit box
// and OK and Cancel. The Windows front end shows a native dialog; the console
// front end prints the prompt and reads one line; tests answer from a script.
#include <string>

namespace vt::platform {

class InputUi {
public:
  virtual ~InputUi() = default;
  // True with the typed text in `value` when the user confirmed; false, with
  // `value` as it was, when the user cancelled.
  virtual bool inputQuery(const std::string& caption, const std::string& prompt, std::string& value) = 0;
};

} // namespace vt::platform
