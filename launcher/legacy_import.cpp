#include "launcher/legacy_import.h"

#include "launcher/run.h"
#include "launcher/run_texts.h"
#include "terminal/legacy_essential_file.h"

namespace vt {

bool ImportLegacyEssentialFile(VantorimRun& run, std::string_view AFile, std::string& AError) {
  if (importLegacyEssentialFile(run.dmUtilsDbOnline, AFile, AError) != LegacyImportOutcome::WriteFailed) return true;
  return run.abortRun(
      std::string(kEssentialNotSavedLog) + AError, "",
      ExtraDisconnect::BeforeShutdown);
}

} // namespace vt
