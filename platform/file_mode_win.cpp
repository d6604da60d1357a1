#include "platform/file_mode.h"

namespace vt::platform {

void applyUnixPermissions(const std::filesystem::path&, unsigned) {}

} // namespace vt::platform
