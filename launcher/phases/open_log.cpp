// Opens the day's run log: the log and download folders, the file named by
// the date's digits, and the start banner.
#include <string>

#include "dmutils/dm_utils.h"
#include "launcher/frm_vantorim.h"
#include "launcher/run.h"
#include "launcher/phases/phases.h"
#include "platform/files.h"
#include "platform/regional.h"
#include "utils/numbers_dates.h"

namespace vt {

bool phaseOpenLog(VantorimRun& run) {
  const std::string logFolder = run.launcherFolder() + "logs\\vantorim";
  if (!platform::directoryExists(logFolder)) platform::createDirectories(logFolder);
  const std::string dwd = run.launcherFolder() + "dwd";
  if (!platform::directoryExists(dwd)) platform::createDirectories(dwd);

  const auto now = utils::nowDateTime(run.clock);
  std::string& logPath = run.state.logPath;
  logPath.clear();
  logPath = logFolder + "\\log" +
            TdmUtils::soNumericos(utils::formatDateTime(platform::userRegionalFormats().shortDateFormat, now)) + ".txt";
  run.form.clearLog();
  const std::string banner = std::string(89, '=') + "\r\n" + utils::formatShortDateLongTime(now) + " Vantorim iniciado";
  if (platform::fileExists(logPath)) {
    run.WriteLogLine(banner);
    return true;
  }
  std::string error;
  // The file could not be created, so the failure line reaches the screen only.
  if (!run.dmUtils.criaArquivo(banner, logPath, error)) return run.proceed(StepOutcome::abort(error, error));
  return true;
}

} // namespace vt
