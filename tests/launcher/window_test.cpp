// The window frame: start-up checks, the status routine, the closing routine.
#include <gtest/gtest.h>

#include "platform/files.h"
#include "platform/process.h"
#include "tests/launcher/launcher_fixture.h"

namespace vt {
namespace {

using test::LauncherFixture;

TEST(ShowStatus, SetsOrAdvancesTheRunBarAndKeepsItInRange) {
  LauncherFixture f;
  f.form.ShowStatus("Conferindo", 0, 100, 0);
  f.form.ShowStatus("", 0, 0, 25);
  f.form.ShowStatus("", 0, 0, 25);
  EXPECT_EQ(f.form.state().status, "Conferindo");
  EXPECT_EQ(f.form.state().pgbLauncher.position, 50);
  EXPECT_EQ(f.form.state().pgbLauncher.max, 100);
  f.form.ShowStatus("", 0, 0, 80);
  EXPECT_EQ(f.form.state().pgbLauncher.position, 100);
  EXPECT_EQ(f.view.repaints, 4);  // every call lets the window repaint
  f.form.ShowStatus("Outro", 0, 10, 3);
  EXPECT_EQ(f.form.state().pgbLauncher.max, 10);
  EXPECT_EQ(f.form.state().pgbLauncher.position, 3);
  EXPECT_EQ(f.view.statuses, (std::vector<std::string>{"Conferindo", "Outro"}));
}

TEST(FormShow, EachFailingCheckShowsItsMessageInOrderAndNoPhaseRuns) {
  // Launched from another folder, without the client library: two messages.
  LauncherFixture f("C:\\Outra\\Vantorim.exe");
  f.form.FormShow();
  // The offline check comes first when this machine has no network (the
  // console suite also runs the program without one).
  const size_t offline = platform::internetConnected() ? 0 : 1;
  ASSERT_EQ(f.ui.shown.size(), 2u + offline);
  if (offline) {
    EXPECT_EQ(f.ui.shown[0].text, "O Vantorim não pode ser executado sem Internet.");
  }
  EXPECT_EQ(f.ui.shown[offline].text, "O Vantorim não pode ser executado fora da \"C:\\Quorvelin\\\".");
  EXPECT_EQ(f.ui.shown[offline + 1].text,
            "Não foi possível encontrar a \"C:\\Quorvelin\\libmySQL.dll\" para o funcionamento correto do Vantorim.");
  EXPECT_EQ(f.ui.shown[0].caption, "Atenção");
  EXPECT_EQ(f.form.state().caption, "");
  EXPECT_EQ(f.form.state().tag, 1);
  EXPECT_TRUE(f.form.terminationRequested());
  // The data path is written whatever the checks found.
  EXPECT_EQ(f.dmUtils.getFromConfig("CONEXAO", "Caminho dos dados", "C:\\Quorvelin\\Config.ini"), "LocalHost");
  f.form.FormActivate();
  EXPECT_FALSE(f.form.runStarted());
  EXPECT_EQ(f.run.state.logPath, "");
  // Entries before the log is opened reach the screen only.
  std::string expectedLog;
  for (size_t i = 0; i < 2 + offline; ++i) expectedLog += "- Encerra a aplicação\r\n";
  EXPECT_EQ(f.form.state().memLog, expectedLog);
}

TEST(FormShow, AcceptsTheInstallRootInAnyLetterCase) {
  LauncherFixture f("c:\\QUORVELIN\\Vantorim.exe");
  f.drive.write("C:\\Quorvelin\\libmySQL.dll", "x");
  f.form.FormShow();
  EXPECT_TRUE(f.ui.shown.empty());
  EXPECT_EQ(f.form.state().caption, "Vantorim Quorvelin");
  EXPECT_FALSE(f.form.terminationRequested());
  EXPECT_FALSE(f.dmUtils.gTouch);
  EXPECT_TRUE(f.dmUtils.gPathConfig.empty());
}

TEST(FormActivate, DoesNothingWithoutTheStartFlag) {
  LauncherFixture f;
  f.form.FormActivate();  // FormShow never ran: the flag is 0
  EXPECT_FALSE(f.form.runStarted());
  EXPECT_TRUE(f.form.state().memLog.empty());
}

TEST(Shutdown, EmptiesTheDownloadFolderOnlyAtTheSuccessfulEnd) {
  LauncherFixture f;
  f.drive.write("C:\\Quorvelin\\dwd\\Caspelo.zip", "x");
  f.drive.write("C:\\Quorvelin\\dwd\\reports\\a.fr3", "x");
  f.form.Shutdown(false);
  EXPECT_TRUE(f.drive.exists("C:\\Quorvelin\\dwd\\Caspelo.zip"));
  EXPECT_EQ(f.form.state().status, "Encerrando");
  EXPECT_EQ(f.form.state().memLog, "- Encerra a aplicação\r\n");
  f.dbOnline.cdsDados.Open();
  f.form.Shutdown(true);
  EXPECT_FALSE(f.drive.exists("C:\\Quorvelin\\dwd\\Caspelo.zip"));
  EXPECT_FALSE(f.drive.exists("C:\\Quorvelin\\dwd\\reports"));
  EXPECT_TRUE(f.drive.exists("C:\\Quorvelin\\dwd"));
  EXPECT_FALSE(f.dbOnline.cdsDados.Active());
}

TEST(FormClose, RunsTheClosingRoutineWithoutCleaning) {
  LauncherFixture f;
  f.drive.write("C:\\Quorvelin\\dwd\\Caspelo.zip", "x");
  f.form.FormClose();
  EXPECT_TRUE(f.drive.exists("C:\\Quorvelin\\dwd\\Caspelo.zip"));
  EXPECT_EQ(f.form.state().status, "Encerrando");
}

} // namespace
} // namespace vt
