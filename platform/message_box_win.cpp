#include <windows.h>

#include "platform/encoding.h"
#include "platform/message_box.h"

namespace vt::platform {
namespace {

class Win32MessageUi final : public MessageUi {
public:
  int show(const std::string& text, const std::string& caption, unsigned style) override {
    // Without a display (a headless test run under Wine) the box cannot
    // appear and MessageBoxW answers 0 or -1 at once; that counts as OK, or
    // as No for a question, never as Yes.
    int answer = MessageBoxW(GetActiveWindow(), utf8ToWide(text).c_str(), utf8ToWide(caption).c_str(), style);
    if (answer <= 0) return ((style & 0x0F) == mb::kYesNo) ? mb::kIdNo : mb::kIdOk;
    return answer;
  }
};

} // namespace

std::unique_ptr<MessageUi> makeNativeMessageUi() { return std::make_unique<Win32MessageUi>(); }

} // namespace vt::platform
