// The handle list: the registered companies of the report table, each run of
// rows of one company once, in table order.
#include <string>

#include "launcher/phases/phases.h"
#include "launcher/suite_rules.h"
#include "launcher/run.h"
#include "terminal/utils_db_online.h"

namespace vt {

bool phaseRegisteredCompanies(VantorimRun& run) {
  auto& table = run.dmUtilsDbOnline.cdsDados;
  run.ShowStatus("Conferindo empresas", 0, table.RecordCount(), 0);
  run.WriteLogLine("Leitura do arquivo essencial para guardar as empresas disponíveis nele");
  run.state.handleList = buildHandleList(table, [&] { run.advance(1); });
  return true;
}

} // namespace vt
