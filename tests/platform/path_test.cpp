#include <gtest/gtest.h>

#include <fstream>

#include "platform/path.h"
#include "tests/support/temp_drive.h"

namespace vt::platform {
namespace {

TEST(Path, WindowsPathReachesTheSameFileAsTheTestDrive) {
  test::TempDrive drive;
  drive.write("Config.ini", "x");
  std::ifstream in(toHost(drive.path("Config.ini")));
  EXPECT_TRUE(in.good());
}

TEST(Path, ComponentsMatchWithoutRegardToLetterCase) {
  test::TempDrive drive;
  drive.write("Logs\\Vantorim\\log.txt", "abc");
  std::ifstream in(toHost(drive.path("LOGS\\vantorim\\LOG.TXT")), std::ios::binary);
  ASSERT_TRUE(in.good());
  std::string text;
  std::getline(in, text);
  EXPECT_EQ(text, "abc");
}

TEST(Path, MissingComponentsKeepTheirSpelling) {
  test::TempDrive drive;
  auto p = toHost(drive.path("Nova Pasta\\Arquivo.TXT"));
  EXPECT_EQ(p.filename().u8string(), u8"Arquivo.TXT");
  EXPECT_EQ(p.parent_path().filename().u8string(), u8"Nova Pasta");
}

TEST(Path, FromHostGivesBackTheWindowsText) {
  test::TempDrive drive;
  auto host = toHost(drive.path("dwd\\Caspelo.zip"));
  EXPECT_EQ(fromHost(host), drive.path("dwd\\Caspelo.zip"));
}

} // namespace
} // namespace vt::platform
