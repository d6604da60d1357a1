#include "platform/profile.h"

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <optional>
#include <sstream>
#include <system_error>
#include <vector>

#include "platform/encoding.h"
#include "platform/path.h"

namespace vt::platform {
namespace {

namespace fs = std::filesystem;

enum class Bom { None, Utf8, Utf16Le };

struct Line {
  std::string text;   // without its terminator
  std::string ending; // "\r\n", "\n" or "" for a last line without one
};

struct ProfileFile {
  Bom bom = Bom::None;
  std::vector<Line> lines;
  // A UTF-16 file of an odd length: its last byte, written back as it was.
  std::string oddTail;
};

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

std::string_view trim(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

// Letter case folding for names: ASCII and the Latin-1 letters of Portuguese.
std::string fold(std::string_view s) {
  std::wstring wide = utf8ToWide(s);
  for (auto& ch : wide) {
    if ((ch >= L'A' && ch <= L'Z') || (ch >= 0xC0 && ch <= 0xDE && ch != 0xD7)) ch = static_cast<wchar_t>(ch + 32);
  }
  return wideToUtf8(wide);
}

bool sameName(std::string_view a, std::string_view b) { return fold(trim(a)) == fold(trim(b)); }

// UTF-16 files are taken apart and put back together without loss, so a
// write leaves the other lines' units as they were: a surrogate without its
// partner is kept as its own three-byte form (which no reader of the value
// takes for a character) and turned back into the same unit.
std::string utf16LeToUtf8(std::string_view bytes) {
  std::string out;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    char32_t cp = static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8);
    if (cp >= 0xD800 && cp < 0xDC00 && i + 3 < bytes.size()) {
      char32_t low = static_cast<unsigned char>(bytes[i + 2]) | (static_cast<unsigned char>(bytes[i + 3]) << 8);
      if (low >= 0xDC00 && low < 0xE000) {
        cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
        i += 2;
      }
    }
    appendUtf8(out, cp);
  }
  return out;
}

std::string utf8ToUtf16Le(std::string_view text) {
  std::string out;
  auto put = [&](char32_t u) {
    out += static_cast<char>(u & 0xFF);
    out += static_cast<char>((u >> 8) & 0xFF);
  };
  for (size_t i = 0; i < text.size();) {
    const auto at = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    // The three-byte form of a lone surrogate, as utf16LeToUtf8 wrote it.
    if (at(i) == 0xED && i + 2 < text.size() && at(i + 1) >= 0xA0 && at(i + 1) <= 0xBF && (at(i + 2) & 0xC0) == 0x80) {
      put(0xD000 | ((at(i + 1) & 0x3F) << 6) | (at(i + 2) & 0x3F));
      i += 3;
      continue;
    }
    char32_t cp = decodeUtf8(text, i);
    if (cp >= 0x10000) {
      cp -= 0x10000;
      put(0xD800 + (cp >> 10));
      put(0xDC00 + (cp & 0x3FF));
    } else {
      put(cp);
    }
  }
  return out;
}

std::optional<std::string> readBytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

ProfileFile parse(std::string bytes) {
  ProfileFile file;
  std::string text;
  if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
    file.bom = Bom::Utf8;
    text = bytes.substr(3);
  } else if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF && static_cast<unsigned char>(bytes[1]) == 0xFE) {
    file.bom = Bom::Utf16Le;
    text = utf16LeToUtf8(std::string_view(bytes).substr(2));
    if (bytes.size() % 2 != 0) file.oddTail = bytes.substr(bytes.size() - 1);
  } else {
    text = std::move(bytes);
  }
  size_t start = 0;
  while (start < text.size()) {
    size_t nl = text.find('\n', start);
    Line line;
    if (nl == std::string::npos) {
      line.text = text.substr(start);
      start = text.size();
    } else {
      size_t end = nl;
      line.ending = "\n";
      if (end > start && text[end - 1] == '\r') {
        --end;
        line.ending = "\r\n";
      }
      line.text = text.substr(start, end - start);
      start = nl + 1;
    }
    file.lines.push_back(std::move(line));
  }
  return file;
}

// The section name when the line is a section header.
std::optional<std::string_view> sectionName(std::string_view line) {
  std::string_view t = trim(line);
  if (t.empty() || t.front() != '[') return std::nullopt;
  size_t close = t.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return trim(t.substr(1, close - 1));
}

std::string_view entryKey(std::string_view line) {
  size_t eq = line.find('=');
  return trim(eq == std::string_view::npos ? line : line.substr(0, eq));
}

std::string_view entryValue(std::string_view line) {
  size_t eq = line.find('=');
  return eq == std::string_view::npos ? std::string_view() : trim(line.substr(eq + 1));
}

// [header, end) of the first section with that name; end is the next header.
std::optional<std::pair<size_t, size_t>> findSection(const ProfileFile& f, std::string_view section) {
  for (size_t i = 0; i < f.lines.size(); ++i) {
    auto name = sectionName(f.lines[i].text);
    if (!name || !sameName(*name, section)) continue;
    size_t end = i + 1;
    while (end < f.lines.size() && !sectionName(f.lines[end].text)) ++end;
    return std::make_pair(i, end);
  }
  return std::nullopt;
}

std::optional<size_t> findKey(const ProfileFile& f, std::pair<size_t, size_t> range, std::string_view key) {
  for (size_t i = range.first + 1; i < range.second; ++i) {
    if (trim(f.lines[i].text).empty()) continue;
    if (sameName(entryKey(f.lines[i].text), key)) return i;
  }
  return std::nullopt;
}

// Writes beside the file, then renames over it, so a crash during the write
// keeps the previous content whole.
bool save(const ProfileFile& f, const fs::path& target) {
  std::string text;
  for (const auto& line : f.lines) text += line.text + line.ending;
  std::string bytes;
  switch (f.bom) {
  case Bom::None: bytes = text; break;
  case Bom::Utf8: bytes = "\xEF\xBB\xBF" + text; break;
  case Bom::Utf16Le: bytes = "\xFF\xFE" + utf8ToUtf16Le(text) + f.oddTail; break;
  }
  std::error_code ec;
  if (!fs::is_directory(target.parent_path().empty() ? fs::path(".") : target.parent_path(), ec)) return false;
  fs::path temp = target;
  temp += ".vt-write-" + std::to_string(::getpid());
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
      out.close();
      fs::remove(temp, ec);
      return false;
    }
  }
  fs::rename(temp, target, ec);
  if (ec) {
    fs::remove(temp, ec);
    return false;
  }
  return true;
}

// Loads the file for a change; a missing file is an empty profile, an
// unreadable one refuses the write.
std::optional<ProfileFile> loadForChange(const fs::path& p) {
  std::error_code ec;
  // Without its folder the file cannot be opened for writing at all.
  if (!fs::is_directory(p.parent_path().empty() ? fs::path(".") : p.parent_path(), ec)) return std::nullopt;
  if (!fs::exists(p, ec)) return ProfileFile{};
  if (fs::is_directory(p, ec)) return std::nullopt;
  auto bytes = readBytes(p);
  if (!bytes) return std::nullopt;
  return parse(std::move(*bytes));
}

void appendLine(ProfileFile& f, std::string text) {
  if (!f.lines.empty() && f.lines.back().ending.empty()) f.lines.back().ending = "\r\n";
  f.lines.push_back({std::move(text), "\r\n"});
}

} // namespace

std::string profileRead(std::string_view section, std::string_view key, std::string_view path) {
  auto bytes = readBytes(toHost(path));
  if (!bytes) return {};
  ProfileFile f = parse(std::move(*bytes));
  auto range = findSection(f, section);
  if (!range) return {};
  auto at = findKey(f, *range, key);
  if (!at) return {};
  std::string_view value = entryValue(f.lines[*at].text);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return firstCharacters(value, kProfileValueLimit);
}

bool profileWrite(std::string_view section, std::string_view key, std::string_view value, std::string_view path) {
  fs::path p = toHost(path);
  auto f = loadForChange(p);
  if (!f) return false;
  std::string entry = std::string(trim(key)) + "=" + std::string(value);
  auto range = findSection(*f, section);
  if (!range) {
    appendLine(*f, "[" + std::string(trim(section)) + "]");
    appendLine(*f, entry);
    return save(*f, p);
  }
  if (auto at = findKey(*f, *range, key)) {
    f->lines[*at].text = std::string(entryKey(f->lines[*at].text)) + "=" + std::string(value);
    return save(*f, p);
  }
  // After the section's last entry, before any blank lines that separate it
  // from the next section.
  size_t insertAt = range->second;
  while (insertAt > range->first + 1 && trim(f->lines[insertAt - 1].text).empty()) --insertAt;
  if (insertAt == f->lines.size()) {
    appendLine(*f, entry);
  } else {
    if (f->lines[insertAt - 1].ending.empty()) f->lines[insertAt - 1].ending = "\r\n";
    f->lines.insert(f->lines.begin() + static_cast<long>(insertAt), Line{entry, "\r\n"});
  }
  return save(*f, p);
}

bool profileDeleteKey(std::string_view section, std::string_view key, std::string_view path) {
  fs::path p = toHost(path);
  auto f = loadForChange(p);
  if (!f) return false;
  auto range = findSection(*f, section);
  if (!range) return true;
  auto at = findKey(*f, *range, key);
  if (!at) return true;
  f->lines.erase(f->lines.begin() + static_cast<long>(*at));
  return save(*f, p);
}

bool profileDeleteSection(std::string_view section, std::string_view path) {
  fs::path p = toHost(path);
  auto f = loadForChange(p);
  if (!f) return false;
  auto range = findSection(*f, section);
  if (!range) return true;
  f->lines.erase(f->lines.begin() + static_cast<long>(range->first), f->lines.begin() + static_cast<long>(range->second));
  return save(*f, p);
}

} // namespace vt::platform
