#include "platform/pe_version.h"

#include <cstdio>
#include <fstream>
#include <system_error>

#include "platform/encoding.h"

namespace vt::platform {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<unsigned char>;

std::uint16_t rd16(std::span<const unsigned char> b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}
std::uint32_t rd32(std::span<const unsigned char> b, std::size_t at) {
  return static_cast<std::uint32_t>(rd16(b, at)) | (static_cast<std::uint32_t>(rd16(b, at + 2)) << 16);
}
std::uint64_t rd64(std::span<const unsigned char> b, std::size_t at) {
  return static_cast<std::uint64_t>(rd32(b, at)) | (static_cast<std::uint64_t>(rd32(b, at + 4)) << 32);
}

// ---------------------------------------------------------------------------
// Bounded reads of a file: every read names its offset and length and fails
// when the file does not hold them.

class BoundedFile {
public:
  explicit BoundedFile(const fs::path& path) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return;
    std::uintmax_t size = fs::file_size(path, ec);
    if (ec) return;
    in_.open(path, std::ios::binary);
    if (in_) size_ = size;
  }
  bool isOpen() const { return in_.is_open() && size_ > 0; }

  std::optional<Bytes> read(std::uint64_t offset, std::uint64_t length) {
    if (offset > size_ || length > size_ - offset) return std::nullopt;
    Bytes out(static_cast<std::size_t>(length));
    in_.clear();
    in_.seekg(static_cast<std::streamoff>(offset));
    if (length > 0) in_.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(length));
    if (!in_ || static_cast<std::uint64_t>(in_.gcount()) != length) return std::nullopt;
    return out;
  }

private:
  std::ifstream in_;
  std::uint64_t size_ = 0;
};

// ---------------------------------------------------------------------------
// PE: headers, section table and the resource directory.

constexpr std::uint32_t kRtVersion = 16;
constexpr std::uint32_t kVersionResourceName = 1;
constexpr std::uint32_t kHighBit = 0x80000000u;

struct Section {
  std::uint32_t virtualAddress = 0;
  std::uint32_t rawSize = 0;
  std::uint32_t rawOffset = 0;
};

class PeImage {
public:
  explicit PeImage(BoundedFile& file) : file_(file) {}

  bool readHeaders() {
    auto dos = file_.read(0, 64);
    if (!dos || (*dos)[0] != 'M' || (*dos)[1] != 'Z') return false;
    std::uint64_t ntAt = rd32(*dos, 0x3C);
    auto nt = file_.read(ntAt, 24);
    if (!nt || (*nt)[0] != 'P' || (*nt)[1] != 'E' || (*nt)[2] != 0 || (*nt)[3] != 0) return false;
    std::uint16_t sectionCount = rd16(*nt, 6);
    std::uint16_t optionalSize = rd16(*nt, 20);
    auto opt = file_.read(ntAt + 24, optionalSize);
    if (!opt || optionalSize < 2) return false;

    std::size_t countAt = 0;
    switch (rd16(*opt, 0)) {
      case 0x10B: countAt = 92; break;  // PE32
      case 0x20B: countAt = 108; break; // PE32+
      default: return false;
    }
    std::size_t directoriesAt = countAt + 4;
    std::size_t resourceAt = directoriesAt + 2 * 8;
    if (optionalSize < resourceAt + 8 || rd32(*opt, countAt) <= 2) return false;
    resourceRva_ = rd32(*opt, resourceAt);
    if (resourceRva_ == 0) return false;

    auto table = file_.read(ntAt + 24 + optionalSize, std::uint64_t{sectionCount} * 40);
    if (!table) return false;
    for (std::size_t i = 0; i < sectionCount; ++i) {
      std::size_t at = i * 40;
      sections_.push_back({rd32(*table, at + 12), rd32(*table, at + 16), rd32(*table, at + 20)});
    }
    return true;
  }

  // The bytes at an image address, when one section's file data holds all of them.
  std::optional<Bytes> readRva(std::uint64_t rva, std::uint64_t length) {
    for (const Section& s : sections_) {
      if (rva >= s.virtualAddress && rva - s.virtualAddress < s.rawSize &&
          length <= s.rawSize - (rva - s.virtualAddress)) {
        return file_.read(std::uint64_t{s.rawOffset} + (rva - s.virtualAddress), length);
      }
    }
    return std::nullopt;
  }

  struct Entry {
    std::uint32_t name = 0;
    std::uint32_t target = 0;
    bool isId() const { return (name & kHighBit) == 0; }
    bool isDirectory() const { return (target & kHighBit) != 0; }
    std::uint32_t offset() const { return target & ~kHighBit; }
  };

  // The entries of the resource directory at an offset from the resource root.
  std::optional<std::vector<Entry>> directory(std::uint32_t offset) {
    std::uint64_t at = std::uint64_t{resourceRva_} + offset;
    auto head = readRva(at, 16);
    if (!head) return std::nullopt;
    std::uint64_t count = std::uint64_t{rd16(*head, 12)} + rd16(*head, 14);
    auto raw = readRva(at + 16, count * 8);
    if (!raw) return std::nullopt;
    std::vector<Entry> entries;
    for (std::size_t i = 0; i < count; ++i) entries.push_back({rd32(*raw, i * 8), rd32(*raw, i * 8 + 4)});
    return entries;
  }

  // Type, name and language are one level each, so a directory that points
  // back at itself or at its parent cannot make this walk loop.
  std::optional<Bytes> versionResource() {
    auto types = directory(0);
    if (!types) return std::nullopt;
    const Entry* type = nullptr;
    for (const Entry& e : *types)
      if (e.isId() && e.name == kRtVersion) {
        type = &e;
        break;
      }
    if (!type || !type->isDirectory()) return std::nullopt;

    auto names = directory(type->offset());
    if (!names || names->empty()) return std::nullopt;
    const Entry* name = &names->front();
    for (const Entry& e : *names)
      if (e.isId() && e.name == kVersionResourceName) {
        name = &e;
        break;
      }
    if (!name->isDirectory()) return std::nullopt;

    auto languages = directory(name->offset());
    if (!languages || languages->empty() || languages->front().isDirectory()) return std::nullopt;

    auto data = readRva(std::uint64_t{resourceRva_} + languages->front().offset(), 16);
    if (!data) return std::nullopt;
    std::uint32_t dataRva = rd32(*data, 0);
    std::uint32_t dataSize = rd32(*data, 4);
    auto head = readRva(dataRva, 2);
    if (!head) return std::nullopt;
    std::uint16_t length = rd16(*head, 0);
    if (length < 6 || length > dataSize) return std::nullopt;
    return readRva(dataRva, length);
  }

private:
  BoundedFile& file_;
  std::uint32_t resourceRva_ = 0;
  std::vector<Section> sections_;
};

// ---------------------------------------------------------------------------
// ELF: the section named ".vt_version".

std::optional<Bytes> elfVersionSection(BoundedFile& file) {
  auto ident = file.read(0, 16);
  if (!ident || (*ident)[0] != 0x7F || (*ident)[1] != 'E' || (*ident)[2] != 'L' || (*ident)[3] != 'F') return std::nullopt;
  if ((*ident)[5] != 1) return std::nullopt; // little-endian only
  bool is64 = (*ident)[4] == 2;
  if (!is64 && (*ident)[4] != 1) return std::nullopt;

  auto header = file.read(0, is64 ? 64 : 52);
  if (!header) return std::nullopt;
  std::uint64_t tableAt = is64 ? rd64(*header, 0x28) : rd32(*header, 0x20);
  std::uint16_t entrySize = rd16(*header, is64 ? 0x3A : 0x2E);
  std::uint16_t count = rd16(*header, is64 ? 0x3C : 0x30);
  std::uint16_t namesIndex = rd16(*header, is64 ? 0x3E : 0x32);
  // Section counts beyond 0xFF00 (kept in section 0) never occur in our programs.
  if (count == 0 || namesIndex >= count || entrySize != (is64 ? 64 : 40)) return std::nullopt;
  auto table = file.read(tableAt, std::uint64_t{count} * entrySize);
  if (!table) return std::nullopt;

  struct ElfSection {
    std::uint32_t name, type;
    std::uint64_t offset, size;
  };
  auto section = [&](std::size_t i) {
    std::size_t at = i * entrySize;
    if (is64) return ElfSection{rd32(*table, at), rd32(*table, at + 4), rd64(*table, at + 0x18), rd64(*table, at + 0x20)};
    return ElfSection{rd32(*table, at), rd32(*table, at + 4), rd32(*table, at + 0x10), rd32(*table, at + 0x14)};
  };
  constexpr std::uint32_t kNoBits = 8;
  constexpr std::uint64_t kMaxNamesSize = 1 << 20;

  ElfSection namesSection = section(namesIndex);
  if (namesSection.type == kNoBits || namesSection.size > kMaxNamesSize) return std::nullopt;
  auto names = file.read(namesSection.offset, namesSection.size);
  if (!names) return std::nullopt;

  for (std::size_t i = 0; i < count; ++i) {
    ElfSection s = section(i);
    if (s.name >= names->size()) continue;
    std::size_t end = s.name;
    while (end < names->size() && (*names)[end] != 0) ++end;
    std::string_view name(reinterpret_cast<const char*>(names->data()) + s.name, end - s.name);
    if (name != kElfVersionSection) continue;
    if (s.type == kNoBits || s.size < 6 || s.size > kMaxVersionBlockSize) return std::nullopt;
    auto head = file.read(s.offset, 2);
    if (!head) return std::nullopt;
    std::uint16_t length = rd16(*head, 0);
    if (length < 6 || length > s.size) return std::nullopt;
    return file.read(s.offset, length);
  }
  return std::nullopt;
}

// ---------------------------------------------------------------------------
// The block's records: length, value length, type, key, value, children.

std::size_t align4(std::size_t n) { return (n + 3) & ~std::size_t{3}; }

struct Record {
  std::size_t start = 0;
  std::size_t end = 0;
  std::size_t keyStart = 0;
  std::size_t keyEnd = 0; // at the terminating zero
  std::size_t valueStart = 0;
  std::size_t valueEnd = 0;
  std::size_t childrenStart = 0;
  bool text = false;
};

// The record at `start` that must end by `limit`.
std::optional<Record> readRecord(std::span<const unsigned char> b, std::size_t start, std::size_t limit) {
  if (start > limit || limit - start < 6) return std::nullopt;
  std::size_t length = rd16(b, start);
  if (length < 6 || length > limit - start) return std::nullopt;
  Record r;
  r.start = start;
  r.end = start + length;
  std::size_t valueLength = rd16(b, start + 2);
  r.text = rd16(b, start + 4) != 0;
  r.keyStart = start + 6;
  std::size_t p = r.keyStart;
  while (true) {
    if (r.end - p < 2) return std::nullopt; // key without its terminating zero
    if (rd16(b, p) == 0) break;
    p += 2;
  }
  r.keyEnd = p;
  r.valueStart = std::min(align4(p + 2), r.end);
  std::size_t valueBytes = r.text ? valueLength * 2 : valueLength;
  if (valueBytes > r.end - r.valueStart) {
    // Some tools count a text value in bytes rather than characters: the
    // text then simply runs to the end of its record. A binary value that
    // does not fit is a broken record.
    if (!r.text) return std::nullopt;
    valueBytes = r.end - r.valueStart;
  }
  r.valueEnd = r.valueStart + valueBytes;
  r.childrenStart = std::min(align4(r.valueEnd), r.end);
  return r;
}

// Walks the children of `parent`; `visit` returns true to stop. Returns false
// when a child is broken. A zero length ends the list, as the platform reads it.
template <class Visit>
bool forEachChild(std::span<const unsigned char> b, const Record& parent, Visit visit) {
  std::size_t pos = parent.childrenStart;
  while (pos < parent.end && parent.end - pos >= 6) {
    if (rd16(b, pos) == 0) break;
    auto child = readRecord(b, pos, parent.end);
    if (!child) return false;
    if (visit(*child)) return true;
    pos = align4(child->end);
  }
  return true;
}

bool keyEquals(std::span<const unsigned char> b, const Record& r, std::string_view key) {
  std::size_t units = (r.keyEnd - r.keyStart) / 2;
  if (units != key.size()) return false;
  for (std::size_t i = 0; i < units; ++i) {
    std::uint16_t u = rd16(b, r.keyStart + 2 * i);
    unsigned char c = static_cast<unsigned char>(key[i]);
    if (u >= 0x80 || c >= 0x80) {
      if (u != c) return false; // keys are ASCII in practice
      continue;
    }
    auto lower = [](unsigned v) { return (v >= 'A' && v <= 'Z') ? v + 32 : v; };
    if (lower(u) != lower(c)) return false;
  }
  return true;
}

// UTF-16 units up to the first zero, as UTF-8; lone surrogates become U+FFFD.
std::string utf16ToUtf8(std::span<const unsigned char> units) {
  std::string out;
  std::size_t n = units.size() / 2;
  for (std::size_t i = 0; i < n; ++i) {
    char32_t u = rd16(units, 2 * i);
    if (u == 0) break;
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < n) {
      char32_t low = rd16(units, 2 * (i + 1));
      if (low >= 0xDC00 && low <= 0xDFFF) {
        appendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
        ++i;
        continue;
      }
    }
    if (u >= 0xD800 && u <= 0xDFFF) u = 0xFFFD;
    appendUtf8(out, u);
  }
  return out;
}

std::optional<Record> rootRecord(std::span<const unsigned char> b) {
  if (b.size() < 6) return std::nullopt;
  // The root's own length bounds the block; trailing bytes are ignored.
  return readRecord(b, 0, b.size());
}

} // namespace

bool isWellFormedVersionBlock(std::span<const unsigned char> block) {
  auto root = rootRecord(block);
  if (!root) return false;
  // Depth-first with an explicit stack; real blocks are four levels deep.
  constexpr std::size_t kMaxDepth = 16;
  struct Pending {
    Record record;
    std::size_t depth;
  };
  std::vector<Pending> stack{{*root, 0}};
  while (!stack.empty()) {
    Pending top = stack.back();
    stack.pop_back();
    if (top.depth > kMaxDepth) return false;
    bool ok = forEachChild(block, top.record, [&](const Record& child) {
      stack.push_back({child, top.depth + 1});
      return false;
    });
    if (!ok) return false;
  }
  return true;
}

std::optional<FileVersion> fixedFileVersion(std::span<const unsigned char> v) {
  if (v.size() < kFixedFileInfoSize || rd32(v, 0) != kFixedFileInfoSignature) return std::nullopt;
  return FileVersion{rd16(v, 10), rd16(v, 8), rd16(v, 14), rd16(v, 12)};
}

std::optional<FileVersion> fixedProductVersion(std::span<const unsigned char> v) {
  if (v.size() < kFixedFileInfoSize || rd32(v, 0) != kFixedFileInfoSignature) return std::nullopt;
  return FileVersion{rd16(v, 18), rd16(v, 16), rd16(v, 22), rd16(v, 20)};
}

std::optional<std::vector<unsigned char>> readVersionBlock(const std::filesystem::path& file) {
  BoundedFile f(file);
  if (!f.isOpen()) return std::nullopt;
  auto magic = f.read(0, 2);
  if (!magic) return std::nullopt;
  std::optional<Bytes> block;
  if ((*magic)[0] == 'M' && (*magic)[1] == 'Z') {
    PeImage pe(f);
    if (pe.readHeaders()) block = pe.versionResource();
  } else if ((*magic)[0] == 0x7F && (*magic)[1] == 'E') {
    block = elfVersionSection(f);
  }
  if (!block || !isWellFormedVersionBlock(*block)) return std::nullopt;
  return block;
}

std::optional<VersionBlock> VersionBlock::parse(std::span<const unsigned char> bytes) {
  if (!isWellFormedVersionBlock(bytes)) return std::nullopt;
  std::size_t length = rd16(bytes, 0);
  return VersionBlock(Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length)));
}

std::optional<VersionBlock::Value> VersionBlock::query(std::string_view subBlock) const {
  std::span<const unsigned char> b = bytes_;
  auto current = rootRecord(b);
  if (!current) return std::nullopt;
  std::size_t start = 0;
  while (start < subBlock.size()) {
    std::size_t end = subBlock.find('\\', start);
    if (end == std::string_view::npos) end = subBlock.size();
    std::string_view key = subBlock.substr(start, end - start);
    start = end + 1;
    if (key.empty()) continue;
    std::optional<Record> found;
    forEachChild(b, *current, [&](const Record& child) {
      if (!keyEquals(b, child, key)) return false;
      found = child;
      return true;
    });
    if (!found) return std::nullopt;
    current = found;
  }
  return Value{b.subspan(current->valueStart, current->valueEnd - current->valueStart), current->text};
}

std::optional<FileVersion> VersionBlock::fileVersion() const {
  auto root = query("\\");
  return root ? fixedFileVersion(root->bytes) : std::nullopt;
}

std::optional<FileVersion> VersionBlock::productVersion() const {
  auto root = query("\\");
  return root ? fixedProductVersion(root->bytes) : std::nullopt;
}

std::vector<Translation> VersionBlock::translations() const {
  std::vector<Translation> out;
  auto value = query("\\VarFileInfo\\Translation");
  if (!value) return out;
  for (std::size_t at = 0; at + 4 <= value->bytes.size(); at += 4)
    out.push_back({rd16(value->bytes, at), rd16(value->bytes, at + 2)});
  return out;
}

std::optional<std::string> VersionBlock::stringValue(std::string_view subBlock) const {
  auto value = query(subBlock);
  if (!value) return std::nullopt;
  return utf16ToUtf8(value->bytes);
}

std::string translationKey(Translation translation) {
  char text[9];
  std::snprintf(text, sizeof text, "%.4x%.4x", static_cast<unsigned>(translation.language),
                static_cast<unsigned>(translation.codePage));
  return text;
}

} // namespace vt::platform
