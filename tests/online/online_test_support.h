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
#include "online/zendral_credentials.h"
#include "platform/path.h"
#include "platform/self.h"
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

// The folder of the test program, where the copy of the credentials library
// built with the test server's values lies.
inline std::filesystem::path testProgramFolder() {
#ifdef _WIN32
  return platform::toHost(platform::currentExecutablePath()).parent_path();
#else
  return std::filesystem::read_symlink("/proc/self/exe").parent_path();
#endif
}

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

#ifndef _WIN32
// What the client library itself says when it connects with these values.
inline std::string libraryConnectMessage(const std::string& user, const std::string& password,
                                         const std::string& database, unsigned port) {
  MYSQL* mysql = mysql_init(nullptr);
  std::string message;
  if (mysql_real_connect(mysql, "127.0.0.1", user.c_str(), password.c_str(), database.c_str(), port, nullptr, 0) ==
      nullptr)
    message = mysql_error(mysql);
  mysql_close(mysql);
  return message;
}

#endif

// A module whose client library is a link named libmySQL.dll, as the
// installation carries it, connected to the primary test database.
class OnlineServerTest : public ::testing::Test {
protected:
  void SetUp() override {
#ifdef _WIN32
    GTEST_SKIP() << "no Windows MySQL client library here: the SQL path is tested by the Linux build";
#else
    clientPath = drive.path("libmySQL.dll");
    std::filesystem::create_symlink(VT_MARIADB_CLIENT, platform::toHost(clientPath));
    online = std::make_unique<TdmOnline>(credentials, clientPath, testAlternative());
    ASSERT_EQ(online->conectarBancoOnline(), "");
    credentials.calls.clear();
#endif
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
