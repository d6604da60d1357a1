#include <gtest/gtest.h>

#include <sstream>

#include "tests/dmutils/module_fixture.h"

namespace vt {
namespace {

namespace mb = platform::mb;

TEST(exibeMsg, ChoosesButtonsAndIconFromTheFlagsAndTheCaption) {
  struct Case {
    bool question;
    bool yesFocus;
    const char* caption;
    unsigned style;
  } cases[] = {
      {false, true, "Concluído", mb::kOk | mb::kIconInformation},
      {false, true, "Atenção", mb::kOk | mb::kIconExclamation},
      {false, true, "concluído", mb::kOk | mb::kIconExclamation},
      {false, true, "Concluído ", mb::kOk | mb::kIconExclamation},
      {false, false, "", mb::kOk | mb::kIconExclamation},
      {true, true, "Informação", mb::kYesNo},
      {true, false, "Concluído", mb::kYesNo},
  };
  for (const auto& c : cases) {
    test::ModuleFixture f;
    f.ui.answers = {true};
    EXPECT_TRUE(f.dmUtils.exibeMsg("texto", c.caption, c.question, c.yesFocus));
    ASSERT_EQ(f.ui.shown.size(), 1u);
    EXPECT_EQ(f.ui.shown[0].style, c.style) << c.caption;
    EXPECT_EQ(f.ui.shown[0].caption, c.caption);
    EXPECT_EQ(f.ui.shown[0].text, "texto");
  }
}

TEST(exibeMsg, AQuestionIsFalseOnlyWhenAnsweredNo) {
  test::ModuleFixture f;
  f.ui.answers = {true, false};
  EXPECT_TRUE(f.dmUtils.exibeMsg("Confirma?", "Informação", true, true));
  EXPECT_FALSE(f.dmUtils.exibeMsg("Confirma?", "Informação", true, false));
}

TEST(exibeMsg, TouchModeAnswersTrueAndShowsNothing) {
  test::ModuleFixture f;
  f.dmUtils.gTouch = true;
  f.ui.answers = {false};
  EXPECT_TRUE(f.dmUtils.exibeMsg("Confirma?", "Atenção", true, true));
  EXPECT_TRUE(f.ui.shown.empty());
}

TEST(TdmForms, ConfigurationNoticeGoesThroughTheMessageBox) {
  test::ModuleFixture f;
  f.dmForms.formConfiguracaoConfig();
  f.dmForms.formProgress("pbInicia", "x", "Copy", 0, 0, 100, "");
  ASSERT_EQ(f.ui.shown.size(), 1u);
  EXPECT_EQ(f.ui.shown[0].text, "Para utilizar o Configurações para o Config.ini, utilize o módulo Quorvelin Gerencial.");
  EXPECT_EQ(f.ui.shown[0].caption, "Atenção");
  EXPECT_EQ(f.ui.shown[0].style, mb::kOk | mb::kIconExclamation);
}

TEST(ConsoleMessageUi, PrintsTheBoxAndReadsSimOrNaoEndOfInputIsNo) {
  std::istringstream in("talvez\ns\nn\n");
  std::ostringstream out;
  platform::ConsoleMessageUi console(in, out);
  EXPECT_EQ(console.show("Aviso", "Atenção", mb::kOk | mb::kIconExclamation), mb::kIdOk);
  EXPECT_EQ(console.show("Confirma?", "Informação", mb::kYesNo), mb::kIdYes);
  EXPECT_EQ(console.show("Confirma?", "Informação", mb::kYesNo), mb::kIdNo);
  EXPECT_EQ(console.show("Confirma?", "Informação", mb::kYesNo), mb::kIdNo);
  EXPECT_EQ(out.str().rfind("[Atenção] Aviso\n", 0), 0u);
  EXPECT_NE(out.str().find("[Informação] Confirma? (s/n)? [Informação] Confirma? (s/n)? "), std::string::npos);
}

TEST(ConsoleMessageUi, ACarriageReturnAloneIsPrintedAsALineBreak) {
  test::TempDrive drive;
  platform::ManualClock clock;
  std::istringstream in("s\n");
  std::ostringstream out;
  platform::ConsoleMessageUi console(in, out);
  TdmUtils dmUtils(clock, console);
  EXPECT_FALSE(dmUtils.VerificaCopia(drive.path("nunca.txt"), "\\\\SERVIDOR\\x.txt"));
  EXPECT_EQ(out.str(), "[Atenção] Não foi possível copiar o arquivo \"\\\\SERVIDOR\\x.txt\".\n"
                       "Verifique suas configurações de rede e tente novamente.\n");
  out.str("");
  EXPECT_EQ(console.show("um\r\rdois\r\ntres\r", "Atenção", mb::kYesNo), mb::kIdYes);
  EXPECT_EQ(out.str(), "[Atenção] um\n\ndois\ntres\n (s/n)? ");
}

} // namespace
} // namespace vt
