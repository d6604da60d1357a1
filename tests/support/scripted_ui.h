#pragma once
// Front ends for tests that answer from a script and record what was shown:
// message boxes (questions answered from a list, No once it runs out), the
// password keypad and the text-input dialog (answers from a list, Cancel once
// it runs out). A test that scripts the keypad links vt_dialogs.
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "dialogs/password_keypad.h"
#include "platform/input_dialog.h"
#include "platform/message_box.h"

namespace vt::test {

struct ShownBox {
  std::string text;
  std::string caption;
  unsigned style = 0;
};

class ScriptedMessageUi final : public platform::MessageUi {
public:
  int show(const std::string& text, const std::string& caption, unsigned style) override {
    shown.push_back({text, caption, style});
    if (onShow) onShow(shown.back());
    if ((style & 0x0F) != platform::mb::kYesNo) return platform::mb::kIdOk;
    if (answers.empty()) return platform::mb::kIdNo;
    bool yes = answers.front();
    answers.pop_front();
    return yes ? platform::mb::kIdYes : platform::mb::kIdNo;
  }

  std::deque<bool> answers; // true = Yes
  std::vector<ShownBox> shown;
  // Runs while the box is up, to look at the world at that moment.
  std::function<void(const ShownBox&)> onShow;
};

// One user's answer to the keypad: what they do with the open form.
struct KeypadAnswer {
  std::function<void(TfrmSenhaAdmin&)> act;

  // Types the text on the keyboard (the edit's limit applies) and clicks OK.
  static KeypadAnswer typed(std::string text) {
    return {[text = std::move(text)](TfrmSenhaAdmin& form) {
      form.typeIntoEdit(text);
      form.btnOK.Click();
    }};
  }
  static KeypadAnswer cancelled() {
    return {[](TfrmSenhaAdmin& form) { form.btnCancel.Click(); }};
  }
  // Anything else: clicks on the keypad, keys, a close request.
  static KeypadAnswer steps(std::function<void(TfrmSenhaAdmin&)> act) { return {std::move(act)}; }
};

struct ShownKeypad {
  int tag = 0;
  std::string caption;
  std::string label;
  bool keypadVisible = false;
  int width = 0, height = 0;
  // The edit's text and the modal result when the answer was given.
  std::string text;
  int modalResult = mrNone;
};

class ScriptedKeypad final : public KeypadPresenter {
public:
  void showModal(TfrmSenhaAdmin& form) override {
    ShownKeypad seen;
    seen.tag = form.Tag;
    seen.caption = form.Caption;
    seen.label = form.lblInfo.Caption;
    seen.keypadVisible = form.pnlTeclado.Visible;
    seen.width = form.Width, seen.height = form.Height;
    if (answers.empty()) {
      form.Close();
    } else {
      KeypadAnswer answer = std::move(answers.front());
      answers.pop_front();
      answer.act(form);
    }
    seen.text = form.edtSenha.Text;
    seen.modalResult = form.ModalResult;
    shown.push_back(std::move(seen));
  }

  std::deque<KeypadAnswer> answers;
  std::vector<ShownKeypad> shown;
};

struct ShownInput {
  std::string caption;
  std::string prompt;
  std::string initial;
};

class ScriptedInputUi final : public platform::InputUi {
public:
  bool inputQuery(const std::string& caption, const std::string& prompt, std::string& value) override {
    shown.push_back({caption, prompt, value});
    if (answers.empty()) return false;
    std::optional<std::string> answer = std::move(answers.front());
    answers.pop_front();
    if (!answer) return false;
    value = std::move(*answer);
    return true;
  }

  std::deque<std::optional<std::string>> answers; // std::nullopt = Cancel
  std::vector<ShownInput> shown;
};

} // namespace vt::test
