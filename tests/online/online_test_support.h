#pragma once
// What the online suites share: the test server's values, the credentials
// library built with them (Zendral.dll beside the test program), a
// credentials double that records the calls and can answer a wrong value, and
// a fixture with a module connected to the test server.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "test_values.h"

#include "online/dm_online.h"
#include "online/mysql_client.h"
#include "online/zendral_credentials.h"
#include "platform/path.h"
#include "tests/support/client_library.h"
#include "tests/support/temp_drive.h"

#ifndef _WIN32
#include <mariadb/mysql.h>
#endif

namespace vt::test {

inline const std::string kPort = VT_TEST_MARIADB_PORT;
inline const std::string kPrimaryDb = VT_TEST_PRIMARY_DB;
inline const std::string kPrimaryUser = VT_TEST_PRIMARY_USER;
inline const std::string kPrimaryPassword = VT_TEST_PRIMARY_PASSWORD;
inline const std::string kAltDb = VT_TEST_ALT_DB;
inline const std::string kAltUser = VT_TEST_ALT_USER;
inline const std::string kAltPassword = VT_TEST_ALT_PASSWORD;

// That library copied into the test's drive, as it lies in the launcher
// folder; its Windows path.
inline std::string placeZendral(const TempDrive& drive) {
  const std::string path = drive.path("Zendral.dll");
  std::filesystem::copy_file(testProgramFolder() / "Zendral.dll", platform::toHost(path),
                             std::filesystem::copy_options::overwrite_existing);
  return path;
}

inline AlternativeServer testAlternative() { return {kAltDb, kAltUser, kAltPassword, "127.0.0.1"}; }

// Passes the calls on to the real library, records their names in order, and
// answers a replacement password or port when one is set.
class CountingCredentials : public Credentials {
public:
  explicit CountingCredentials(Credentials& inner) : inner_(inner) {}
  std::vector<std::string> calls;
  std::optional<std::string> password;
  std::optional<std::string> port;

  std::string nameDB() override { return record("nameDB", inner_.nameDB()); }
  std::string userNameDB() override { return record("userNameDB", inner_.userNameDB()); }
  std::string passDB() override { return record("passDB", password ? *password : inner_.passDB()); }
  std::string serverDB() override { return record("serverDB", inner_.serverDB()); }
  std::string portDB() override { return record("portDB", port ? *port : inner_.portDB()); }

private:
  std::string record(const char* name, std::string value) {
    calls.push_back(name);
    return value;
  }
  Credentials& inner_;
};

inline const std::vector<std::string> kFiveCalls = {"nameDB", "userNameDB", "passDB", "serverDB", "portDB"};

// What the client library itself says when it connects with these values.
// Linux asks the library the tests link; Windows binds the DLL's functions
// by hand, without the session's code.
inline std::string libraryConnectMessage(const std::string& user, const std::string& password,
                                         const std::string& database, unsigned port) {
#ifdef _WIN32
  std::string error;
  const auto client = online_detail::loadMySqlClient(platform::fromHost(clientLibraryFile()), error);
  if (!client) return "(the client library did not load: " + error + ")";
  MYSQL* mysql = client->init(nullptr);
  std::string message;
  if (client->real_connect(mysql, "127.0.0.1", user.c_str(), password.c_str(), database.c_str(), port, nullptr, 0) ==
      nullptr)
    message = client->error(mysql);
  client->close(mysql);
  return message;
#else
  MYSQL* mysql = mysql_init(nullptr);
  std::string message;
  if (mysql_real_connect(mysql, "127.0.0.1", user.c_str(), password.c_str(), database.c_str(), port, nullptr, 0) ==
      nullptr)
    message = mysql_error(mysql);
  mysql_close(mysql);
  return message;
#endif
}

// A module whose client library is a file named libmySQL.dll, as the
// installation carries it, connected to the primary test database.
class OnlineServerTest : public ::testing::Test {
protected:
  void SetUp() override {
    clientPath = drive.path("libmySQL.dll");
    placeClientLibrary(clientPath);
    online = std::make_unique<TdmOnline>(credentials, clientPath, testAlternative());
    ASSERT_EQ(online->conectarBancoOnline(), "");
    credentials.calls.clear();
  }

  // Runs statements of the test's own set-up on the open connection.
  void exec(const std::string& statement) { online->conOnLine.execute(statement); }
  // Column `column` of the first row of a statement run on `query` (empty
  // text when there is no row).
  static std::string scalar(OnlineQuery& query, const std::string& statement, std::string_view column) {
    query.Close();
    query.SQL.Clear();
    query.SQL.Add(statement);
    query.Open();
    return query.FieldByName(column).AsString();
  }

  TempDrive drive;
  std::string clientPath;
  ZendralCredentials zendral{placeZendral(drive)};
  CountingCredentials credentials{zendral};
  std::unique_ptr<TdmOnline> online;
};

} // namespace vt::test
