#include "platform/path.h"

#include <cctype>
#include <cstdlib>
#include <system_error>

namespace vt::platform {
namespace {

namespace fs = std::filesystem;

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

fs::path driveRoot(char letter) {
  letter = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
  std::string var = std::string("VANTORIM_DRIVE_") + letter;
  if (const char* v = std::getenv(var.c_str()); v && *v) return fs::path(v);
  if (letter == 'C') return fs::path("/");
  // An unmapped drive: a path that cannot exist, so every operation fails as
  // it would on a terminal without that drive.
  return fs::path("/nonexistent-drive-") += std::string(1, letter);
}

// Appends one component, taking an existing entry that differs only in letter
// case when the exact one is missing.
void appendComponent(fs::path& base, std::string_view component) {
  if (component.empty() || component == ".") return;
  if (component == "..") {
    base = base.parent_path();
    return;
  }
  fs::path exact = base / std::string(component);
  std::error_code ec;
  if (fs::exists(fs::symlink_status(exact, ec)) || !fs::is_directory(base, ec)) {
    base = std::move(exact);
    return;
  }
  for (fs::directory_iterator it(base, ec), end; !ec && it != end; it.increment(ec)) {
    std::string name = it->path().filename().string();
    if (equalsIgnoringCase(name, component)) {
      base /= name;
      return;
    }
  }
  base = std::move(exact);
}

} // namespace

fs::path toHost(std::string_view p) {
  fs::path base;
  std::string_view rest = p;
  if (p.size() >= 2 && std::isalpha(static_cast<unsigned char>(p[0])) && p[1] == ':') {
    base = driveRoot(p[0]);
    rest = p.substr(2);
  } else if (p.size() >= 2 && (p[0] == '\\' || p[0] == '/') && (p[1] == '\\' || p[1] == '/')) {
    base = driveRoot('C') / ".unc";
    rest = p.substr(2);
  } else if (!p.empty() && (p[0] == '\\' || p[0] == '/')) {
    base = driveRoot('C');
  } else {
    base = fs::path();
  }
  size_t start = 0;
  while (start <= rest.size()) {
    size_t end = rest.find_first_of("\\/", start);
    if (end == std::string_view::npos) end = rest.size();
    std::string_view component = rest.substr(start, end - start);
    if (base.empty() && !component.empty()) {
      base = std::string(component);
    } else {
      appendComponent(base, component);
    }
    start = end + 1;
  }
  // Keep a trailing separator: callers build folder names with it.
  if (!rest.empty() && (rest.back() == '\\' || rest.back() == '/')) base /= "";
  return base;
}

std::string fromHost(const fs::path& hostPath) {
  fs::path c = driveRoot('C');
  std::error_code ec;
  fs::path abs = fs::absolute(hostPath, ec);
  std::string text = abs.lexically_normal().string();
  std::string root = fs::absolute(c, ec).lexically_normal().string();
  while (root.size() > 1 && root.back() == '/') root.pop_back();
  std::string rel;
  if (root == "/") {
    rel = text;
  } else if (text.compare(0, root.size(), root) == 0 && (text.size() == root.size() || text[root.size()] == '/')) {
    rel = text.substr(root.size());
  } else {
    rel = text; // outside the mapped drive: keep it readable
  }
  std::string out = "C:";
  for (char ch : rel) out += (ch == '/') ? '\\' : ch;
  if (out == "C:") out += '\\';
  return out;
}

std::string hostPathText(const fs::path& hostPath) { return hostPath.string(); }

} // namespace vt::platform
