#pragma once
// The alternative online server: the second hosted MySQL server the first-run
// registration falls back to. Its database, user, password and host are fixed
// when the program is built (CMake cache variables VANTORIM_ALT_DB_NAME,
// VANTORIM_ALT_DB_USER, VANTORIM_ALT_DB_PASSWORD, VANTORIM_ALT_DB_SERVER);
// its port is the primary's, asked of the credentials library.
#include <string>

namespace vt {

struct AlternativeServer {
  std::string Database;
  std::string User_Name;
  std::string Password;
  std::string Server;

  // The values this build was made with.
  static AlternativeServer fromBuild();
};

} // namespace vt
