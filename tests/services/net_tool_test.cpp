// net.exe of the Linux build on the simulated service manager, run as a
// person or a script runs it, and as the launcher opens it by its bare name.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "dmutils/dm_utils.h"
#include "platform/clock.h"
#include "platform/process.h"
#include "tests/services/simulated_services.h"
#include "tests/support/scripted_ui.h"

namespace vt {
namespace {

using test::registerService;
using test::serviceState;

struct Outcome {
  int exitCode = -1;
  std::string output;
};

// net.exe with these arguments on the test's drive (VANTORIM_DRIVE_C is the
// test drive's, inherited).
Outcome net(const std::string& arguments) {
  Outcome outcome;
  FILE* pipe = popen(("'" + std::string(VT_NET_EXE) + "' " + arguments + " 2>&1 </dev/null").c_str(), "r");
  if (!pipe) return outcome;
  char buffer[512];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) outcome.output.append(buffer, n);
  int status = pclose(pipe);
  outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return outcome;
}

TEST(NetTool, StopsAndStartsSimulatedServices) {
  test::TempDrive drive;
  struct Case {
    const char* what;
    test::SimulatedService service;
    std::string arguments;
    int exitCode;
    std::string output;
    int stateAfter;
  } cases[] = {
      {"a running service stops", {"MySQL57", 4}, "stop MySQL57", 0, "O serviço MySQL57 foi finalizado com êxito.\n", 1},
      {"the name in another letter case", {"MySQL", 4}, "STOP mysql", 0, "O serviço mysql foi finalizado com êxito.\n", 1},
      {"a stopped service", {"Parado", 1}, "stop Parado", 2, "O serviço Parado não foi iniciado.\n", 1},
      {"a service that refuses", {"Teimoso", 4, true}, "stop Teimoso", 2, "O serviço Teimoso não pôde ser finalizado.\n", 4},
      {"a stopped service starts", {"Ligavel", 1}, "start Ligavel", 0, "O serviço Ligavel foi iniciado com êxito.\n", 4},
      {"a running one does not start again", {"Ligado", 4}, "start Ligado", 2, "O serviço solicitado já foi iniciado.\n", 4},
  };
  for (const auto& c : cases) {
    registerService(drive, c.service);
    Outcome run = net(c.arguments);
    EXPECT_EQ(run.exitCode, c.exitCode) << c.what;
    EXPECT_EQ(run.output, c.output) << c.what;
    EXPECT_EQ(serviceState(drive, c.service.name), c.stateAfter) << c.what;
  }
  Outcome unknown = net("stop NaoExiste");
  EXPECT_EQ(unknown.exitCode, 2);
  EXPECT_EQ(unknown.output, "O nome de serviço é inválido.\n");
  EXPECT_EQ(net("pause MySQL57").exitCode, 1);
  EXPECT_EQ(net("stop").exitCode, 1);
}

TEST(NetTool, TheLauncherOpensItByItsBareNameFromSystem32) {
  test::TempDrive drive;
  test::ScriptedMessageUi ui;
  platform::ManualClock clock;
  TdmUtils dmUtils{clock, ui};
  registerService(drive, {"MySQL57", 4});
  // Not there yet: the shell finds no file.
  EXPECT_EQ(dmUtils.shellExecuta("net.exe", "stop MySQL57", true, 0), "2");
  std::filesystem::create_directories(drive.host("C:\\Windows\\System32"));
  std::filesystem::copy_file(VT_NET_EXE, drive.host("C:\\Windows\\System32\\net.exe"));
  EXPECT_EQ(dmUtils.shellExecuta("net.exe", "stop MySQL57", true, 0), "");
  EXPECT_TRUE(test::waitUntil([&] { return serviceState(drive, "MySQL57") == 1; }));
}

TEST(NetTool, AProgramOpenedHiddenShowsNothingOnTheConsole) {
  test::TempDrive drive;
  drive.write("fala.sh", "#!/bin/sh\necho \"$1\"\necho feito > \"$0.$1\"\n");
  std::filesystem::permissions(drive.host("fala.sh"), std::filesystem::perms::owner_all);
  // A process whose console is a pipe opens the program hidden, then shown.
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    dup2(fds[1], 1);
    dup2(fds[1], 2);
    close(fds[0]);
    close(fds[1]);
    const bool started = platform::shellOpen(drive.path("fala.sh"), "oculto", platform::kShowHidden) > 32 &&
                         platform::shellOpen(drive.path("fala.sh"), "visivel", platform::kShowNormal) > 32;
    _exit(started ? 0 : 1);
  }
  close(fds[1]);
  std::string console;
  char buffer[256];
  ssize_t n;
  // Until every program holding the console has ended.
  while ((n = read(fds[0], buffer, sizeof buffer)) > 0) console.append(buffer, static_cast<size_t>(n));
  close(fds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_TRUE(test::waitUntil([&] { return drive.exists("fala.sh.oculto") && drive.exists("fala.sh.visivel"); }));
  EXPECT_EQ(console, "visivel\n");
}

} // namespace
} // namespace vt
#endif
