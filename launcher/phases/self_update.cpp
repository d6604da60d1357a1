// The launcher's own version against the one the maker publishes: when they
// differ, the package is fetched, the running executable moved aside under
// its swap name, the package extracted over the launcher folder and the new
// executable started.
#include <string>

#include "dmutils/dm_utils.h"
#include "launcher/frm_vantorim.h"
#include "launcher/online_queries.h"
#include "launcher/phases/phases.h"
#include "online/dm_online.h"
#include "platform/files.h"
#include "platform/process.h"
#include "utils/zip_archive.h"

namespace vt {
namespace {

// Closes the connection on every way out of the check, an unexpected error
// included; the ends that close it themselves disarm it.
struct DisconnectOnExit {
  TdmOnline& online;
  bool armed = true;
  ~DisconnectOnExit() {
    if (!armed) return;
    try {
      online.desconectarBancoOnline();
    } catch (...) {
    }
  }
};

bool replaceLauncher(TfrmVantorim& form) {
  TdmOnline& online = form.dmOnline;
  const std::string folder = form.launcherFolder();
  form.showWarning(true);
  if (!form.DownloadFile("Vantorim.zip", "", "Quorvelin/upd/", folder + "dwd\\Vantorim.zip")) {
    online.desconectarBancoOnline();
    form.endRun();
    return false;
  }
  form.WriteLogLine("Renomeia o Vantorim para fazer a troca");
  if (!platform::moveFile(folder + form.exeName(), folder + "TrocaParaAtualizacao_" + form.exeName())) {
    form.dmUtils.exibeMsg("Não foi possível renomear o Vantorim para troca por uma versão mais atualizada.", "Atenção",
                          false, true);
    online.desconectarBancoOnline();
    form.endRun();
    return false;
  }
  form.WriteLogLine("Descompacta o Vantorim baixado");
  if (!utils::extractZip(folder + "dwd\\Vantorim.zip", folder)) {
    form.dmUtils.exibeMsg(
        "Houve problemas ao tentar descompactar o arquivo Vantorim.zip. Isso pode ter acontecido pelo arquivo ter sido "
        "baixado corrompido ou haver restrições de seu sistema operacional as ações do atualizador. Tente novamente o "
        "processo de atualização dando permissões gerais ao Vantorim e o executando como administrador.",
        "Atenção", false, true);
    online.desconectarBancoOnline();
    form.endRun();
    return false;
  }
  form.WriteLogLine("Encerra o atual Vantorim renomeado e executa o novo baixado");
  online.desconectarBancoOnline();
  form.Shutdown(false);
  platform::shellOpen(std::string(kInstallRoot) + "Vantorim.exe", "", platform::kShowNormal);
  form.requestTermination();
  return false;
}

} // namespace

bool phaseSelfUpdate(TfrmVantorim& form) {
  TdmOnline& online = form.dmOnline;
  form.WriteLogLine("Conectando ao banco de dados online da Quorvelin para verificar versão do Vantorim");
  form.ShowStatus("Conectando online", 0, 100, 0);
  DisconnectOnExit guard{online};
  const std::string reason = online.conectarBancoOnline();
  if (!reason.empty()) {
    guard.armed = false;
    form.WriteLogLine("Falha para se conectar no banco online para troca do Vantorim. Motivo: " + reason);
    online.desconectarBancoOnline();
    form.dmUtils.exibeMsg("Não foi possível se conectar ao banco online para consulta da versão do Vantorim. Motivo: " + reason,
                          "Atenção", false, true);
    form.endRun();
    return false;
  }

  form.ShowStatus("", 0, 0, 25);
  form.WriteLogLine("Confere se tabela tabscoappversoes no banco online está acessível");
  runQuery(online.qryOneLine, "show tables like 'tabscoappversoes'");
  if (online.qryOneLine.RecordCount() == 0) {
    guard.armed = false;
    form.WriteLogLine("A tabela tabscoappversoes no banco online não está acessível");
    form.dmUtils.exibeMsg("Não foi encontrada tabela disponível para consulta da versão do Vantorim.", "Atenção", false,
                          true);
    online.desconectarBancoOnline();
    form.endRun();
    return false;
  }

  form.ShowStatus("", 0, 0, 50);
  runQuery(online.qryOneLine, "select VANTORIM from tabscoappversoes where CODIGO = 1");
  form.WriteLogLine("Compara a versão do Vantorim local com a versão do banco online para atualizar se necessário");
  const std::string published =
      online.qryOneLine.RecordCount() == 0 ? std::string() : TdmUtils::soNumericos(fieldText(online.qryOneLine, "VANTORIM"));
  const std::string local =
      TdmUtils::soNumericos(TdmUtils::GetExeVersion(form.launcherFolder() + form.exeName()));
  if (published == local) return true; // the guard disconnects

  // A swap file beside us means this process was started by the update that
  // just ran, and the build it brought still is not the published one (the
  // package does not hold that version, or the table's value can never match).
  // Updating again would restart for ever: go on with this build instead.
  if (platform::fileExists(form.launcherFolder() + "TrocaParaAtualizacao_" + form.exeName())) {
    form.WriteLogLine("A versão do Vantorim recém-atualizado (" + local + ") continua diferente da versão do banco online (" +
                      published + "); a atualização não será repetida");
    return true;
  }
  guard.armed = false;
  return replaceLauncher(form);
}

} // namespace vt
