#pragma once
// ImportLegacyEssentialFile, the main window's import of the legacy terminal
// file into the report table and the essential file.
#include <string>
#include <string_view>

namespace vt {

class VantorimRun;

// Imports AFile (AError empty on success, otherwise why it failed). When the
// essential file cannot be written it logs the failure, disconnects, shuts
// down and asks to end the program, without a message, and returns false:
// the run ends. True otherwise, whether the import worked or not.
bool ImportLegacyEssentialFile(VantorimRun& run, std::string_view AFile, std::string& AError);

} // namespace vt
