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

// The implanter's password and the company's handle, the company found
// online and confirmed, its row added and, without a whole reports folder,
// the suite fetched at the company's release.
StepOutcome firstRunRegistration(VantorimRun& run) {
  RunState& state = run.state;
  TdmOnline& online = run.dmOnline;
  run.ShowStatus("Criando Dados Iniciais", 0, 100, 0);
  run.WriteLogLine("O arquivo essencial não existe");

  std::string password;
  if (!run.dmForms.formSenhaAdmin(2, password)) return StepOutcome::alreadyTold();
  if (!isImplanterPassword(password))
    return StepOutcome::abort("Errou senha desenvolvedor para criar arquivo essencial",
                              "Esse processo só pode ser realizado por um implantador Quorvelin.");

  run.advance(25);
  std::string handleText;
  if (!run.input.inputQuery("Configuração Inicial",
                            "Digite o handle do cliente que o Vantorim irá trabalhar inicialmente:", handleText))
    return StepOutcome::alreadyTold("Cancelou ao indicar o Handle para criar arquivo essencial");

  run.advance(50);
  if (!TdmUtils::strIsInteger(handleText))
    return StepOutcome::abort("Não digitou um handle como inteiro válido para criar arquivo essencial",
                              "O handle precisa ser um número inteiro válido.");
  const int handle = static_cast<int>(*utils::parseIntegerText(handleText, INT32_MIN, INT32_MAX));

  run.advance(70);
  run.WriteLogLine("Se conecta ao banco online para conferir se a empresa do handle informado existe");
  // From the connection to the disconnect below, every way out disconnects.
  ScopedOnlineSession& session = run.beginSession();
  if (const auto reason = session.connect()) {
    run.WriteLogLine("Falha para se conectar no banco online. Motivo: " + *reason);
    run.WriteLogLine("Realiza tentativa no banco online alternativo");
    if (const auto alternative = session.connectAlternative()) {
      run.WriteLogLine("Falha para se conectar no banco online alternativo. Motivo: " + *alternative);
      return StepOutcome::abort("",
                                "Não foi possível se conectar ao banco online para consulta do cadastro do cliente "
                                "Quorvelin. Motivo: " +
                                    *reason + ". Motivo Alternativo: " + *alternative,
                                ExtraDisconnect::BeforeMessage);
    }
  }

  run.advance(80);
  if (StepOutcome readable = tableReadable(
          run, "tabclientes", "Não foi encontrada tabela disponível para consulta do cadastro do cliente Quorvelin.");
      !readable)
    return readable;

  run.advance(90);
  run.WriteLogLine("Busca na tabela a empresa pelo handle indicado");
  runQuery(online.qryOneLine, "select RAZAOSOCIAL,NOMEFANT,RELEASE_VANTORIM from tabclientes where HANDLE = :vp1",
           handle);
  if (online.qryOneLine.RecordCount() == 0)
    return StepOutcome::abort("Empresa buscada pelo handle " + handleText + " não foi encontrada",
                              "Não foi encontrado o cadastro do handle nº " + handleText +
                                  " na consulta do cadastro do cliente Quorvelin.",
                              ExtraDisconnect::AfterMessage);

  run.advance(99);
  run.WriteLogLine("Pergunta se deseja continuar o Vantorim com a empresa informada");
  const std::string question = "Empresa encontrada!\r\n\r\nHandle: " + handleText +
                               "\r\nRazão Social: " + online.qryOneLine.FieldAsString("RAZAOSOCIAL") +
                               "\r\nNome Fantasia: " + online.qryOneLine.FieldAsString("NOMEFANT") +
                               "\r\n\r\nDeseja continuar com essa empresa?";
  if (!run.dmUtils.exibeMsg(question, "Informação", true, true))
    return StepOutcome::alreadyTold("Cancelou o processo do Vantorim com a empresa informada");

  if (!state.reportsPresent) {
    state.releaseNumber = online.qryOneLine.FieldAsInteger("RELEASE_VANTORIM");
    run.WriteLogLine("irá realizar os downloads baseado na versão \"release\" nº " +
                     std::to_string(state.releaseNumber));
  }
  run.ShowStatus("", 0, 100, 0);
  online.qryOneLine.Close();
  session.disconnect();
  run.endSession();

  run.WriteLogLine("Registrou no arquivo essencial do Vantorim a empresa informada");
  auto& table = run.dmUtilsDbOnline.cdsDados;
  ReportRow row;
  row.HANDLE = handle;
  row.DATAALT = utils::encodeDate(1990, 1, 1);
  table.Append(row);
  state.company = handle;

  if (!state.reportsPresent && !UpdateApplications(run, UpdatePass::First))
    return StepOutcome::alreadyTold("Falha ao tentar realizar a atualização dos arquivos",
                                    ExtraDisconnect::BeforeShutdown);

  run.WriteLogLine("Leitura do arquivo para o handle: " + handleText);
  table.SetChanged(true);
  return StepOutcome::goOn();
}

} // namespace

bool phaseRegistration(VantorimRun& run) {
  const std::string stored = run.dmUtils.getFromConfig("CONFIGURACAO", "BancoOnLine", kConfigPath);
  run.WriteLogLine("Confere se o arquivo Config");
  if (stored.empty()) return run.proceed(firstRunRegistration(run));

  run.WriteLogLine("O arquivo essencial existe e terá seu conteúdo lido");
  // lerArquivoBaseOnline's contract: empty on success, otherwise the error.
  if (const std::string error = run.dmUtilsDbOnline.lerArquivoBaseOnline(stored); !error.empty())
    return run.proceed(StepOutcome::abort(error, error));
  run.state.company = run.dmUtilsDbOnline.cdsDados.Current().HANDLE;
  run.WriteLogLine("Leitura do arquivo para o handle: " + std::to_string(run.state.company));
  return true;
}

} // namespace vt
