// The connection of the update check, and the online report table it needs.
// The session stays open for the check of each company (the next phase).
#include "launcher/online_queries.h"
#include "launcher/phases/phases.h"
#include "launcher/run.h"

namespace vt {

bool phaseUpdateConnection(VantorimRun& run) {
  run.WriteLogLine("Conectando ao banco de dados online da Quorvelin");
  run.ShowStatus("Conectando online", 0, 100, 0);
  ScopedOnlineSession& session = run.beginSession();
  // No fallback to the alternative server here.
  if (const auto reason = session.connect())
    return run.proceed(StepOutcome::abort("Falha para se conectar no banco online. Motivo: " + *reason,
                                          "Não foi possivel se conectar ao servidor.", ExtraDisconnect::BeforeMessage));

  run.advance(25);
  if (!run.proceed(tableReadable(run, "tabscoreportsonline",
                                 "Não foi encontrada tabela disponível para consulta dos relatórios.")))
    return false;
  run.advance(90);
  return true;
}

} // namespace vt
