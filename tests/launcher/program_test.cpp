// The Linux launcher program itself (Vantorim.exe and its console front end),
// started on a temporary drive: the start-up checks as a person meets them.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>

#include "tests/support/temp_drive.h"
#include "utils/version_info.h"

namespace vt {
namespace {

namespace fs = std::filesystem;

struct Outcome {
  int exitCode = -1;
  std::string output;
};

// Runs the program with the temporary drive as C: (optionally without any
// network) and no standard input.
Outcome runLauncher(const fs::path& exe, const fs::path& drive, bool offline) {
  std::string command = "VANTORIM_DRIVE_C='" + drive.string() + "' " + (offline ? "unshare -n " : "") + "'" +
                        exe.string() + "' </dev/null 2>&1";
  Outcome outcome;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return outcome;
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) outcome.output.append(buffer, n);
  int status = pclose(pipe);
  outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return outcome;
}

struct Program : ::testing::Test {
  test::TempDrive drive;
  void install(const std::string& folder, bool withClientLibrary) {
    const fs::path bin = fs::path(VT_LAUNCHER_EXE).parent_path();
    fs::create_directories(drive.host(folder));
    fs::copy_file(VT_LAUNCHER_EXE, drive.host(folder + "\\Vantorim.exe"));
    fs::copy_file(bin / "Zendral.dll", drive.host(folder + "\\Zendral.dll"));
    if (withClientLibrary) drive.write(folder + "\\libmySQL.dll", "biblioteca");
  }
  fs::path hostDrive() { return drive.host("C:\\"); }
};

TEST_F(Program, WithoutInternetItShowsTheMessageWritesTheDataPathAndEnds) {
  install("C:\\Quorvelin", true);
  Outcome run = runLauncher(drive.host("C:\\Quorvelin\\Vantorim.exe"), hostDrive(), true);
  EXPECT_EQ(run.exitCode, 0) << run.output;
  EXPECT_EQ(run.output,
            "[Atenção] O Vantorim não pode ser executado sem Internet.\n"
            "- Encerra a aplicação\n"
            "status: Encerrando\n");
  EXPECT_EQ(drive.read("C:\\Quorvelin\\Config.ini"), "[CONEXAO]\r\nCaminho dos dados=LocalHost\r\n");
  EXPECT_FALSE(drive.exists("C:\\Quorvelin\\logs"));  // no phase ran
}

TEST_F(Program, OutsideTheInstallRootAndWithoutTheClientLibraryBothChecksSpeak) {
  install("C:\\Outra", false);
  Outcome run = runLauncher(drive.host("C:\\Outra\\Vantorim.exe"), hostDrive(), true);
  EXPECT_EQ(run.exitCode, 0);
  const std::string offline = "[Atenção] O Vantorim não pode ser executado sem Internet.\n";
  const std::string folder = "[Atenção] O Vantorim não pode ser executado fora da \"C:\\Quorvelin\\\".\n";
  const std::string library =
      "[Atenção] Não foi possível encontrar a \"C:\\Quorvelin\\libmySQL.dll\" para o funcionamento correto do Vantorim.\n";
  // In this order, each followed by the closing routine.
  size_t a = run.output.find(offline), b = run.output.find(folder), c = run.output.find(library);
  ASSERT_NE(a, std::string::npos) << run.output;
  ASSERT_NE(b, std::string::npos) << run.output;
  ASSERT_NE(c, std::string::npos) << run.output;
  EXPECT_LT(a, b);
  EXPECT_LT(b, c);
  // There is no C:\Quorvelin\ to hold Config.ini: the data path's write fails
  // with its error shown, and the program still ends as the checks asked.
  EXPECT_NE(run.output.find("erro: Unable to write to C:\\Quorvelin\\Config.ini\n"), std::string::npos) << run.output;
}

TEST_F(Program, CarriesItsOwnFileVersion) {
  install("C:\\Quorvelin", false);
  const std::string exe = "C:\\Quorvelin\\Vantorim.exe";
  EXPECT_EQ(utils::VersionInfo::getFileVersion(exe), VT_LAUNCHER_VERSION);
  EXPECT_EQ(utils::VersionInfo::GetExeVersion(exe).substr(0, 1), "V");
}

TEST_F(Program, WithoutItsCredentialsLibraryItDoesNotStart) {
  install("C:\\Quorvelin", true);
  fs::remove(drive.host("C:\\Quorvelin\\Zendral.dll"));
  Outcome run = runLauncher(drive.host("C:\\Quorvelin\\Vantorim.exe"), hostDrive(), false);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.output.find("Zendral.dll"), std::string::npos) << run.output;
  EXPECT_FALSE(drive.exists("C:\\Quorvelin\\Config.ini"));  // nothing ran
}

} // namespace
} // namespace vt
#endif
