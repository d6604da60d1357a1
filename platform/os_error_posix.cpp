#include "platform/os_error.h"

#include <cerrno>
#include <cstring>

namespace vt::platform {

std::string OsError::messageFor(long code) { return std::strerror(static_cast<int>(code)); }

OsError OsError::last() {
  long code = errno;
  return OsError(code, "System Error.  Code: " + std::to_string(code) + ".\n" + messageFor(code));
}

} // namespace vt::platform
