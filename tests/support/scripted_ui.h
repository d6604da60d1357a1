#pragma once
// A message-box front end for tests: records every box shown and answers
// questions from a list (No once the list runs out).
#include <deque>
#include <string>
#include <vector>

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
    if ((style & 0x0F) != platform::mb::kYesNo) return platform::mb::kIdOk;
    if (answers.empty()) return platform::mb::kIdNo;
    bool yes = answers.front();
    answers.pop_front();
    return yes ? platform::mb::kIdYes : platform::mb::kIdNo;
  }

  std::deque<bool> answers; // true = Yes
  std::vector<ShownBox> shown;
};

} // namespace vt::test
