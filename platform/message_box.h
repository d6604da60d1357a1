#pragma once
// Modal message boxes. The Windows front end shows MessageBoxW; the console
// front end of the Linux build prints the box and reads the answer; tests use
// a scripted one (tests/support).
#include <iosfwd>
#include <memory>
#include <string>

namespace vt::platform {

// Styles and answers with the values of the Windows API.
namespace mb {
constexpr unsigned kOk = 0x00;
constexpr unsigned kYesNo = 0x04;
constexpr unsigned kIconExclamation = 0x30;
constexpr unsigned kIconInformation = 0x40;
constexpr int kIdOk = 1;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;
} // namespace mb

class MessageUi {
public:
  virtual ~MessageUi() = default;
  // Shows a modal box and returns the button pressed (mb::kIdOk, kIdYes, kIdNo).
  virtual int show(const std::string& text, const std::string& caption, unsigned style) = 0;
};

// The console front end: prints
//   [<caption>] <text>            (a notice; answered OK at once)
//   [<caption>] <text> (s/n)?     (a question)
// and reads the answer line for a question: "s"/"S"/"sim" is Yes, "n"/"N"/"não"
// is No, anything else asks again; end of input answers No. A line break of
// the text, carriage return and line feed or a carriage return alone, is
// printed as a line feed.
class ConsoleMessageUi final : public MessageUi {
public:
  ConsoleMessageUi(std::istream& in, std::ostream& out) : in_(in), out_(out) {}
  int show(const std::string& text, const std::string& caption, unsigned style) override;
  // Answers that do not come from a terminal are not echoed: with this set,
  // the front end ends the prompt's line itself once it has read the answer,
  // so the next line of the console starts on a line of its own.
  void endAnsweredLines(bool on) { endAnsweredLines_ = on; }

private:
  std::istream& in_;
  std::ostream& out_;
  bool endAnsweredLines_ = false;
};

// The platform's own boxes: MessageBoxW owned by the active window on Windows,
// the console front end on standard input and output elsewhere.
std::unique_ptr<MessageUi> makeNativeMessageUi();

} // namespace vt::platform
