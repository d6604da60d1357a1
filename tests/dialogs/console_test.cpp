// The console front ends of the keypad and of the text-input dialog, and the
// terminal echo the keypad turns off.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <streambuf>
#include <vector>

#include "dialogs/forms.h"
#include "platform/console_echo.h"
#include "platform/input_dialog.h"
#include "platform/message_box.h"
#include "ui/console_keypad.h"

#ifndef _WIN32
#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace vt {
namespace {

struct ConsoleAnswer {
  bool confirmed;
  std::string password;
  std::string printed;
};

ConsoleAnswer askOnConsole(std::istream& in, int tag, bool hideTyping) {
  std::ostringstream out;
  ConsoleKeypad keypad(in, out, hideTyping);
  TdmForms forms;
  forms.attachKeypad(keypad);
  std::string password = "antes";
  const bool confirmed = forms.formSenhaAdmin(tag, password);
  return {confirmed, password, out.str()};
}

ConsoleAnswer askOnConsole(const std::string& typed, int tag = 2, bool hideTyping = false) {
  std::istringstream in(typed);
  return askOnConsole(in, tag, hideTyping);
}

TEST(ConsoleKeypad, PrintsTheCaptionAndLabelAndReadsOneLine) {
  struct Case {
    const char* name;
    std::string typed;
    int tag;
    bool confirmed;
    std::string password;
    std::string printed;
  } cases[] = {
      {"a line", "Segredo\nresto\n", 2, true, "Segredo", "[Senha do Desenvolvimento] Digite a Senha Desenvolvedor: "},
      {"CR LF", "abc\r\n", 2, true, "abc", "[Senha do Desenvolvimento] Digite a Senha Desenvolvedor: "},
      {"the last line without its end", "abc", 2, true, "abc",
       "[Senha do Desenvolvimento] Digite a Senha Desenvolvedor: "},
      {"an empty line", "\n", 2, true, "", "[Senha do Desenvolvimento] Digite a Senha Desenvolvedor: "},
      {"end of input", "", 2, false, "antes", "[Senha do Desenvolvimento] Digite a Senha Desenvolvedor: \n"},
      {"another tag", "x\n", 0, true, "x", "[Acesso Restrito] Digite a Senha do Administrador:  "},
      {"the administrator's tag", "x\n", 1, true, "x", "[Senha do Administrador] Digite a Senha do Administrador:  "},
  };
  for (const auto& c : cases) {
    const ConsoleAnswer answer = askOnConsole(c.typed, c.tag);
    EXPECT_EQ(answer.confirmed, c.confirmed) << c.name;
    EXPECT_EQ(answer.password, c.password) << c.name;
    EXPECT_EQ(answer.printed, c.printed) << c.name;
  }
}

TEST(ConsoleKeypad, TheLineIsTypedIntoTheEdit) {
  EXPECT_EQ(askOnConsole(std::string(300, '9') + "\n").password, std::string(255, '9'));
  // Hiding asked for, but the input is no terminal: nothing changes on screen.
  EXPECT_EQ(askOnConsole("abc\n", 2, true).printed, "[Senha do Desenvolvimento] Digite a Senha Desenvolvedor: ");
}

TEST(ConsoleInputUi, PrintsCaptionAndPromptAndReadsOneLine) {
  struct Case {
    const char* name;
    std::string typed;
    bool confirmed;
    std::string value;
    std::string printed;
  } cases[] = {
      {"a handle", "53\n", true, "53", "[Configuração Inicial] Digite o handle: "},
      {"CR LF", "12a\r\n", true, "12a", "[Configuração Inicial] Digite o handle: "},
      {"blanks kept", " 7 \n", true, " 7 ", "[Configuração Inicial] Digite o handle: "},
      {"an empty line", "\n", true, "", "[Configuração Inicial] Digite o handle: "},
      {"end of input", "", false, "antes", "[Configuração Inicial] Digite o handle: \n"},
  };
  for (const auto& c : cases) {
    std::istringstream in(c.typed);
    std::ostringstream out;
    platform::ConsoleInputUi input(in, out);
    std::string value = "antes";
    EXPECT_EQ(input.inputQuery("Configuração Inicial", "Digite o handle:", value), c.confirmed) << c.name;
    EXPECT_EQ(value, c.value) << c.name;
    EXPECT_EQ(out.str(), c.printed) << c.name;
  }
}

TEST(ConsoleInputUi, EachQueryReadsTheNextLine) {
  std::istringstream in("1\n2\n");
  std::ostringstream out;
  platform::ConsoleInputUi input(in, out);
  std::string a, b, c = "antes";
  EXPECT_TRUE(input.inputQuery("A", "a:", a));
  EXPECT_TRUE(input.inputQuery("B", "b:", b));
  EXPECT_FALSE(input.inputQuery("C", "c:", c));
  EXPECT_EQ(a + b + c, "12antes");
  EXPECT_EQ(out.str(), "[A] a: [B] b: [C] c: \n");
}

#ifndef _WIN32
// Standard input on a pseudo-terminal for the life of the object.
class StdinOnTerminal {
public:
  StdinOnTerminal() {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) return;
    const int terminal = ::open(::ptsname(master_), O_RDWR | O_NOCTTY);
    if (terminal < 0) return;
    saved_ = ::dup(STDIN_FILENO);
    ::dup2(terminal, STDIN_FILENO);
    ::close(terminal);
  }
  ~StdinOnTerminal() {
    if (saved_ >= 0) {
      ::dup2(saved_, STDIN_FILENO);
      ::close(saved_);
    }
    if (master_ >= 0) ::close(master_);
  }
  bool ready() const { return saved_ >= 0; }
  bool echoes() const {
    termios mode{};
    ::tcgetattr(STDIN_FILENO, &mode);
    return (mode.c_lflag & ECHO) != 0;
  }

private:
  int master_ = -1;
  int saved_ = -1;
};

TEST(ConsoleEchoOff, TurnsTheTerminalsEchoOffAndBack) {
  StdinOnTerminal terminal;
  ASSERT_TRUE(terminal.ready());
  ASSERT_TRUE(platform::standardInputIsTerminal());
  ASSERT_TRUE(terminal.echoes());
  {
    platform::ConsoleEchoOff off;
    EXPECT_TRUE(off.active());
    EXPECT_FALSE(terminal.echoes());
  }
  EXPECT_TRUE(terminal.echoes());
}

TEST(ConsoleEchoOff, DoesNothingWhenStandardInputIsNoTerminal) {
  const int saved = ::dup(STDIN_FILENO);
  const int devNull = ::open("/dev/null", O_RDONLY);
  ::dup2(devNull, STDIN_FILENO);
  ::close(devNull);
  const bool terminal = platform::standardInputIsTerminal();
  bool active;
  {
    platform::ConsoleEchoOff off;
    active = off.active();
  }
  ::dup2(saved, STDIN_FILENO);
  ::close(saved);
  EXPECT_FALSE(terminal);
  EXPECT_FALSE(active);
}

// A stream of the given text, one character at a time, that notes whether
// the terminal echoed while each character was read.
class EchoProbe : public std::streambuf {
public:
  EchoProbe(std::string text, const StdinOnTerminal& terminal) : text_(std::move(text)), terminal_(terminal) {}
  std::vector<bool> echoWhileRead;

protected:
  int_type underflow() override {
    echoWhileRead.push_back(terminal_.echoes());
    if (pos_ >= text_.size()) return traits_type::eof();
    current_ = text_[pos_++];
    setg(&current_, &current_, &current_ + 1);
    return traits_type::to_int_type(current_);
  }

private:
  std::string text_;
  std::size_t pos_ = 0;
  char current_ = 0;
  const StdinOnTerminal& terminal_;
};

TEST(ConsoleKeypad, OnATerminalTheLineIsReadWithoutEcho) {
  StdinOnTerminal terminal;
  ASSERT_TRUE(terminal.ready());
  EchoProbe probe("ab\n", terminal);
  std::istream in(&probe);
  const ConsoleAnswer answer = askOnConsole(in, 2, true);
  EXPECT_TRUE(answer.confirmed);
  EXPECT_EQ(answer.password, "ab");
  EXPECT_EQ(probe.echoWhileRead, (std::vector<bool>{false, false, false}));
  // The Enter the terminal did not show is printed.
  EXPECT_EQ(answer.printed, "[Senha do Desenvolvimento] Digite a Senha Desenvolvedor: \n");
  EXPECT_TRUE(terminal.echoes());

  // Without hiding, the terminal echoes as it did.
  EchoProbe shown("c\n", terminal);
  std::istream shownIn(&shown);
  EXPECT_EQ(askOnConsole(shownIn, 2, false).password, "c");
  EXPECT_EQ(shown.echoWhileRead, (std::vector<bool>{true, true}));
}
#endif

} // namespace
} // namespace vt

namespace vt {
namespace {

// Answers piped in are not echoed: with endAnsweredLines each front end ends
// the prompt's line itself, so what follows starts on a line of its own.
TEST(ConsoleFrontEnds, AnswersThatAreNotEchoedEndTheirPromptLine) {
  std::istringstream in("segredo\n1200\nsim\n");
  std::ostringstream out;
  ConsoleKeypad keypad(in, out, false);
  keypad.endAnsweredLines(true);
  TdmForms forms;
  forms.attachKeypad(keypad);
  platform::ConsoleInputUi input(in, out);
  input.endAnsweredLines(true);
  platform::ConsoleMessageUi box(in, out);
  box.endAnsweredLines(true);

  std::string password, handle;
  ASSERT_TRUE(forms.formSenhaAdmin(2, password));
  ASSERT_TRUE(input.inputQuery("Configuração Inicial", "Handle:", handle));
  EXPECT_EQ(box.show("Continua?", "Informação", platform::mb::kYesNo), platform::mb::kIdYes);
  EXPECT_EQ(password, "segredo");
  EXPECT_EQ(handle, "1200");
  EXPECT_EQ(out.str(), "[Senha do Desenvolvimento] Digite a Senha Desenvolvedor: \n"
                       "[Configuração Inicial] Handle: \n"
                       "[Informação] Continua? (s/n)? \n");
}

} // namespace
} // namespace vt
