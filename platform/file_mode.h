#pragma once
// Unix permission bits of a file the system writes from an archive. Windows
// has no counterpart (a program runs by its name, not by a bit), so there the
// call does nothing; on POSIX it keeps an extracted program runnable.
#include <filesystem>

namespace vt::platform {

// Gives hostFile the permission bits rwxrwxrwx of `mode` (the set-id and
// sticky bits are never applied). Throws OsError when the system refuses.
void applyUnixPermissions(const std::filesystem::path& hostFile, unsigned mode);

} // namespace vt::platform
