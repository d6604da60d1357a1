#include "platform/self.h"

#include <filesystem>

#include "platform/os_error.h"
#include "platform/path.h"

namespace vt::platform {

std::string currentExecutablePath() {
  std::error_code ec;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) throw OsError(ec.value(), "System Error.  Code: " + std::to_string(ec.value()) + ".\n" + ec.message());
  return fromHost(exe);
}

} // namespace vt::platform
