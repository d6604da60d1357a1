#pragma once
// The online database module (dmOnline): one connection to the online MySQL
// database, the two query objects the run uses, and a runner of SQL scripts.
//
// The primary server's parameters are never kept by the program: they are
// asked of the credentials library at every connect and disconnect. The
// module shows nothing and logs nothing; the callers do.
#include <string>

#include "online/alternative_server.h"
#include "online/credentials.h"
#include "online/online_connection.h"
#include "online/online_error.h"
#include "online/online_query.h"

namespace vt {

class TdmOnline {
public:
  // `clientLibraryPath`: the MySQL client library (the launcher folder +
  // "libmySQL.dll"), loaded at the first connect. Nothing runs at creation;
  // the connection starts closed and without parameters.
  TdmOnline(Credentials& credentials, std::string clientLibraryPath,
            AlternativeServer alternative = AlternativeServer::fromBuild());
  TdmOnline(const TdmOnline&) = delete;
  TdmOnline& operator=(const TdmOnline&) = delete;

  OnlineConnection conOnLine;
  OnlineQuery qryOneLine;  // the run's own statements
  OnlineQuery qryTwoLine;  // the application update's statements

  // Reconnects to the primary server with freshly asked parameters. Empty
  // when the connection is open, otherwise the error's message as it is.
  std::string conectarBancoOnline();
  // The same with the alternative server (only its port is asked).
  std::string conectarBancoOnlineAlternativo();
  // Clears and closes both queries, closes the connection and configures it
  // again for the primary server. Catches nothing; harmless when closed.
  void desconectarBancoOnline();
  // Runs an SQL script of statements ended by ";" on the open connection,
  // after checking all of them without running any. False, with the reason in
  // ARetorno, when it has no ";", the connection is closed (ARetorno untouched
  // in these two), a statement does not parse (nothing is run), or a statement
  // fails when run (the ones before it stay done).
  bool executaScript(const std::string& AScript, std::string& ARetorno);

  bool connected() const { return conOnLine.Connected(); }

private:
  void setPrimaryParams();

  Credentials& credentials_;
  AlternativeServer alternative_;
};

} // namespace vt
