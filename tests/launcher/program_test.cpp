// The Linux launcher program itself (Vantorim.exe and its console front end),
// started on a temporary drive: the start-up checks as a person meets them,
// and two launchers started on one drive.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "online/dm_online.h"
#include "tests/launcher/launcher_fixture.h"
#include "tests/support/client_library.h"
#include "tests/support/temp_drive.h"
#include "test_server_values.h"
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

// ---- One launcher at a time ------------------------------------------------

// A launcher that keeps running: its standard input is a pipe the test holds
// (closing it answers the next question with its end), its output is read as
// it comes.
class RunningLauncher {
public:
  RunningLauncher(const fs::path& exe, const fs::path& drive) {
    int in[2], out[2];
    if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      dup2(in[0], 0);
      dup2(out[1], 1);
      dup2(out[1], 2);
      setenv("VANTORIM_DRIVE_C", drive.c_str(), 1);
      execl(exe.c_str(), exe.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    close(in[0]);
    close(out[1]);
    input_ = in[1];
    output_ = out[0];
  }
  ~RunningLauncher() {
    if (pid_ > 0 && !ended_) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    if (input_ >= 0) close(input_);
    if (output_ >= 0) close(output_);
  }

  // Reads the output until it holds the text (false after the time-out or
  // the end of the output).
  bool waitFor(const std::string& text, std::chrono::seconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (output.find(text) == std::string::npos) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0 || !readSome(static_cast<int>(left.count()))) return false;
    }
    return true;
  }

  // Ends the input and waits for the program's end: its exit code.
  int finish() {
    close(input_);
    input_ = -1;
    while (readSome(60000)) {
    }
    int status = 0;
    if (waitpid(pid_, &status, 0) != pid_) return -1;
    ended_ = true;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  bool started() const { return pid_ > 0; }
  std::string output;

private:
  bool readSome(int timeoutMs) {
    pollfd p{output_, POLLIN, 0};
    if (poll(&p, 1, timeoutMs) <= 0) return false;
    char buffer[4096];
    ssize_t n = read(output_, buffer, sizeof buffer);
    if (n <= 0) return false;
    output.append(buffer, static_cast<size_t>(n));
    return true;
  }

  pid_t pid_ = -1;
  int input_ = -1, output_ = -1;
  bool ended_ = false;
};

// Every file of a folder with its bytes.
std::map<std::string, std::string> filesUnder(const fs::path& root) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    files[fs::relative(entry.path(), root).string()] = bytes.str();
  }
  return files;
}

// A terminal that is not registered yet, its launcher reaching the test
// database (a database of this suite's own) through the program tests'
// credentials library, the launcher's own build published: a run goes as far
// as the registration's password keypad and waits there for its answer.
struct OneLauncherAtATime : Program {
  static constexpr const char* kDatabase = VT_TEST_PRIMARY_DB "_program";
  const std::string keypad = "[Senha do Desenvolvimento] Digite a Senha Desenvolvedor: ";

  void SetUp() override {
    install("C:\\Quorvelin", false);
    fs::copy_file(VT_PROGRAM_ZENDRAL, drive.host("C:\\Quorvelin\\Zendral.dll"), fs::copy_options::overwrite_existing);
    test::placeClientLibrary("C:\\Quorvelin\\libmySQL.dll");
    const std::string version = utils::VersionInfo::GetExeVersion("C:\\Quorvelin\\Vantorim.exe");
    runSql(VT_TEST_PRIMARY_DB, std::string("create database if not exists `") + kDatabase + "`;");
    runSql(kDatabase,
           "create table if not exists tabscoappversoes (CODIGO int primary key, VANTORIM varchar(30));"
           "delete from tabscoappversoes; insert into tabscoappversoes values (1, '" + version + "');");
  }

  static void runSql(const std::string& database, const std::string& script) {
    test::FixedCredentials c;
    c.name = database;
    c.user = VT_TEST_PRIMARY_USER;
    c.password = VT_TEST_PRIMARY_PASSWORD;
    c.server = "127.0.0.1";
    c.port = VT_TEST_MARIADB_PORT;
    TdmOnline side(c, "C:\\Quorvelin\\libmySQL.dll", AlternativeServer{"alt", "alt", "x", "127.0.0.1"});
    ASSERT_EQ(side.conectarBancoOnline(), "");
    std::string ret;
    ASSERT_TRUE(side.executaScript(script, ret)) << ret;
    side.desconectarBancoOnline();
  }
};

TEST_F(OneLauncherAtATime, ASecondLauncherOnTheSameDriveEndsAtOnceAndTouchesNothing) {
  const fs::path exe = drive.host("C:\\Quorvelin\\Vantorim.exe");
  RunningLauncher first(exe, hostDrive());
  ASSERT_TRUE(first.started());
  const bool waiting = first.waitFor(keypad, std::chrono::seconds(60));
  if (first.output.find("sem Internet") != std::string::npos)
    GTEST_SKIP() << "this machine has no network interface other than loopback: the launcher does not start its run";
  ASSERT_TRUE(waiting) << first.output;
  const auto before = filesUnder(hostDrive());
  ASSERT_TRUE(before.count("Quorvelin/Config.ini")) << "the first one's run has written";

  const auto started = std::chrono::steady_clock::now();
  Outcome second = runLauncher(exe, hostDrive(), false);
  EXPECT_EQ(second.exitCode, 3);
  EXPECT_EQ(second.output, "") << "no message, no line";
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5)) << "it ends at once";
  EXPECT_EQ(filesUnder(hostDrive()), before) << "the second one wrote nothing";

  {
    // Meanwhile a launcher on another drive is not held back (its start-up
    // checks speak: it does not run from that drive's install root).
    test::TempDrive other;
    fs::create_directories(other.host("C:\\Outra"));
    for (const char* file : {"Vantorim.exe", "Zendral.dll"})
      fs::copy_file(exe.parent_path() / file, other.host(std::string("C:\\Outra\\") + file));
    Outcome elsewhere = runLauncher(other.host("C:\\Outra\\Vantorim.exe"), other.host("C:\\"), false);
    EXPECT_EQ(elsewhere.exitCode, 0);
    EXPECT_NE(elsewhere.output.find("O Vantorim não pode ser executado fora da"), std::string::npos) << elsewhere.output;
  }

  // The first one goes on: its keypad is cancelled, the run ends as it would.
  EXPECT_EQ(first.finish(), 0) << first.output;
  EXPECT_NE(first.output.find("- Encerra a aplicação"), std::string::npos) << first.output;

  // It has ended, so the next launcher runs.
  Outcome third = runLauncher(exe, hostDrive(), false);
  EXPECT_EQ(third.exitCode, 0) << third.output;
  EXPECT_NE(third.output.find(keypad), std::string::npos) << third.output;
}

} // namespace
} // namespace vt
#endif
