// The launcher's run in a process of its own, for the crash tests: the
// modules joined as the test fixture joins them, on the drive and install
// root the parent test laid out (on POSIX the drive comes with the inherited
// VANTORIM_DRIVE_C). When VANTORIM_KILL_AT names a step of the run
// (launcher/install_steps.h), the process ends itself there at once, as a
// power cut would: SIGKILL on POSIX, TerminateProcess under Windows. This
// hook lives only in this test program; the launcher has none.
//
//   crash_child <server base address> <database>
//
// Exit code 0 when the run went through without reaching that step; the
// on-screen log goes to standard output.
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

#include "launcher/launcher_modules.h"
#include "platform/clock.h"
#include "tests/launcher/crash_exit.h"
#include "tests/launcher/recording_view.h"
#include "tests/launcher/test_database.h"
#include "tests/support/scripted_ui.h"

namespace {

[[noreturn]] void endAbruptly() {
#ifdef _WIN32
  TerminateProcess(GetCurrentProcess(), vt::test::kKilledExitCode);
#else
  std::raise(SIGKILL);
#endif
  std::abort();
}

struct ChildLauncher {
  ChildLauncher(const std::string& database, vt::LauncherSettings settings)
      : credentials(vt::test::testDatabase(database)),
        modules(vt::ModuleParts{clock, ui, input, view, credentials, std::move(settings),
                                vt::AlternativeServer{"alt", "alt", "x", "127.0.0.1"}}) {
    modules.dmForms.attachKeypad(keypad);
  }

  vt::test::ScriptedMessageUi ui;
  vt::platform::ManualClock clock;
  vt::test::RecordingView view;
  vt::test::FixedCredentials credentials;
  vt::test::ScriptedKeypad keypad;
  vt::test::ScriptedInputUi input;
  vt::LauncherModules modules;
};

} // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "crash_child <server base address> <database>\n";
    return 2;
  }
  const char* killAt = std::getenv("VANTORIM_KILL_AT");
  const std::string wanted = killAt ? killAt : "";
  vt::LauncherSettings settings{argv[1], "C:\\Quorvelin\\Vantorim.exe"};
  settings.stepReached = [&wanted](std::string_view step) {
    if (!wanted.empty() && step == wanted) endAbruptly();
  };
  ChildLauncher launcher(argv[2], std::move(settings));
  launcher.modules.run.execute();
  std::cout << launcher.modules.frmVantorim.state().memLog;
  return 0;
}
