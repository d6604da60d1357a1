// The terminal's registration: the essential file read into the report
// table, or, on the first run, the implanter's password, the company handle,
// the company confirmed online, and its row added.
#include <string>

#include "dialogs/forms.h"
#include "dmutils/dm_utils.h"
#include "launcher/frm_vantorim.h"
#include "launcher/implanter_password.h"
#include "launcher/online_queries.h"
#include "launcher/phases/phases.h"
#include "launcher/run.h"
#include "launcher/update_applications.h"
#include "online/dm_online.h"
#include "platform/input_dialog.h"
#include "terminal/utils_db_online.h"
#include "utils/numbers_dates.h"
#include "utils/text.h"

namespace vt {
namespace {

bool firstRunRegistration(VantorimRun& run) {
  RunState& state = run.state;
  TdmOnline& online = run.dmOnline;
  run.ShowStatus("Criando Dados Iniciais", 0, 100, 0);
  run.WriteLogLine("O arquivo essencial não existe");

  std::string password;
  if (!run.dmForms.formSenhaAdmin(2, password)) return run.endRun();
  if (!isImplanterPassword(password))
    return run.abortRun("Errou senha desenvolvedor para criar arquivo essencial",
                        "Esse processo só pode ser realizado por um implantador Quorvelin.");

  run.ShowStatus("", 0, 0, 25);
  std::string handleText;
  if (!run.input.inputQuery("Configuração Inicial",
                            "Digite o handle do cliente que o Vantorim irá trabalhar inicialmente:", handleText))
    return run.abortRun("Cancelou ao indicar o Handle para criar arquivo essencial", "");

  run.ShowStatus("", 0, 0, 50);
  if (!TdmUtils::strIsInteger(handleText))
    return run.abortRun("Não digitou um handle como inteiro válido para criar arquivo essencial",
                        "O handle precisa ser um número inteiro válido.");
  const int handle = static_cast<int>(*utils::parseIntegerText(handleText, INT32_MIN, INT32_MAX));

  run.ShowStatus("", 0, 0, 70);
  run.WriteLogLine("Se conecta ao banco online para conferir se a empresa do handle informado existe");
  // From the connection to the disconnect below, every way out disconnects.
  ScopedOnlineSession session(online);
  const std::string reason = session.connect();
  if (!reason.empty()) {
    run.WriteLogLine("Falha para se conectar no banco online. Motivo: " + reason);
    run.WriteLogLine("Realiza tentativa no banco online alternativo");
    const std::string alternative = session.connectAlternative();
    if (!alternative.empty()) {
      run.WriteLogLine("Falha para se conectar no banco online alternativo. Motivo: " + alternative);
      return run.abortRun("",
                          "Não foi possível se conectar ao banco online para consulta do cadastro do cliente "
                          "Quorvelin. Motivo: " +
                              reason + ". Motivo Alternativo: " + alternative,
                          ExtraDisconnect::BeforeMessage, &session);
    }
  }

  run.ShowStatus("", 0, 0, 80);
  run.WriteLogLine("Confere se tabela tabclientes no banco online está acessível");
  runQuery(online.qryOneLine, "show tables like 'tabclientes'");
  if (online.qryOneLine.RecordCount() == 0)
    return run.abortRun("A tabela tabclientes no banco online não está acessível",
                        "Não foi encontrada tabela disponível para consulta do cadastro do cliente Quorvelin.",
                        ExtraDisconnect::AfterMessage, &session);

  run.ShowStatus("", 0, 0, 90);
  run.WriteLogLine("Busca na tabela a empresa pelo handle indicado");
  runQuery(online.qryOneLine, "select RAZAOSOCIAL,NOMEFANT,RELEASE_VANTORIM from tabclientes where HANDLE = :vp1",
           handle);
  if (online.qryOneLine.RecordCount() == 0)
    return run.abortRun("Empresa buscada pelo handle " + handleText + " não foi encontrada",
                        "Não foi encontrado o cadastro do handle nº " + handleText +
                            " na consulta do cadastro do cliente Quorvelin.",
                        ExtraDisconnect::AfterMessage, &session);

  run.ShowStatus("", 0, 0, 99);
  run.WriteLogLine("Pergunta se deseja continuar o Vantorim com a empresa informada");
  const std::string question = "Empresa encontrada!\r\n\r\nHandle: " + handleText +
                               "\r\nRazão Social: " + online.qryOneLine.FieldAsString("RAZAOSOCIAL") +
                               "\r\nNome Fantasia: " + online.qryOneLine.FieldAsString("NOMEFANT") +
                               "\r\n\r\nDeseja continuar com essa empresa?";
  if (!run.dmUtils.exibeMsg(question, "Informação", true, true))
    return run.abortRun("Cancelou o processo do Vantorim com a empresa informada", "", ExtraDisconnect::None,
                        &session);

  if (!state.reportsPresent) {
    state.releaseNumber = online.qryOneLine.FieldAsInteger("RELEASE_VANTORIM");
    run.WriteLogLine("irá realizar os downloads baseado na versão \"release\" nº " +
                     std::to_string(state.releaseNumber));
  }
  run.ShowStatus("", 0, 100, 0);
  online.qryOneLine.Close();
  session.disconnect();

  run.WriteLogLine("Registrou no arquivo essencial do Vantorim a empresa informada");
  auto& table = run.dmUtilsDbOnline.cdsDados;
  ReportRow row;
  row.HANDLE = handle;
  row.DATAALT = utils::encodeDate(1990, 1, 1);
  table.Append(row);

  if (!state.reportsPresent &&
      !UpdateApplications(run, run.launcherFolder(), handle, false, state.releaseNumber))
    return run.abortRun("Falha ao tentar realizar a atualização dos arquivos", "", ExtraDisconnect::BeforeShutdown);

  run.WriteLogLine("Leitura do arquivo para o handle: " + handleText);
  table.SetChanged(true);
  return true;
}

} // namespace

bool phaseRegistration(VantorimRun& run) {
  const std::string stored = run.dmUtils.getFromConfig("CONFIGURACAO", "BancoOnLine", kConfigPath);
  run.WriteLogLine("Confere se o arquivo Config");
  if (stored.empty()) return firstRunRegistration(run);

  run.WriteLogLine("O arquivo essencial existe e terá seu conteúdo lido");
  const std::string error = run.dmUtilsDbOnline.lerArquivoBaseOnline(stored);
  if (!error.empty()) return run.abortRun(error, error);
  run.WriteLogLine("Leitura do arquivo para o handle: " + std::to_string(run.dmUtilsDbOnline.cdsDados.Current().HANDLE));
  return true;
}

} // namespace vt
