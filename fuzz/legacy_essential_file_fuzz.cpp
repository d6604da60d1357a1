// The import of the legacy essential file (reports\queue\hofn.fr3) on hostile
// files: the byte-order mark and code page, the JSON parser, the JSON text
// form of every value, the companies and their reports, and, when they read,
// the write of the essential file into Config.ini.
#include <cstdint>
#include <string>

#include "dialogs/forms.h"
#include "dmutils/dm_utils.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/terminal_modules.h"
#include "platform/clock.h"
#include "terminal/legacy_essential_file.h"
#include "terminal/utils_db_online.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const vt::fuzz::Workspace& ws = vt::fuzz::Workspace::get();
  ws.reset();
  vt::fuzz::Workspace::writeFile(ws.drive() / "Quorvelin" / "reports" / "queue" / "hofn.fr3",
                                 vt::fuzz::asText(data, size));

  vt::fuzz::TerminalModules modules;
  auto& [clock, ui, dmUtils, dmForms, dbOnline] = modules;
  dbOnline.cdsDados.CreateDataSet();

  std::string error;
  const vt::LegacyImportOutcome outcome =
      vt::importLegacyEssentialFile(dbOnline, "C:\\Quorvelin\\reports\\queue\\hofn.fr3", error);
  if (outcome == vt::LegacyImportOutcome::Imported) {
    // What was written reads back into a table of its own.
    const std::string stored = dmUtils.getFromConfig("CONFIGURACAO", "BancoOnLine", vt::kConfigPath);
    vt::TdmUtilsDbOnline again(dmUtils, dmForms, clock, "C:\\Quorvelin\\", "http://127.0.0.1:9/");
    again.cdsDados.CreateDataSet();
    (void)again.lerArquivoBaseOnline(stored);
  }
  return 0;
}
