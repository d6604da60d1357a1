// Each registered company's prescribed version against the installed one:
// the first that differs gets the application update, and the check ends
// there. Then the redundancy pass, when the application the terminal hands
// over to is still missing.
#include <string>

#include "dmutils/dm_utils.h"
#include "launcher/frm_vantorim.h"
#include "launcher/online_queries.h"
#include "launcher/phases/phases.h"
#include "launcher/run.h"
#include "launcher/suite_rules.h"
#include "launcher/update_applications.h"
#include "online/dm_online.h"
#include "platform/files.h"
#include "terminal/utils_db_online.h"

namespace vt {
namespace {

// False when the run ended.
bool checkCompanies(VantorimRun& run, ScopedOnlineSession& session) {
  RunState& state = run.state;
  OnlineQuery& query = run.dmOnline.qryOneLine;
  auto& table = run.dmUtilsDbOnline.cdsDados;
  run.ShowStatus("Conferindo aplicativos", 0, table.RecordCount(), 0);
  run.WriteLogLine("Compara a versão dos aplicativos locais com a versão do banco de dados presente nas estatísticas do "
                   "banco online");
  const std::string installedDigits = TdmUtils::soNumericos(state.installedVersion);
  int previous = 0;
  for (table.First(); !table.Eof(); table.Next()) {
    run.ShowStatus("", 0, 0, 1);
    const int handle = table.Current().HANDLE;
    if (handle == previous) continue;
    previous = handle;
    const std::string h = std::to_string(handle);

    runQuery(query, "select SCO_VERSAO,RELEASE_VANTORIM from tabclientes where HANDLE = :vp1", handle);
    if (query.RecordCount() == 0) {
      const std::string text = "Não foi encontrada tabela disponível para consulta da versão online (Handle nº: " + h + ").";
      return run.abortRun(text, text, ExtraDisconnect::AfterMessage, &session);
    }
    if (query.RecordCount() > 1)
      return run.abortRun("Houve problemas na consulta da versão (Handle nº: " + h + "). Mais de um registro foi encontrado",
                          "Houve problemas na consulta da versão (Handle nº: " + h +
                              "). Entre em contato com o suporte Quorvelin para verificação das versões.",
                          ExtraDisconnect::AfterMessage, &session);

    run.form.showWarning(false);
    bool updateNeeded = false;
    const std::string scoVersao = query.FieldAsString("SCO_VERSAO");
    const int release = query.FieldAsInteger("RELEASE_VANTORIM");
    if (release > 0) {
      const std::string r = std::to_string(release);
      run.WriteLogLine("Foi identificada uma versão \"release\" com o número: " + r);
      const std::string target = releaseTarget(scoVersao, release);
      run.WriteLogLine("A versão na tabela de clientes online é \"" + r + "\" mas será comparada usando o número de versão \"" +
                       target + "\".");
      if (target != installedDigits) {
        run.WriteLogLine("Haverá atualização pois a nova versão apresentada é \"" + target +
                         "\" e pelo menos um aplicativo no cliente está na versão \"" + installedDigits + "\".");
        state.releaseNumber = release;
        updateNeeded = true;
      } else {
        run.WriteLogLine("Foi comparada a versão \"release\" mas os aplicativos estão corretos, nada será trocado");
      }
    } else {
      updateNeeded = TdmUtils::soNumericos(scoVersao) != installedDigits;
    }
    if (!updateNeeded) continue;

    run.form.showWarning(true);
    run.WriteLogLine("As versões estão diferentes, os aplicativos terão que ser atualizados");
    query.Close();
    if (!UpdateApplications(run, run.launcherFolder(), handle, false, state.releaseNumber))
      return run.abortRun("Falha ao tentar realizar a atualização dos arquivos", "", ExtraDisconnect::BeforeShutdown,
                          &session);
    break; // one update per run: the table stays on this company's row
  }
  return true;
}

bool redundancyPass(VantorimRun& run, ScopedOnlineSession& session) {
  run.WriteLogLine("Mesmo com processo de download dos arquivos finalizados, realiza a redundância para garantia");
  const bool pointOfSale = run.state.baseApplication == "Caspelo";
  const std::string base = pointOfSale ? "Caspelo" : "Quorvelin";
  if (platform::fileExists(run.launcherFolder() + base + ".exe")) {
    run.WriteLogLine("Redundância de download dos arquivos não se fez necessária");
    return true;
  }
  run.WriteLogLine("Aplicativo base configurado como \"" + base +
                   "\" mas não foi encontrado o aplicativo mesmo depois do processo de download. Será realizada a "
                   "redundância");
  run.WriteLogLine("Inicia a redundância de download dos arquivos");
  if (!UpdateApplications(run, run.launcherFolder(), run.dmUtilsDbOnline.cdsDados.Current().HANDLE, true,
                          run.state.releaseNumber))
    return run.abortRun("Falha ao tentar realizar a redundância de download dos arquivos",
                        "Mesmo após 2 tentativas de download dos aplicativos necessários, não foi possível baixá-los. "
                        "Contacte o suporte da Quorvelin para averiguação.",
                        ExtraDisconnect::BeforeMessage, &session);
  return true;
}

} // namespace

bool phaseUpdateCheck(VantorimRun& run) {
  ScopedOnlineSession& session = run.session();
  if (!checkCompanies(run, session)) return false;
  if (!redundancyPass(run, session)) return false;
  run.ShowStatus("", 0, 100, 0);
  run.dmOnline.qryOneLine.Close();
  session.disconnect();
  run.endSession();
  return true;
}

} // namespace vt
