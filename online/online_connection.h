#pragma once
// The connection to the online MySQL database (conOnLine). Its five
// parameters are texts, the port included; the client library is loaded from
// the file given at construction the first time the connection opens.
//
// The one option set besides the five parameters is the session's character
// set (utf8mb4, or utf8 on a server without it): texts are UTF-8 throughout
// the system, and the library's default could hand accented text over in
// another code page.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "online/online_error.h"
#include "online/online_values.h"

namespace vt {

namespace online_detail {
struct MySqlClient;
}
class OnlineQuery;

struct OnlineParams {
  std::string Database;
  std::string User_Name;
  std::string Password;
  std::string Server;
  std::string Port;  // empty for the library's default port
};

class OnlineConnection {
public:
  // `clientLibraryPath`: the Windows path of the MySQL client library
  // (the launcher folder + "libmySQL.dll").
  explicit OnlineConnection(std::string clientLibraryPath);
  ~OnlineConnection();
  OnlineConnection(const OnlineConnection&) = delete;
  OnlineConnection& operator=(const OnlineConnection&) = delete;

  OnlineParams Params;

  // Opens the connection with Params; nothing when it is open. OnlineError
  // with the library's message (or the session's own, for a missing or
  // unusable library and a port that is not a number) when it fails; the
  // connection then stays closed.
  void Open();
  // Closes the connection and the queries on it; nothing when it is closed.
  void Close();
  bool Connected() const { return handle_ != nullptr; }

  // ---- For the queries and the script runner on this connection ----------

  // Runs one statement with its parameters bound to the "?" placeholders, in
  // order, and reads its whole result (no columns when it returns none). A
  // closed connection is opened first. OnlineError on any failure.
  ResultSet run(const std::string& statement, const std::vector<ParamValue>& parameters);
  // The server's parse error for a statement, found without running it
  // (nullopt when it parses). OnlineError when the server cannot be asked.
  std::optional<std::string> syntaxError(const std::string& statement);
  // Runs one statement and drops any result. OnlineError on failure.
  void execute(const std::string& statement);

  void attach(OnlineQuery* query);
  void detach(OnlineQuery* query);

private:
  online_detail::MySqlClient& client();
  [[noreturn]] void raiseConnectionError();

  std::string clientLibraryPath_;
  std::unique_ptr<online_detail::MySqlClient> client_;
  void* handle_ = nullptr;  // MYSQL*
  std::vector<OnlineQuery*> queries_;
};

} // namespace vt
