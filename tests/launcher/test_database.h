#pragma once
// The test MariaDB server's primary user on one of its databases (the
// primary one, or a suite's own "<primary>_<suite>").
#include <string>

#include "tests/launcher/launcher_fixture.h"
#include "test_server_values.h"

namespace vt::test {

inline FixedCredentials testDatabase(const std::string& database = VT_TEST_PRIMARY_DB) {
  FixedCredentials c;
  c.name = database;
  c.user = VT_TEST_PRIMARY_USER;
  c.password = VT_TEST_PRIMARY_PASSWORD;
  c.server = "127.0.0.1";
  c.port = VT_TEST_MARIADB_PORT;
  return c;
}

} // namespace vt::test
