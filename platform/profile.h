#pragma once
// The Windows private-profile (INI) format, as the suite's applications share
// Config.ini. Windows uses its own profile functions; the POSIX port has a
// reader and writer that keeps the same rules:
//  - section and key names match without regard to letter case, blanks around
//    names and values are ignored, a value between matching quotes loses them;
//  - a read gives at most 2047 characters (a 2048-character buffer);
//  - a write changes one line, creates the section at the end of the file and
//    the key at the end of its section when missing, and leaves every other
//    line as it was;
//  - the file's byte-order mark, if any, is kept.
// Paths are Windows paths.
#include <string>
#include <string_view>

namespace vt::platform {

constexpr size_t kProfileValueLimit = 2047;

// The value, or the empty text when the file, section or key is missing or
// the file cannot be read.
std::string profileRead(std::string_view section, std::string_view key, std::string_view path);

// Each returns false when the platform refuses the write.
bool profileWrite(std::string_view section, std::string_view key, std::string_view value, std::string_view path);
bool profileDeleteKey(std::string_view section, std::string_view key, std::string_view path);
bool profileDeleteSection(std::string_view section, std::string_view path);

} // namespace vt::platform
