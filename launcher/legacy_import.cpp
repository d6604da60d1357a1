#include "launcher/legacy_import.h"

#include <string>

#include "launcher/run.h"
#include "launcher/run_texts.h"
#include "terminal/legacy_essential_file.h"

namespace vt {

StepOutcome ImportLegacyEssentialFile(VantorimRun& run, std::string_view AFile) {
  std::string error;
  if (importLegacyEssentialFile(run.dmUtilsDbOnline, AFile, error) != LegacyImportOutcome::WriteFailed)
    return StepOutcome::goOn();
  return essentialFileNotSaved(error);
}

} // namespace vt
