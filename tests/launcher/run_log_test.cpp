// The run log: the day's file, its banner, and entries on screen and on disk.
#include <gtest/gtest.h>

#include "launcher/phases/phases.h"
#include "platform/encoding.h"
#include "tests/launcher/launcher_fixture.h"

namespace vt {
namespace {

using test::LauncherFixture;

const std::string kEquals(89, '=');

// File lines are in the file code page; compare as UTF-8.
std::string logFile(LauncherFixture& f, const std::string& name) {
  return platform::fileTextToUtf8(f.drive.read("C:\\Quorvelin\\logs\\vantorim\\" + name));
}

TEST(RunLog, TheDaysFirstRunCreatesTheFileWithTheBannerAndShowsNothing) {
  LauncherFixture f;
  f.clock.set({2025, 12, 8, 14, 3, 27, 0, 2});
  ASSERT_TRUE(phaseOpenLog(f.run));
  EXPECT_TRUE(f.drive.exists("C:\\Quorvelin\\dwd"));
  EXPECT_EQ(f.run.state.logPath, "C:\\Quorvelin\\logs\\vantorim\\log08122025.txt");
  EXPECT_EQ(logFile(f, "log08122025.txt"), kEquals + "\r\n08/12/2025 14:03:27 Vantorim iniciado\r\n");
  EXPECT_EQ(f.form.state().memLog, "");
  f.clock.set({2025, 12, 8, 14, 3, 30, 0, 2});
  f.form.WriteLogLine("abc");
  EXPECT_EQ(logFile(f, "log08122025.txt"),
            kEquals + "\r\n08/12/2025 14:03:27 Vantorim iniciado\r\n08/12/2025 14:03:30 abc\r\n");
  EXPECT_EQ(f.form.state().memLog, "- abc\r\n");
}

TEST(RunLog, ALaterRunOfTheSameDayAppendsTheBannerAsAnEntry) {
  LauncherFixture f;
  f.drive.write("C:\\Quorvelin\\logs\\vantorim\\log08122025.txt", "anterior\r\n");
  f.clock.set({2025, 12, 8, 9, 0, 1, 0, 2});
  ASSERT_TRUE(phaseOpenLog(f.run));
  EXPECT_EQ(logFile(f, "log08122025.txt"),
            "anterior\r\n08/12/2025 09:00:01 " + kEquals + "\r\n08/12/2025 09:00:01 Vantorim iniciado\r\n");
  EXPECT_EQ(f.form.state().memLog, "- " + kEquals + "\r\n08/12/2025 09:00:01 Vantorim iniciado\r\n");
}

TEST(RunLog, EntriesKeepTheFileOfTheDayTheRunStartedAndNeverRecreateIt) {
  LauncherFixture f;
  f.clock.set({2025, 12, 31, 23, 59, 58, 0, 4});
  f.form.WriteLogLine("antes de abrir");  // screen only
  ASSERT_TRUE(phaseOpenLog(f.run));
  f.clock.set({2026, 1, 1, 0, 0, 5, 0, 5});
  f.form.WriteLogLine("depois da meia-noite");
  EXPECT_FALSE(f.drive.exists("C:\\Quorvelin\\logs\\vantorim\\log01012026.txt"));
  EXPECT_NE(logFile(f, "log31122025.txt").find("01/01/2026 00:00:05 depois da meia-noite\r\n"), std::string::npos);
  EXPECT_EQ(logFile(f, "log31122025.txt").find("antes de abrir"), std::string::npos);
  std::filesystem::remove(f.drive.host("C:\\Quorvelin\\logs\\vantorim\\log31122025.txt"));
  f.form.WriteLogLine("sem arquivo");
  EXPECT_FALSE(f.drive.exists("C:\\Quorvelin\\logs\\vantorim\\log31122025.txt"));
  EXPECT_NE(f.form.state().memLog.find("- sem arquivo\r\n"), std::string::npos);
}

TEST(RunLog, ALogFileThatCannotBeCreatedEndsTheRunWithTheErrorText) {
  LauncherFixture f;
  // A file where the log folder should be: the folder cannot be made.
  f.drive.write("C:\\Quorvelin\\logs", "não é pasta");
  EXPECT_FALSE(phaseOpenLog(f.run));
  ASSERT_EQ(f.ui.shown.size(), 1u);
  EXPECT_EQ(f.ui.shown[0].caption, "Atenção");
  EXPECT_NE(f.ui.shown[0].text.find("Cannot create file"), std::string::npos) << f.ui.shown[0].text;
  EXPECT_EQ(f.form.state().memLog, "- " + f.ui.shown[0].text + "\r\n- Encerra a aplicação\r\n");
  EXPECT_TRUE(f.form.terminationRequested());
}

} // namespace
} // namespace vt
