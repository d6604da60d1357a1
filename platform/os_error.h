#pragma once
// The operating system's error passed on to a caller: its code and its
// system message, as the platform reports it.
#include <stdexcept>
#include <string>

namespace vt::platform {

class OsError : public std::runtime_error {
public:
  OsError(long code, const std::string& message) : std::runtime_error(message), code_(code) {}
  long code() const { return code_; }

  // The calling thread's last error (GetLastError on Windows, errno elsewhere).
  static OsError last();
  // The system message of an error code.
  static std::string messageFor(long code);

private:
  long code_;
};

} // namespace vt::platform
