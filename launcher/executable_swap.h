#pragma once
// The replacement of one installed suite executable by the one staged in the
// download folder, and the journal that lets the next run finish an
// installation a power cut or a failed rename stopped half-way.
//
// The new executable is copied under a temporary name in the download folder
// first; only then is the installed one renamed to
// "trocandoPorVersaoOnline_<name>.exe" and the copy renamed into its place,
// so an interruption leaves either the old executable under its own name,
// or the old one under its swap name (which the clean-up moves back), or the
// new one whole.
#include <optional>
#include <string>
#include <vector>

namespace vt {

class VantorimRun;

enum class SwapOutcome {
  Replaced,     // the staged executable is installed
  NotStaged,    // no staged executable: nothing was done
  CopyFailed,   // the copy under the temporary name failed: the installed one stays
  RenameFailed, // the installed one could not be moved aside: it stays
};

// `launcherFolder` ends with a backslash; `name` without ".exe". The waits
// are the update's: 2 s after the rename aside, 1 s after the new one took
// its place.
SwapOutcome swapInStagedExecutable(VantorimRun& run, const std::string& launcherFolder, const std::string& name);

// The journal "dwd\instalacao_pendente.txt" of an update about to replace
// executables: the names (without ".exe") of the staged executables it
// installs, one a line, and, when the update goes on to swap the reports
// folder, a line "reports=" + the server folder of its packages. Written
// whole or not at all (under a temporary name, then renamed); removed when
// the update has done everything it names.
struct InstallJournal {
  std::vector<std::string> executables;
  std::string reportsServerFolder; // empty: no reports swap
};
std::string installJournalPath(const std::string& launcherFolder);
bool writeInstallJournal(const std::string& launcherFolder, const InstallJournal& journal);
// Nothing when there is no journal.
std::optional<InstallJournal> readInstallJournal(const std::string& launcherFolder);
void removeInstallJournal(const std::string& launcherFolder);

} // namespace vt
