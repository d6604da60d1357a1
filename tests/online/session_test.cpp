// Connecting and disconnecting the online session: the primary server's
// parameters asked of the credentials library every time, the alternative
// server, the library's own error messages, and a client library that is
// missing or unusable.
#include <gtest/gtest.h>

#include <functional>

#ifdef _WIN32
#include <winsock2.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include "online_test_support.h"

namespace vt::test {
namespace {

// ---- The client library cannot be used (both platforms) -------------------

class ClientLibraryTest : public ::testing::Test {
protected:
  TempDrive drive;
  ZendralCredentials zendral{placeZendral(drive)};
  CountingCredentials credentials{zendral};
};

TEST_F(ClientLibraryTest, MissingOrUnusableLibraryFailsEveryConnectWithItsReason) {
  const std::string path = drive.path("libmySQL.dll");
  const std::string cannotLoad = "Não foi possível carregar a biblioteca do MySQL \"" + path + "\": ";
  const std::string notMySql =
      "A biblioteca \"" + path + "\" não é uma biblioteca cliente do MySQL utilizável: falta a função mysql_init";
  struct Case {
    const char* what;
    std::function<void()> prepare;
    std::string expectedStart;
  };
  const Case cases[] = {
      {"missing", [] {}, cannotLoad},
      {"not a library", [&] { drive.write("libmySQL.dll", "this is not a library"); }, cannotLoad},
      {"another library",
       [&] { std::filesystem::copy_file(testProgramFolder() / "Zendral.dll", platform::toHost(path)); }, notMySql},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::error_code ec;
    std::filesystem::remove(platform::toHost(path), ec);
    c.prepare();
    credentials.calls.clear();
    TdmOnline online(credentials, path, testAlternative());
    for (int attempt = 0; attempt < 2; ++attempt) {
      const std::string error = online.conectarBancoOnline();
      EXPECT_EQ(error.rfind(c.expectedStart, 0), 0u) << error;
      if (c.expectedStart == notMySql) {
        EXPECT_EQ(error, notMySql);
      } else {
        EXPECT_GT(error.size(), c.expectedStart.size()) << "the system's reason follows";
      }
      EXPECT_FALSE(online.connected());
    }
    EXPECT_EQ(online.conectarBancoOnlineAlternativo().rfind(c.expectedStart, 0), 0u);
    // A query on the closed connection tries to open it and raises the same.
    online.qryOneLine.SQL.Add("select 1");
    try {
      online.qryOneLine.Open();
      ADD_FAILURE() << "the query opened";
    } catch (const OnlineError& error) {
      EXPECT_EQ(std::string(error.what()).rfind(c.expectedStart, 0), 0u) << error.what();
    }
    EXPECT_NO_THROW(online.desconectarBancoOnline());
    std::vector<std::string> expected;
    for (int k = 0; k < 2; ++k) expected.insert(expected.end(), kFiveCalls.begin(), kFiveCalls.end());
    expected.push_back("portDB");
    expected.insert(expected.end(), kFiveCalls.begin(), kFiveCalls.end());
    EXPECT_EQ(credentials.calls, expected);
  }
}

TEST_F(ClientLibraryTest, DisconnectWhenNeverOpenedAsksFiveTimesAndRaisesNothing) {
  TdmOnline online(credentials, drive.path("libmySQL.dll"), testAlternative());
  EXPECT_NO_THROW(online.desconectarBancoOnline());
  EXPECT_EQ(credentials.calls, kFiveCalls);
  EXPECT_FALSE(online.connected());
  EXPECT_EQ(online.conOnLine.Params.Database, kPrimaryDb) << "configured for the primary server";
  EXPECT_EQ(online.conOnLine.Params.Port, kPort);
}

TEST_F(ClientLibraryTest, ScriptChecksComeBeforeTheConnection) {
  TdmOnline online(credentials, drive.path("libmySQL.dll"), testAlternative());
  std::string message = "anterior";
  EXPECT_FALSE(online.executaScript("select 1", message));
  EXPECT_EQ(message, "A execução aceita apenas scripts com ponto e vírula");
  EXPECT_FALSE(online.executaScript("select 1;", message));
  EXPECT_EQ(message, "Não há conexão com o banco de dados online para execução do script");
  EXPECT_TRUE(credentials.calls.empty());
}

// ---- Against the test server (both platforms) -----------------------------

// A loopback port nothing listens on: one the system just gave out and took back.
unsigned closedPort() {
#ifdef _WIN32
  WSADATA data;
  WSAStartup(MAKEWORD(2, 2), &data);
  const SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
  using Length = int;
#else
  const int s = socket(AF_INET, SOCK_STREAM, 0);
  using Length = socklen_t;
#endif
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
  Length length = sizeof address;
  getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
#ifdef _WIN32
  closesocket(s);
  WSACleanup();
#else
  close(s);
#endif
  return ntohs(address.sin_port);
}

using SessionTest = OnlineServerTest;

TEST_F(SessionTest, ConnectAsksTheFiveParametersAndOpensThePrimaryDatabase) {
  online->desconectarBancoOnline();
  credentials.calls.clear();
  EXPECT_EQ(online->conectarBancoOnline(), "");
  EXPECT_TRUE(online->connected());
  EXPECT_EQ(credentials.calls, kFiveCalls);
  EXPECT_EQ(scalar(online->qryOneLine, "select database() as db, current_user() as who", "db"), kPrimaryDb);
  EXPECT_EQ(online->qryOneLine.FieldAsString("who"), kPrimaryUser + "@%");
}

TEST_F(SessionTest, ConnectWhileOpenReconnectsWithFreshParameters) {
  const std::string first = scalar(online->qryOneLine, "select connection_id() as id", "id");
  EXPECT_TRUE(online->qryOneLine.Active());
  EXPECT_EQ(online->conectarBancoOnline(), "");
  EXPECT_EQ(credentials.calls, kFiveCalls);
  EXPECT_FALSE(online->qryOneLine.Active()) << "closing the connection closes its queries";
  const std::string second = scalar(online->qryOneLine, "select connection_id() as id", "id");
  EXPECT_NE(first, second) << "a new session";
}

TEST_F(SessionTest, FailedConnectReturnsExactlyTheLibrarysMessageAndStaysClosed) {
  const unsigned nothingThere = closedPort();
  struct Case {
    const char* what;
    std::optional<std::string> password, port;
    std::string expected;
  };
  const Case cases[] = {
      {"wrong password", std::string("errada"), std::nullopt,
       libraryConnectMessage(kPrimaryUser, "errada", kPrimaryDb, std::stoi(kPort))},
      {"closed port", std::nullopt, std::to_string(nothingThere),
       libraryConnectMessage(kPrimaryUser, kPrimaryPassword, kPrimaryDb, nothingThere)},
      {"port not a number", std::nullopt, std::string("33o6"),
       "Porta inválida para a conexão com o banco online: \"33o6\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_FALSE(c.expected.empty());
    credentials.password = c.password;
    credentials.port = c.port;
    EXPECT_EQ(online->conectarBancoOnline(), c.expected);
    EXPECT_FALSE(online->connected());
  }
  EXPECT_EQ(cases[0].expected, "Access denied for user '" + kPrimaryUser + "'@'127.0.0.1' (using password: YES)");
}

TEST_F(SessionTest, AlternativeAfterAFailedPrimaryThenDisconnectLeavesThePrimaryConfigured) {
  credentials.password = "errada";
  EXPECT_NE(online->conectarBancoOnline(), "");
  EXPECT_EQ(online->conectarBancoOnlineAlternativo(), "");
  EXPECT_EQ(scalar(online->qryOneLine, "select database() as db", "db"), kAltDb);
  std::vector<std::string> expected = kFiveCalls;
  expected.push_back("portDB");  // the alternative asks the port only
  EXPECT_EQ(credentials.calls, expected);

  credentials.password.reset();
  credentials.calls.clear();
  online->desconectarBancoOnline();
  EXPECT_FALSE(online->connected());
  EXPECT_FALSE(online->qryOneLine.Active());
  EXPECT_EQ(online->qryOneLine.SQL.Count(), 0);
  EXPECT_EQ(credentials.calls, kFiveCalls);
  EXPECT_EQ(online->conOnLine.Params.Database, kPrimaryDb);
  EXPECT_EQ(online->conOnLine.Params.User_Name, kPrimaryUser);

  // A query opened on the closed connection opens it with those parameters,
  // as the application update does after a registration.
  EXPECT_EQ(scalar(online->qryTwoLine, "select database() as db", "db"), kPrimaryDb);
  EXPECT_TRUE(online->connected());
  EXPECT_EQ(online->conectarBancoOnline(), "");
  EXPECT_EQ(scalar(online->qryOneLine, "select database() as db", "db"), kPrimaryDb);
}

TEST_F(SessionTest, DisconnectClearsAndClosesBothQueries) {
  scalar(online->qryOneLine, "select 1 as n", "n");
  scalar(online->qryTwoLine, "select 2 as n", "n");
  online->desconectarBancoOnline();
  for (OnlineQuery* query : {&online->qryOneLine, &online->qryTwoLine}) {
    EXPECT_FALSE(query->Active());
    EXPECT_EQ(query->SQL.Count(), 0);
  }
  EXPECT_NO_THROW(online->desconectarBancoOnline()) << "again, on a closed connection";
}

} // namespace
} // namespace vt::test
