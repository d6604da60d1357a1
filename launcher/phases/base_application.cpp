// The base application the terminal hands over to, the report table made
// anew, the reports folder checked, and a legacy terminal file imported.
#include <chrono>
#include <string>

#include "dmutils/dm_utils.h"
#include "launcher/frm_vantorim.h"
#include "launcher/legacy_import.h"
#include "launcher/phases/phases.h"
#include "launcher/run.h"
#include "platform/files.h"
#include "terminal/utils_db_online.h"

namespace vt {

bool phaseBaseApplication(VantorimRun& run) {
  using namespace std::chrono_literals;
  RunState& state = run.state;
  state.baseApplication = run.dmUtils.getFromConfig("CONEXAO", "AplicativoBasesExterno", kConfigPath);

  auto& table = run.dmUtilsDbOnline.cdsDados;
  if (table.Active()) table.Close();
  table.CreateDataSet();
  table.SetChanged(false);
  state.releaseNumber = 0;
  state.company = 0;
  state.reportsPresent = true;

  const std::string reports = run.launcherFolder() + "reports\\";
  run.WriteLogLine("Confere se o diretório " + reports + " existe");
  if (!platform::directoryExists(reports)) {
    run.WriteLogLine("Não foi encontrada a pasta reports será efetuado o download");
    state.reportsPresent = false;
  } else if (!platform::directoryExists(reports + "venda\\")) {
    run.WriteLogLine("Encontrou a reports mas ela está incompleta, sem a pasta de \"venda\". Será efetuado o download");
    TdmUtils::deletarDiretorio(reports);
    run.pause(6000ms);
    state.reportsPresent = false;
  }

  const std::string legacy = run.launcherFolder() + "reports\\queue\\hofn.fr3";
  if (platform::fileExists(legacy)) return run.proceed(ImportLegacyEssentialFile(run, legacy));
  return true;
}

} // namespace vt
