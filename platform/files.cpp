// The parts of the file facility that std::filesystem serves alike on every
// platform (through toHost).
#include "platform/files.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/os_error.h"
#include "platform/path.h"

namespace vt::platform {
namespace fs = std::filesystem;

bool fileExists(std::string_view path) {
  std::error_code ec;
  return !path.empty() && fs::is_regular_file(toHost(path), ec);
}

bool directoryExists(std::string_view path) {
  std::error_code ec;
  return !path.empty() && fs::is_directory(toHost(path), ec);
}

bool pathExists(std::string_view path) {
  std::error_code ec;
  return !path.empty() && fs::exists(toHost(path), ec);
}

bool createDirectories(std::string_view path) {
  std::error_code ec;
  fs::path p = toHost(path);
  fs::create_directories(p, ec);
  return fs::is_directory(p, ec);
}

bool deleteFile(std::string_view path) {
  std::error_code ec;
  fs::path p = toHost(path);
  if (!fs::is_regular_file(fs::symlink_status(p, ec)) && !fs::is_symlink(fs::symlink_status(p, ec))) return false;
  return fs::remove(p, ec);
}

bool moveFile(std::string_view from, std::string_view to) {
  std::error_code ec;
  fs::path src = toHost(from), dst = toHost(to);
  if (!fs::exists(fs::symlink_status(src, ec)) || fs::exists(fs::symlink_status(dst, ec))) return false;
  fs::rename(src, dst, ec);
  return !ec;
}

bool copyFile(std::string_view from, std::string_view to) {
  std::error_code ec;
  fs::copy_file(toHost(from), toHost(to), fs::copy_options::overwrite_existing, ec);
  return !ec;
}

bool wildcardMatch(std::string_view pattern, std::string_view name) {
  if (pattern == "*.*") return true; // as on Windows: also names without a dot
  // As on Windows, a last ".*" also matches a name without an extension
  // ("trocandoPorVersaoOnline_*.*" finds "trocandoPorVersaoOnline_x").
  if (pattern.size() > 2 && pattern.ends_with(".*") && wildcardMatch(pattern.substr(0, pattern.size() - 2), name))
    return true;
  size_t p = 0, n = 0, starP = std::string_view::npos, starN = 0;
  auto eq = [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
  };
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || eq(pattern[p], name[n]))) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

std::vector<DirEntry> listDirectory(std::string_view folder, std::string_view pattern) {
  std::vector<DirEntry> entries;
  std::error_code ec;
  for (fs::directory_iterator it(toHost(folder), ec), end; !ec && it != end; it.increment(ec)) {
    std::string name = hostPathText(it->path().filename());
    if (!wildcardMatch(pattern, name)) continue;
    std::error_code ec2;
    entries.push_back({name, it->is_directory(ec2)});
  }
  return entries;
}

int64_t fileSize(std::string_view path) {
  std::error_code ec;
  const fs::path host = toHost(path);
  // A folder's attributes read like a file's, with the length 0.
  if (fs::is_directory(host, ec)) return 0;
  auto size = fs::file_size(host, ec);
  return ec ? -1 : static_cast<int64_t>(size);
}

bool appendToFile(std::string_view path, std::string_view bytes) {
  std::ofstream out(toHost(path), std::ios::binary | std::ios::app);
  if (!out) return false;
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out.flush());
}

std::string readWholeFile(std::string_view path) {
  std::ifstream in(toHost(path), std::ios::binary);
  if (!in) throw OsError(2, "Cannot open file \"" + std::string(path) + "\". " + OsError::messageFor(2));
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

} // namespace vt::platform
