// The password keypad's model, shown through TdmForms::formSenhaAdmin with a
// scripted front end.
#include <gtest/gtest.h>

#include <array>
#include <stdexcept>
#include <string>
#include <vector>

#include "dialogs/forms.h"
#include "dmutils/dm_utils.h"
#include "platform/clock.h"
#include "tests/support/scripted_ui.h"

namespace vt {
namespace {

using test::KeypadAnswer;

struct KeypadFixture {
  test::ScriptedMessageUi ui;
  platform::ManualClock clock;
  TdmUtils dmUtils{clock, ui};
  TdmForms dmForms;
  test::ScriptedKeypad keypad;
  KeypadFixture() {
    dmUtils.attachForms(dmForms);
    dmForms.attachUtils(dmUtils);
    dmForms.attachKeypad(keypad);
  }
  // formSenhaAdmin(2, ...) with one scripted answer; the caller's variable
  // starts as «antes».
  std::pair<bool, std::string> ask(KeypadAnswer answer, int tag = 2) {
    keypad.answers.push_back(std::move(answer));
    std::string password = "antes";
    const bool confirmed = dmForms.formSenhaAdmin(tag, password);
    return {confirmed, password};
  }
};

TEST(formSenhaAdmin, ConfirmedAnswersGiveTheEditsText) {
  struct Case {
    const char* name;
    KeypadAnswer answer;
    std::string password;
  } cases[] = {
      {"typed, then OK", KeypadAnswer::typed("Senha 1"), "Senha 1"},
      {"OK on an empty edit", KeypadAnswer::typed(""), ""},
      {"keypad 1 2 3 <-", KeypadAnswer::steps([](TfrmSenhaAdmin& f) {
         f.btn1.Click();
         f.btn2.Click();
         f.btn3.Click();
         f.btnBackSpace.Click();
         f.btnOK.Click();
       }),
       "12"},
      {"Enter typed in the edit", KeypadAnswer::steps([](TfrmSenhaAdmin& f) { f.typeIntoEdit("abc\r"); }), "abc"},
      {"Enter ends the typing", KeypadAnswer::steps([](TfrmSenhaAdmin& f) { f.typeIntoEdit("ab\rcd"); }), "ab"},
      {"Backspace typed", KeypadAnswer::steps([](TfrmSenhaAdmin& f) { f.typeIntoEdit("ab\bc\r"); }), "ac"},
      {"every digit of the keypad", KeypadAnswer::steps([](TfrmSenhaAdmin& f) {
         for (TSpeedButton* key : f.keypadButtons())
           if (key != &f.btnBackSpace && key != &f.btnEsc) key->Click();
         f.btnOK.Click();
       }),
       "7894561230"},
      {"<- on an empty edit", KeypadAnswer::steps([](TfrmSenhaAdmin& f) {
         f.btnBackSpace.Click();
         f.btnOK.Click();
       }),
       ""},
      {"<- removes a whole accented letter", KeypadAnswer::steps([](TfrmSenhaAdmin& f) {
         f.typeIntoEdit("aé");
         f.btnBackSpace.Click();
         f.btnOK.Click();
       }),
       "a"},
  };
  for (auto& c : cases) {
    KeypadFixture f;
    EXPECT_EQ(f.ask(std::move(c.answer)), std::make_pair(true, c.password)) << c.name;
    ASSERT_EQ(f.keypad.shown.size(), 1u);
    EXPECT_EQ(f.keypad.shown[0].modalResult, mrOk) << c.name;
  }
}

TEST(formSenhaAdmin, EscEmptiesTheEditAndLeavesTheDialogOpen) {
  KeypadFixture f;
  int resultAfterEsc = -1;
  std::string textAfterEsc = "?";
  const auto [confirmed, password] = f.ask(KeypadAnswer::steps([&](TfrmSenhaAdmin& form) {
    form.typeIntoEdit("99");
    form.btn5.Click();
    form.btnEsc.Click();
    resultAfterEsc = form.ModalResult;
    textAfterEsc = form.edtSenha.Text;
    form.btn4.Click();
    form.btnOK.Click();
  }));
  EXPECT_EQ(resultAfterEsc, mrNone);
  EXPECT_EQ(textAfterEsc, "");
  EXPECT_TRUE(confirmed);
  EXPECT_EQ(password, "4");
}

TEST(formSenhaAdmin, CancelledOrClosedLeavesTheCallersVariable) {
  struct Case {
    const char* name;
    KeypadAnswer answer;
  } cases[] = {
      {"Cancelar", KeypadAnswer::steps([](TfrmSenhaAdmin& f) {
         f.typeIntoEdit("segredo");
         f.btnCancel.Click();
       })},
      {"a close request", KeypadAnswer::steps([](TfrmSenhaAdmin& f) {
         f.typeIntoEdit("segredo");
         f.Close();
       })},
      {"the front end returns without a result", KeypadAnswer::steps([](TfrmSenhaAdmin& f) { f.typeIntoEdit("x"); })},
      {"Cancelar at once", KeypadAnswer::cancelled()},
  };
  for (auto& c : cases) {
    KeypadFixture f;
    EXPECT_EQ(f.ask(std::move(c.answer)), std::make_pair(false, std::string("antes"))) << c.name;
  }
}

TEST(formSenhaAdmin, ARunOutScriptOrNoFrontEndIsCancel) {
  KeypadFixture f;
  std::string password = "antes";
  EXPECT_FALSE(f.dmForms.formSenhaAdmin(2, password));
  ASSERT_EQ(f.keypad.shown.size(), 1u);
  EXPECT_EQ(f.keypad.shown[0].modalResult, mrCancel);

  TdmForms alone;
  EXPECT_FALSE(alone.formSenhaAdmin(2, password));
  EXPECT_EQ(password, "antes");
}

TEST(formSenhaAdmin, OnlyOtherKeysThanEnterAreLeftToTheEdit) {
  KeypadFixture f;
  std::vector<int> results;
  f.ask(KeypadAnswer::steps([&](TfrmSenhaAdmin& form) {
    for (char32_t key : {U'a', U'\n', U'\t', U'\x1b', U'0'}) {
      char32_t k = key;
      form.edtSenhaKeyPress(k);
      results.push_back(form.ModalResult);
    }
    char32_t enter = 13;
    form.edtSenhaKeyPress(enter);
    results.push_back(form.ModalResult);
  }));
  EXPECT_EQ(results, (std::vector<int>{mrNone, mrNone, mrNone, mrNone, mrNone, mrOk}));
}

TEST(formSenhaAdmin, TheFormVariableNamesTheOpenDialogOnly) {
  KeypadFixture f;
  EXPECT_EQ(f.dmForms.frmSenhaAdmin, nullptr);
  const TfrmSenhaAdmin* seen = nullptr;
  bool sameForm = false;
  f.ask(KeypadAnswer::steps([&](TfrmSenhaAdmin& form) {
    seen = f.dmForms.frmSenhaAdmin;
    sameForm = seen == &form;
    form.btnOK.Click();
  }));
  EXPECT_TRUE(sameForm);
  EXPECT_EQ(f.dmForms.frmSenhaAdmin, nullptr);

  f.ask(KeypadAnswer::cancelled());
  EXPECT_EQ(f.dmForms.frmSenhaAdmin, nullptr);

  f.keypad.answers.push_back(KeypadAnswer::steps([](TfrmSenhaAdmin&) { throw std::runtime_error("front end failed"); }));
  std::string password;
  EXPECT_THROW(f.dmForms.formSenhaAdmin(2, password), std::runtime_error);
  EXPECT_EQ(f.dmForms.frmSenhaAdmin, nullptr);
}

TEST(formSenhaAdmin, EachCallShowsAFreshDialog) {
  KeypadFixture f;
  f.keypad.answers.push_back(KeypadAnswer::steps([](TfrmSenhaAdmin& form) {
    form.typeIntoEdit("primeira");
    form.btnCancel.Click();
  }));
  f.keypad.answers.push_back(KeypadAnswer::typed("x"));
  std::string password;
  EXPECT_FALSE(f.dmForms.formSenhaAdmin(2, password));
  EXPECT_TRUE(f.dmForms.formSenhaAdmin(2, password));
  EXPECT_EQ(password, "x");
}

TEST(TfrmSenhaAdmin, TheTagChoosesTheWording) {
  struct Case {
    int tag;
    const char* caption;
    const char* label;
  } cases[] = {
      {0, "Acesso Restrito", "Digite a Senha do Administrador: "},
      {1, "Senha do Administrador", "Digite a Senha do Administrador: "},
      {2, "Senha do Desenvolvimento", "Digite a Senha Desenvolvedor:"},
      {3, "Acesso Restrito", "Digite a Senha do Administrador: "},
      {-1, "Acesso Restrito", "Digite a Senha do Administrador: "},
  };
  for (const auto& c : cases) {
    KeypadFixture f;
    f.ask(KeypadAnswer::cancelled(), c.tag);
    ASSERT_EQ(f.keypad.shown.size(), 1u);
    EXPECT_EQ(f.keypad.shown[0].tag, c.tag);
    EXPECT_EQ(f.keypad.shown[0].caption, c.caption) << c.tag;
    EXPECT_EQ(f.keypad.shown[0].label, c.label) << c.tag;
  }
}

// Left, top, width, height and, last, the font size.
std::array<int, 5> box(const TControl& c) { return {c.Left, c.Top, c.Width, c.Height, c.FontSize}; }
std::array<int, 4> place(const TControl& c) { return {c.Left, c.Top, c.Width, c.Height}; }

TEST(TfrmSenhaAdmin, WithoutTouchTheCompactBoxKeepsTheDesignPositions) {
  KeypadFixture f;
  std::array<int, 5> label{}, edit{}, ok{}, cancel{};
  f.ask(KeypadAnswer::steps([&](TfrmSenhaAdmin& form) {
    label = box(form.lblInfo), edit = box(form.edtSenha), ok = box(form.btnOK), cancel = box(form.btnCancel);
    form.btnCancel.Click();
  }));
  ASSERT_EQ(f.keypad.shown.size(), 1u);
  EXPECT_EQ(f.keypad.shown[0].width, 282);
  EXPECT_EQ(f.keypad.shown[0].height, 135);
  EXPECT_FALSE(f.keypad.shown[0].keypadVisible);
  EXPECT_EQ(label, (std::array<int, 5>{17, 14, 0, 0, 8}));
  EXPECT_EQ(edit, (std::array<int, 5>{17, 30, 241, 21, 8}));
  EXPECT_EQ(ok, (std::array<int, 5>{59, 62, 75, 25, 8}));
  EXPECT_EQ(cancel, (std::array<int, 5>{141, 62, 75, 25, 8}));
}

TEST(TfrmSenhaAdmin, WithTouchTheKeypadShowsAndTheControlsGrow) {
  KeypadFixture f;
  f.dmUtils.gTouch = true;
  std::array<int, 5> label{}, edit{}, ok{}, cancel{};
  f.ask(KeypadAnswer::steps([&](TfrmSenhaAdmin& form) {
    label = box(form.lblInfo), edit = box(form.edtSenha), ok = box(form.btnOK), cancel = box(form.btnCancel);
    form.btnCancel.Click();
  }));
  ASSERT_EQ(f.keypad.shown.size(), 1u);
  EXPECT_EQ(f.keypad.shown[0].width, 347);
  EXPECT_EQ(f.keypad.shown[0].height, 396);
  EXPECT_TRUE(f.keypad.shown[0].keypadVisible);
  EXPECT_EQ(label, (std::array<int, 5>{17, 8, 0, 0, 12}));
  EXPECT_EQ(edit, (std::array<int, 5>{17, 30, 309, 21, 16}));
  EXPECT_EQ(ok, (std::array<int, 5>{17, 75, 90, 62, 14}));
  EXPECT_EQ(cancel, (std::array<int, 5>{237, 75, 90, 62, 14}));

  // The flag is read at each call.
  f.dmUtils.gTouch = false;
  f.ask(KeypadAnswer::cancelled());
  EXPECT_FALSE(f.keypad.shown[1].keypadVisible);
}

TEST(TfrmSenhaAdmin, DesignOfTheFormAndTheKeypad) {
  TfrmSenhaAdmin form;
  EXPECT_EQ(form.Caption, "Acesso Restrito");
  EXPECT_EQ(form.ClientWidth, 343);
  EXPECT_EQ(form.ClientHeight, 319);
  EXPECT_EQ(form.FontName, "Tahoma");
  EXPECT_EQ(form.FontSize, 8);
  EXPECT_EQ(form.edtSenha.PasswordChar, '*');
  EXPECT_EQ(form.edtSenha.MaxLength, 255u);
  EXPECT_EQ(form.btnOK.Caption, "OK");
  EXPECT_EQ(form.btnCancel.Caption, "Cancelar");
  EXPECT_LT(form.edtSenha.TabOrder, form.btnOK.TabOrder);
  EXPECT_EQ(form.pnlTeclado.Height, 223);

  struct Key {
    const char* caption;
    int left, top, width, height;
  } expected[] = {
      {"7", 17, 6, 73, 50},    {"8", 96, 6, 73, 50},    {"9", 175, 6, 73, 50},  {"<-", 254, 6, 73, 50},
      {"4", 17, 59, 73, 50},   {"5", 96, 59, 73, 50},   {"6", 175, 59, 73, 50}, {"Esc", 254, 59, 73, 156},
      {"1", 17, 112, 73, 50},  {"2", 96, 112, 73, 50},  {"3", 175, 112, 73, 50},
      {"0", 17, 165, 231, 50},
  };
  const auto keys = form.keypadButtons();
  ASSERT_EQ(keys.size(), std::size(expected));
  for (std::size_t i = 0; i < keys.size(); ++i) {
    EXPECT_EQ(keys[i]->Caption, expected[i].caption);
    EXPECT_EQ(place(*keys[i]),
              (std::array<int, 4>{expected[i].left, expected[i].top, expected[i].width, expected[i].height}))
        << expected[i].caption;
    EXPECT_EQ(keys[i]->FontCharHeight, 35);
    // Inside the panel.
    EXPECT_LE(keys[i]->Top + keys[i]->Height, form.pnlTeclado.Height) << expected[i].caption;
  }
}

TEST(TfrmSenhaAdmin, TypingStopsAt255CharactersButTheKeypadDoesNot) {
  KeypadFixture f;
  const auto [confirmed, password] = f.ask(KeypadAnswer::typed(std::string(300, 'x')));
  EXPECT_TRUE(confirmed);
  EXPECT_EQ(password, std::string(255, 'x'));

  // Characters, not bytes: 300 «é» leave 255 of them.
  std::string accented;
  for (int i = 0; i < 300; ++i) accented += "é";
  std::string expected;
  for (int i = 0; i < 255; ++i) expected += "é";
  EXPECT_EQ(f.ask(KeypadAnswer::typed(accented)).second, expected);

  // The keypad sets the edit's text, which the typing limit does not cover.
  const auto keypadPast = f.ask(KeypadAnswer::steps([](TfrmSenhaAdmin& form) {
    form.typeIntoEdit(std::string(255, '1'));
    form.btn2.Click();
    form.typeIntoEdit("3");
    form.btnOK.Click();
  }));
  EXPECT_EQ(keypadPast.second, std::string(255, '1') + "2");
}

} // namespace
} // namespace vt
