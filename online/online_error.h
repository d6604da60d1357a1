#pragma once
// An error of the online database session: the client library's or the
// server's message as the library reports it (code 0 for errors the session
// raises itself: no client library, a parameter without value...).
#include <stdexcept>
#include <string>

namespace vt {

class OnlineError : public std::runtime_error {
public:
  explicit OnlineError(const std::string& message, unsigned code = 0)
      : std::runtime_error(message), code_(code) {}
  // The client library's error number (mysql_errno), 0 when none.
  unsigned code() const { return code_; }

private:
  unsigned code_;
};

} // namespace vt
