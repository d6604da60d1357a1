#pragma once
// UpdateApplications: brings the suite's executables in the launcher folder,
// and its reports folder, to the version the online client table prescribes
// for one company. The packages come from the maker's download web server,
// are extracted into the download folder "dwd", and each executable is
// replaced through its "trocandoPorVersaoOnline_" name; the reports folder is
// swapped for the package's one with the custom layouts carried over.
//
// Its statements run on dmOnline.qryTwoLine, so the caller's qryOneLine is
// left alone; a closed connection is opened by the first statement.
#include <string>

namespace vt {

class VantorimRun;

// Which pass of the update check runs the update.
enum class UpdatePass {
  First,      // the company's update (and a first run's fetch of the suite)
  Redundancy, // the second pass for a base application still missing: leaves the reports alone
};

// `launcherFolder` ends with a backslash; `handle` is the company's HANDLE in
// tabclientes; `releaseNumber` above 0 takes the packages of that release
// build.
//
// True when every download, extraction and rename succeeded. A failure has
// been shown to the user already (or needs no message); the caller only
// decides whether the run goes on. Errors of the online session and a
// version whose digits are not a 32-bit integer pass on to the caller.
bool UpdateApplications(VantorimRun& run, const std::string& launcherFolder, int handle, UpdatePass pass,
                        int releaseNumber);

// The run's own call: its launcher folder, the company it works on and its
// release number.
bool UpdateApplications(VantorimRun& run, UpdatePass pass);

// The reports step of an update that was stopped before it swapped the
// reports folder: the package "reports.zip" from the server folder
// ("Quorvelin/upd/"), extracted and swapped in the run's launcher folder as
// UpdateApplications does. True when the new reports folder is in place.
bool finishReportsUpdate(VantorimRun& run, const std::string& serverFolder);

// The reports swap's last step: the custom layouts of each subfolder's
// "personalizados" folder of the old reports folder `backup` replace the
// files of the same name in `current`; the backup is deleted only when every
// layout arrived (a log line says when it stays).
void carryCustomLayoutsOver(VantorimRun& run, const std::string& backup, const std::string& current);

} // namespace vt
