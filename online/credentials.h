#pragma once
// The five questions the online session asks about the primary database
// server, each asked afresh at every connect and disconnect. The production
// answer is the Zendral library (zendral_credentials.h).
#include <string>

namespace vt {

class Credentials {
public:
  virtual ~Credentials() = default;
  virtual std::string nameDB() = 0;     // "Database"
  virtual std::string userNameDB() = 0; // "User_Name"
  virtual std::string passDB() = 0;     // "Password"
  virtual std::string serverDB() = 0;   // "Server"
  virtual std::string portDB() = 0;     // "Port", as text
};

} // namespace vt
