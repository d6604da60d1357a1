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

StepOutcome checkCompanies(VantorimRun& run) {
  RunState& state = run.state;
  OnlineQuery& query = run.dmOnline.qryOneLine;
  auto& table = run.dmUtilsDbOnline.cdsDados;
  run.ShowStatus("Conferindo aplicativos", 0, table.RecordCount(), 0);
  run.WriteLogLine("Compara a versão dos aplicativos locais com a versão do banco de dados presente nas estatísticas do "
                   "banco online");
  const std::string installedDigits = TdmUtils::soNumericos(state.installedVersion);
  int previous = 0;
  for (table.First(); !table.Eof(); table.Next()) {
    run.advance(1);
    // The company of the row the walk stands on: the one updated when the
    // check stops there, the last row's otherwise.
    state.company = table.Current().HANDLE;
    const int handle = state.company;
    if (handle == previous) continue;
    previous = handle;
    const std::string h = std::to_string(handle);

    runQuery(query, "select SCO_VERSAO,RELEASE_VANTORIM from tabclientes where HANDLE = :vp1", handle);
    if (query.RecordCount() == 0) {
      const std::string text = "Não foi encontrada tabela disponível para consulta da versão online (Handle nº: " + h + ").";
      return StepOutcome::abort(text, text, ExtraDisconnect::AfterMessage);
    }
    if (query.RecordCount() > 1)
      return StepOutcome::abort(
          "Houve problemas na consulta da versão (Handle nº: " + h + "). Mais de um registro foi encontrado",
          "Houve problemas na consulta da versão (Handle nº: " + h +
              "). Entre em contato com o suporte Quorvelin para verificação das versões.",
          ExtraDisconnect::AfterMessage);

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
    if (!UpdateApplications(run, UpdatePass::First))
      return StepOutcome::alreadyTold("Falha ao tentar realizar a atualização dos arquivos",
                                      ExtraDisconnect::BeforeShutdown);
    break; // one update per run: the table stays on this company's row
  }
  return StepOutcome::goOn();
}

StepOutcome redundancyPass(VantorimRun& run) {
  run.WriteLogLine("Mesmo com processo de download dos arquivos finalizados, realiza a redundância para garantia");
  const bool pointOfSale = run.state.baseApplication == "Caspelo";
  const std::string base = pointOfSale ? "Caspelo" : "Quorvelin";
  if (platform::fileExists(run.launcherFolder() + base + ".exe")) {
    run.WriteLogLine("Redundância de download dos arquivos não se fez necessária");
    return StepOutcome::goOn();
  }
  run.WriteLogLine("Aplicativo base configurado como \"" + base +
                   "\" mas não foi encontrado o aplicativo mesmo depois do processo de download. Será realizada a "
                   "redundância");
  run.WriteLogLine("Inicia a redundância de download dos arquivos");
  if (!UpdateApplications(run, UpdatePass::Redundancy))
    return StepOutcome::abort("Falha ao tentar realizar a redundância de download dos arquivos",
                              "Mesmo após 2 tentativas de download dos aplicativos necessários, não foi possível "
                              "baixá-los. Contacte o suporte da Quorvelin para averiguação.",
                              ExtraDisconnect::BeforeMessage);
  return StepOutcome::goOn();
}

} // namespace

bool phaseUpdateCheck(VantorimRun& run) {
  ScopedOnlineSession& session = run.session();
  if (!run.proceed(checkCompanies(run))) return false;
  if (!run.proceed(redundancyPass(run))) return false;
  run.ShowStatus("", 0, 100, 0);
  run.dmOnline.qryOneLine.Close();
  session.disconnect();
  run.endSession();
  return true;
}

} // namespace vt
