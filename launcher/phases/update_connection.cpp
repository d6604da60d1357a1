// The connection of the update check, and the online report table it needs.
// The session stays open for the check of each company (the next phase).
#include "launcher/online_queries.h"
#include "launcher/phases/phases.h"
#include "launcher/run.h"
#include "online/dm_online.h"

namespace vt {

bool phaseUpdateConnection(VantorimRun& run) {
  TdmOnline& online = run.dmOnline;
  run.WriteLogLine("Conectando ao banco de dados online da Quorvelin");
  run.ShowStatus("Conectando online", 0, 100, 0);
  ScopedOnlineSession& session = run.beginSession();
  // No fallback to the alternative server here.
  const std::string reason = session.connect();
  if (!reason.empty())
    return run.abortRun("Falha para se conectar no banco online. Motivo: " + reason,
                        "Não foi possivel se conectar ao servidor.", ExtraDisconnect::BeforeMessage, &session);

  run.ShowStatus("", 0, 0, 25);
  run.WriteLogLine("Confere se tabela tabscoreportsonline no banco online está acessível");
  runQuery(online.qryOneLine, "show tables like 'tabscoreportsonline'");
  if (online.qryOneLine.RecordCount() == 0)
    return run.abortRun("A tabela tabscoreportsonline no banco online não está acessível",
                        "Não foi encontrada tabela disponível para consulta dos relatórios.",
                        ExtraDisconnect::AfterMessage, &session);
  run.ShowStatus("", 0, 0, 90);
  return true;
}

} // namespace vt
