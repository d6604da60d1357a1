// The three checks showing the window runs before the run may start: the
// terminal is online, the launcher runs from the install root, and the MySQL
// client library lies beside it. All three run, whatever the earlier ones
// found; a failed one empties the caption (so the first activation does not
// start the run), shows its warning, closes and asks to end the program.
#include <string>

#include "dmutils/dm_utils.h"
#include "launcher/frm_vantorim.h"
#include "launcher/phases/phases.h"
#include "launcher/run.h"
#include "launcher/settings.h"
#include "platform/files.h"
#include "utils/text.h"

namespace vt {
namespace {

struct StartupCheck {
  bool (*passes)(VantorimRun& run);
  const char* failureMessage;
};

constexpr StartupCheck kStartupChecks[] = {
    {[](VantorimRun& run) { return run.dmUtils.estaConectado(); }, "O Vantorim não pode ser executado sem Internet."},
    {[](VantorimRun& run) { return utils::equalsIgnoringAsciiCase(run.launcherFolder(), kInstallRoot); },
     "O Vantorim não pode ser executado fora da \"C:\\Quorvelin\\\"."},
    {[](VantorimRun& run) { return platform::fileExists(run.launcherFolder() + "libmySQL.dll"); },
     "Não foi possível encontrar a \"C:\\Quorvelin\\libmySQL.dll\" para o funcionamento correto do Vantorim."},
};

} // namespace

void runStartupChecks(VantorimRun& run) {
  for (const StartupCheck& check : kStartupChecks) {
    if (check.passes(run)) continue;
    run.form.setCaption("");
    run.alert(check.failureMessage);
    run.form.Shutdown(false);
    run.form.requestTermination();
  }
  run.form.setStartFlag(1);
  run.dmUtils.setToConfig("CONEXAO", "Caminho dos dados", "LocalHost", kConfigPath);
  run.dmUtils.gTouch = false;
  run.dmUtils.gPathConfig.clear();
  run.dmUtils.bringApplicationToFront();
}

} // namespace vt
