// A reports swap stopped after the old folder took its dated backup name
// ("reports" + date and time digits) left either no reports folder, or the
// package's one without the custom layouts. Before the reports folder is
// used, such a backup is brought back.
#include <string>

#include "launcher/phases/phases.h"
#include "launcher/run.h"
#include "launcher/update_applications.h"
#include "platform/files.h"

namespace vt {
namespace {

bool isDatedBackup(const std::string& name) {
  constexpr std::string_view kPrefix = "reports";
  if (name.size() <= kPrefix.size()) return false;
  for (size_t i = kPrefix.size(); i < name.size(); ++i)
    if (name[i] < '0' || name[i] > '9') return false;
  return true;
}

} // namespace

bool phaseReportsBackup(VantorimRun& run) {
  const std::string& folder = run.launcherFolder();
  const std::string current = folder + "reports";
  for (const platform::DirEntry& entry : platform::listDirectory(folder, "reports*")) {
    if (!entry.isDirectory || !isDatedBackup(entry.name)) continue;
    const std::string backup = folder + entry.name;
    if (!platform::directoryExists(current)) {
      if (platform::moveFile(backup, current))
        run.WriteLogLine("A pasta " + backup + " de uma troca interrompida da reports voltou a se chamar " + current);
      continue;
    }
    run.WriteLogLine("Retorna os personalizados da pasta " + backup + " de uma troca interrompida da reports");
    carryCustomLayoutsOver(run, backup, current);
    if (!platform::directoryExists(backup)) run.WriteLogLine("A pasta " + backup + " foi excluída");
  }
  return true;
}

} // namespace vt
