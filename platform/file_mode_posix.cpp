#include "platform/file_mode.h"

#include <sys/stat.h>

#include "platform/os_error.h"

namespace vt::platform {

void applyUnixPermissions(const std::filesystem::path& hostFile, unsigned mode) {
  if (::chmod(hostFile.c_str(), static_cast<mode_t>(mode & 0777)) != 0) throw OsError::last();
}

} // namespace vt::platform
