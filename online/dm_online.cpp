#include "online/dm_online.h"

#include <exception>

#include "online/sql_text.h"

namespace vt {

namespace {
const char* const kNoSemicolon = "A execução aceita apenas scripts com ponto e vírula";
const char* const kNoConnection = "Não há conexão com o banco de dados online para execução do script";
const char* const kInvalidScript =
    "Não foi possível executar os comandos em SQL. Confira se estão corretos e tente novamente.";
} // namespace

TdmOnline::TdmOnline(Credentials& credentials, std::string clientLibraryPath, AlternativeServer alternative)
    : conOnLine(std::move(clientLibraryPath)),
      qryOneLine(conOnLine),
      qryTwoLine(conOnLine),
      credentials_(credentials),
      alternative_(std::move(alternative)) {}

void TdmOnline::setPrimaryParams() {
  conOnLine.Params.Database = credentials_.nameDB();
  conOnLine.Params.User_Name = credentials_.userNameDB();
  conOnLine.Params.Password = credentials_.passDB();
  conOnLine.Params.Server = credentials_.serverDB();
  conOnLine.Params.Port = credentials_.portDB();
}

std::string TdmOnline::conectarBancoOnline() {
  try {
    conOnLine.Close();
    setPrimaryParams();
    conOnLine.Open();
    return {};
  } catch (const std::exception& error) {
    conOnLine.Close();
    return error.what();
  }
}

std::string TdmOnline::conectarBancoOnlineAlternativo() {
  try {
    conOnLine.Close();
    conOnLine.Params.Database = alternative_.Database;
    conOnLine.Params.User_Name = alternative_.User_Name;
    conOnLine.Params.Password = alternative_.Password;
    conOnLine.Params.Server = alternative_.Server;
    conOnLine.Params.Port = credentials_.portDB();
    conOnLine.Open();
    return {};
  } catch (const std::exception& error) {
    conOnLine.Close();
    return error.what();
  }
}

void TdmOnline::desconectarBancoOnline() {
  qryOneLine.SQL.Clear();
  qryOneLine.Close();
  qryTwoLine.SQL.Clear();
  qryTwoLine.Close();
  conOnLine.Close();
  setPrimaryParams();
}

bool TdmOnline::executaScript(const std::string& AScript, std::string& ARetorno) {
  if (AScript.find(';') == std::string::npos) {
    ARetorno = kNoSemicolon;
    return false;
  }
  if (!conOnLine.Connected()) {
    ARetorno = kNoConnection;
    return false;
  }
  ARetorno.clear();

  // Every statement is checked by the server's parser before any runs.
  const auto statements = online_detail::splitScript(AScript);
  bool valid = statements.has_value();
  for (std::size_t k = 0; valid && k < statements->size(); ++k)
    valid = !conOnLine.syntaxError((*statements)[k]).has_value();
  if (!valid) {
    ARetorno = kInvalidScript;
    return false;
  }
  // A statement that fails when run stops the script and is reported: what
  // follows it may depend on it, and a failed script is not a success.
  for (const std::string& statement : *statements) {
    try {
      conOnLine.execute(statement);
    } catch (const OnlineError& error) {
      ARetorno = std::string(kInvalidScript) + " Motivo: " + error.what();
      return false;
    }
  }
  return true;
}

} // namespace vt
