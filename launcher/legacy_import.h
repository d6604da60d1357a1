#pragma once
// The main window's import of the legacy terminal file into the report table
// and the essential file.
#include <string_view>

#include "launcher/step_outcome.h"

namespace vt {

class VantorimRun;

// Imports AFile. Whether the import worked is not looked at (an empty
// "BancoOnLine" leads to the registration all the same); only an essential
// file that cannot be written ends the run: the failure's log line, the
// extra disconnect and no message.
StepOutcome ImportLegacyEssentialFile(VantorimRun& run, std::string_view AFile);

} // namespace vt
