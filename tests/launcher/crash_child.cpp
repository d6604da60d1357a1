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

#include "dialogs/forms.h"
#include "dmutils/dm_utils.h"
#include "launcher/frm_vantorim.h"
#include "launcher/run.h"
#include "online/dm_online.h"
#include "platform/clock.h"
#include "services/service_modules.h"
#include "terminal/utils_db_online.h"
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
  ChildLauncher(const std::string& serverBase, const std::string& database, vt::LauncherSettings settings)
      : credentials(vt::test::testDatabase(database)),
        dmOnline(credentials, "C:\\Quorvelin\\libmySQL.dll", vt::AlternativeServer{"alt", "alt", "x", "127.0.0.1"}),
        form(dmUtils, dmOnline, clock, view, std::move(settings)),
        dbOnline(dmUtils, dmForms, clock, form.launcherFolder(), serverBase) {
    dmUtils.attachForms(dmForms);
    dmForms.attachUtils(dmUtils);
    form.attachDbOnline(dbOnline);
    form.attachRun(run);
    dmForms.attachKeypad(keypad);
  }

  vt::test::ScriptedMessageUi ui;
  vt::platform::ManualClock clock;
  vt::test::RecordingView view;
  vt::test::FixedCredentials credentials;
  vt::TdmUtils dmUtils{clock, ui};
  vt::TdmOnline dmOnline;
  vt::TdmForms dmForms;
  vt::TfrmVantorim form;
  vt::TdmUtilsDbOnline dbOnline;
  vt::test::ScriptedKeypad keypad;
  vt::test::ScriptedInputUi input;
  vt::TdmServMonitor dmServMonitor{dmUtils, clock};
  vt::TdmAppFoodLog dmAppFoodLog{clock};
  vt::TdmServOrbenta dmServOrbenta{dmUtils, clock, dmAppFoodLog};
  vt::TdmServIFood dmServIFood{dmUtils, clock, dmAppFoodLog};
  vt::VantorimRun run{vt::RunModules{dmUtils, dmOnline, dmForms, form, dbOnline, clock, input, dmServMonitor,
                                     dmServIFood, dmServOrbenta}};
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
  ChildLauncher launcher(argv[1], argv[2], std::move(settings));
  launcher.run.execute();
  std::cout << launcher.form.state().memLog;
  return 0;
}
