// The end of a successful run: the essential file rewritten when the table
// changed, the company's online connection written to Config.ini, the
// download folder emptied and the base application started.
#include <string>

#include "dmutils/dm_utils.h"
#include "launcher/frm_vantorim.h"
#include "launcher/online_queries.h"
#include "launcher/phases/phases.h"
#include "launcher/run.h"
#include "launcher/run_texts.h"
#include "launcher/settings.h"
#include "online/dm_online.h"
#include "platform/process.h"
#include "terminal/utils_db_online.h"

namespace vt {

bool phaseHandOver(VantorimRun& run) {
  auto& table = run.dmUtilsDbOnline.cdsDados;
  OnlineQuery& query = run.dmOnline.qryOneLine;
  run.ShowStatus("Guardando os dados", 0, table.RecordCount(), 0);
  if (table.Changed() && table.RecordCount() > 0) {
    run.WriteLogLine("Recriando o arquivo essencial para conferência das próximas execuções do Vantorim");
    std::string error;
    if (!run.dmUtilsDbOnline.criaArquivoBaseOnline(error))
      return run.proceed(essentialFileNotSaved(error));
  } else {
    run.WriteLogLine("Definição sobre recriação do arquivo essencial: será atualizado 0-1 (" +
                     std::to_string(TdmUtils::getIntegerFromBoolean(table.Changed())) + ") | count dos dados (" +
                     std::to_string(table.RecordCount()) + ").");
  }

  runQuery(query, "select CONEXAOONLINE from tabclientes where HANDLE = :vp1", table.Current().HANDLE);
  if (query.RecordCount() == 0)
    return run.proceed(StepOutcome::alreadyTold("Servidor do Banco de Dados não encontrado. ", ExtraDisconnect::BeforeShutdown));
  query.First();
  run.dmUtils.setToConfig("CONEXAO", "CaminhoExterno", query.FieldAsString("CONEXAOONLINE"), kConfigPath);

  run.WriteLogLine("Processo do Vantorim realizado com sucesso");
  run.ShowStatus("", 0, 100, 0);
  run.dmOnline.desconectarBancoOnline();
  run.form.Shutdown(true);
  const std::string application = run.state.baseApplication == "Caspelo" ? "Caspelo.exe" : "Quorvelin.exe";
  // Its outcome is not looked at: a missing executable ends the run all the same.
  platform::shellOpen(std::string(kInstallRoot) + application, "", platform::kShowNormal);
  run.form.requestTermination();
  return run.proceed(StepOutcome::ended());
}

} // namespace vt
