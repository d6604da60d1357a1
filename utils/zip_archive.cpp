#include "utils/zip_archive.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <system_error>

#include "platform/encoding.h"
#include "platform/file_mode.h"
#include "platform/os_error.h"
#include "platform/path.h"

namespace vt::utils {
namespace {

namespace fs = std::filesystem;

// Pieces read from and written to disk at a time: the only buffers that grow
// with the work are these two.
constexpr size_t kChunk = 256 * 1024;

constexpr std::uint32_t kLocalHeaderSig = 0x04034b50;
constexpr std::uint32_t kCentralHeaderSig = 0x02014b50;
constexpr std::uint32_t kEndSig = 0x06054b50;
constexpr std::uint32_t kEnd64Sig = 0x06064b50;
constexpr std::uint32_t kEnd64LocatorSig = 0x07064b50;
constexpr size_t kEndSize = 22;
constexpr size_t kEnd64LocatorSize = 20;
constexpr size_t kCentralHeaderSize = 46;
constexpr size_t kLocalHeaderSize = 30;
// A central directory larger than this is not a package of ours; the limit
// keeps a forged size from asking for gigabytes of memory.
constexpr std::uint64_t kMaxCentralDirectory = 256ull * 1024 * 1024;

constexpr std::uint16_t kStored = 0;
constexpr std::uint16_t kDeflated = 8;
constexpr std::uint16_t kFlagEncrypted = 0x0001;
constexpr std::uint16_t kFlagUtf8 = 0x0800;

// Failures inside the reader; the public calls turn them into a ZipOutcome.
struct ZipFailure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

std::uint16_t u16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::uint32_t u32(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint64_t u64(const unsigned char* p) { return u32(p) | (static_cast<std::uint64_t>(u32(p + 4)) << 32); }

class Reader {
public:
  explicit Reader(const fs::path& path) : in_(path, std::ios::binary) {
    if (!in_) throw ZipFailure("não foi possível abrir o arquivo");
    in_.seekg(0, std::ios::end);
    size_ = static_cast<std::uint64_t>(in_.tellg());
  }
  std::uint64_t size() const { return size_; }

  void read(std::uint64_t offset, void* into, size_t n, const char* what) {
    if (offset > size_ || n > size_ - offset) throw ZipFailure(std::string("arquivo truncado (") + what + ")");
    in_.seekg(static_cast<std::streamoff>(offset));
    in_.read(static_cast<char*>(into), static_cast<std::streamsize>(n));
    if (!in_) throw ZipFailure(std::string("falha de leitura (") + what + ")");
  }
  // Sequential reads after a seek, for entry data.
  void seek(std::uint64_t offset) { in_.seekg(static_cast<std::streamoff>(offset)); }
  void next(void* into, size_t n) {
    in_.read(static_cast<char*>(into), static_cast<std::streamsize>(n));
    if (!in_) throw ZipFailure("falha de leitura dos dados");
  }

private:
  std::ifstream in_;
  std::uint64_t size_ = 0;
};

// Code page 437, the one the format assumes for names not marked as UTF-8:
// characters 0x80 to 0xFF.
constexpr std::array<char16_t, 128> kCp437High = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC,
    0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9, 0x00FF, 0x00D6, 0x00DC, 0x00A2,
    0x00A3, 0x00A5, 0x20A7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA, 0x00BF, 0x2310,
    0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB, 0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556,
    0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510, 0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C,
    0x255E, 0x255F, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559,
    0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580, 0x03B1, 0x00DF,
    0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4, 0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229,
    0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248, 0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2,
    0x25A0, 0x00A0};

std::string cp437ToUtf8(std::string_view bytes) {
  std::string out;
  for (unsigned char c : bytes) {
    platform::appendUtf8(out, c < 0x80 ? char32_t{c} : char32_t{kCp437High[c - 0x80]});
  }
  return out;
}

struct EndRecord {
  std::uint64_t entries = 0;
  std::uint64_t centralSize = 0;
  std::uint64_t centralOffset = 0;
  std::uint64_t recordPosition = 0;  // where the central directory must end
};

EndRecord findEnd(Reader& r) {
  std::uint64_t tail = std::min<std::uint64_t>(r.size(), kEndSize + 0xFFFF);
  if (tail < kEndSize) throw ZipFailure("não é um arquivo zip (fim do diretório central ausente)");
  std::vector<unsigned char> buf(static_cast<size_t>(tail));
  std::uint64_t base = r.size() - tail;
  r.read(base, buf.data(), buf.size(), "fim do diretório central");
  for (size_t i = buf.size() - kEndSize + 1; i-- > 0;) {
    const unsigned char* p = buf.data() + i;
    if (u32(p) != kEndSig) continue;
    if (i + kEndSize + u16(p + 20) > buf.size()) continue;  // the comment would run past the end
    EndRecord end;
    std::uint16_t disk = u16(p + 4), centralDisk = u16(p + 6);
    std::uint16_t onDisk = u16(p + 8), total = u16(p + 10);
    end.entries = total;
    end.centralSize = u32(p + 12);
    end.centralOffset = u32(p + 16);
    end.recordPosition = base + i;
    bool needs64 = total == 0xFFFF || onDisk == 0xFFFF || end.centralSize == 0xFFFFFFFF ||
                   end.centralOffset == 0xFFFFFFFF;
    std::uint64_t locatorPos = end.recordPosition >= kEnd64LocatorSize ? end.recordPosition - kEnd64LocatorSize : 0;
    unsigned char loc[kEnd64LocatorSize];
    bool has64 = end.recordPosition >= kEnd64LocatorSize &&
                 (r.read(locatorPos, loc, sizeof loc, "localizador ZIP64"), u32(loc) == kEnd64LocatorSig);
    if (has64) {
      if (u32(loc + 16) > 1) throw ZipFailure("arquivo zip em vários volumes não é suportado");
      std::uint64_t rec64 = u64(loc + 8);
      unsigned char e[56];
      r.read(rec64, e, sizeof e, "fim do diretório central ZIP64");
      if (u32(e) != kEnd64Sig) throw ZipFailure("registro ZIP64 inválido");
      if (u32(e + 16) != 0 || u32(e + 20) != 0) throw ZipFailure("arquivo zip em vários volumes não é suportado");
      end.entries = u64(e + 32);
      end.centralSize = u64(e + 40);
      end.centralOffset = u64(e + 48);
      end.recordPosition = rec64;
    } else if (needs64) {
      throw ZipFailure("registro ZIP64 ausente");
    } else if (disk != 0 || centralDisk != 0 || onDisk != total) {
      throw ZipFailure("arquivo zip em vários volumes não é suportado");
    }
    return end;
  }
  throw ZipFailure("não é um arquivo zip (fim do diretório central ausente)");
}

// The ZIP64 extra field carries, in this order, the values whose ordinary
// field holds the 0xFFFFFFFF mark.
void applyZip64Extra(ZipEntry& e, const unsigned char* extra, size_t len, bool bigUncompressed, bool bigCompressed,
                     bool bigOffset) {
  size_t i = 0;
  while (i + 4 <= len) {
    std::uint16_t tag = u16(extra + i), size = u16(extra + i + 2);
    if (i + 4 + size > len) break;
    if (tag == 0x0001) {
      const unsigned char* p = extra + i + 4;
      size_t left = size;
      auto take = [&](std::uint64_t& field) {
        if (left < 8) throw ZipFailure("campo ZIP64 incompleto em " + e.name);
        field = u64(p);
        p += 8;
        left -= 8;
      };
      if (bigUncompressed) take(e.uncompressedSize);
      if (bigCompressed) take(e.compressedSize);
      if (bigOffset) take(e.localHeaderOffset);
      return;
    }
    i += 4 + size;
  }
  if (bigUncompressed || bigCompressed || bigOffset) throw ZipFailure("campo ZIP64 ausente em " + e.name);
}

// The name from the Unicode path extra field, when it belongs to this raw name.
std::optional<std::string> unicodePathExtra(const unsigned char* extra, size_t len, std::string_view raw) {
  size_t i = 0;
  while (i + 4 <= len) {
    std::uint16_t tag = u16(extra + i), size = u16(extra + i + 2);
    if (i + 4 + size > len) break;
    if (tag == 0x7075 && size >= 5 && extra[i + 4] == 1) {
      uLong crc = crc32(0L, reinterpret_cast<const Bytef*>(raw.data()), static_cast<uInt>(raw.size()));
      if (u32(extra + i + 5) == crc) return std::string(reinterpret_cast<const char*>(extra + i + 9), size - 5);
    }
    i += 4 + size;
  }
  return std::nullopt;
}

bool isWindowsDeviceName(std::string_view component) {
  std::string base(component.substr(0, component.find('.')));
  for (auto& c : base) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL") return true;
  return base.size() == 4 && (base.rfind("COM", 0) == 0 || base.rfind("LPT", 0) == 0) && base[3] >= '1' &&
         base[3] <= '9';
}

// The entry's path relative to the target folder, with backslashes, "."
// components dropped.
std::string relativeWindowsPath(std::string_view name) {
  std::string out;
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = name.find_first_of("/\\", start);
    if (end == std::string_view::npos) end = name.size();
    std::string_view component = name.substr(start, end - start);
    if (!component.empty() && component != ".") {
      if (!out.empty()) out += '\\';
      out += component;
    }
    start = end + 1;
  }
  return out;
}

std::string withTrailingSeparator(std::string_view folder) {
  std::string f(folder);
  if (!f.empty() && f.back() != '\\' && f.back() != '/') f += '\\';
  return f;
}

// Removes a half-written file on every path that does not keep it.
class PartFile {
public:
  explicit PartFile(fs::path path) : path_(std::move(path)) {}
  ~PartFile() {
    if (!kept_) {
      std::error_code ec;
      fs::remove(path_, ec);
    }
  }
  PartFile(const PartFile&) = delete;
  PartFile& operator=(const PartFile&) = delete;
  const fs::path& path() const { return path_; }
  void keep() { kept_ = true; }

private:
  fs::path path_;
  bool kept_ = false;
};

class EntryWriter {
public:
  EntryWriter(const fs::path& path, const std::string& name) : out_(path, std::ios::binary | std::ios::trunc), name_(name) {
    if (!out_) throw ZipFailure("não foi possível criar " + name_);
  }
  void write(const unsigned char* data, size_t n) {
    crc_ = crc32(crc_, data, static_cast<uInt>(n));
    written_ += n;
    out_.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(n));
    if (!out_) throw ZipFailure("falha ao gravar " + name_);
  }
  void close() {
    out_.close();
    if (!out_) throw ZipFailure("falha ao gravar " + name_);
  }
  std::uint32_t crc() const { return static_cast<std::uint32_t>(crc_); }
  std::uint64_t written() const { return written_; }

private:
  std::ofstream out_;
  std::string name_;
  uLong crc_ = crc32(0L, Z_NULL, 0);
  std::uint64_t written_ = 0;
};

struct Inflater {
  z_stream zs{};
  Inflater() {
    if (inflateInit2(&zs, -MAX_WBITS) != Z_OK) throw ZipFailure("falha ao iniciar a descompactação");
  }
  ~Inflater() { inflateEnd(&zs); }
  Inflater(const Inflater&) = delete;
  Inflater& operator=(const Inflater&) = delete;
  void reset() {
    if (inflateReset(&zs) != Z_OK) throw ZipFailure("falha ao iniciar a descompactação");
  }
};

// The pieces one extraction reuses for all its entries: a package of a few
// thousand small layouts must not pay for fresh buffers and a fresh inflater
// per file.
struct ExtractionBuffers {
  std::unique_ptr<unsigned char[]> in{new unsigned char[kChunk]};
  std::unique_ptr<unsigned char[]> out{new unsigned char[kChunk]};
  Inflater inflater;
};

void copyStored(Reader& r, const ZipEntry& e, EntryWriter& w, ExtractionBuffers& b) {
  if (e.compressedSize != e.uncompressedSize) throw ZipFailure("tamanhos divergentes em " + e.name);
  std::uint64_t left = e.compressedSize;
  while (left > 0) {
    size_t n = static_cast<size_t>(std::min<std::uint64_t>(left, kChunk));
    r.next(b.in.get(), n);
    w.write(b.in.get(), n);
    left -= n;
  }
}

void inflateEntry(Reader& r, const ZipEntry& e, EntryWriter& w, ExtractionBuffers& b) {
  b.inflater.reset();
  z_stream& zs = b.inflater.zs;
  zs.next_in = nullptr;
  zs.avail_in = 0;
  std::uint64_t left = e.compressedSize;
  int status = Z_OK;
  while (status != Z_STREAM_END) {
    if (zs.avail_in == 0) {
      if (left == 0) throw ZipFailure("dados compactados incompletos em " + e.name);
      size_t n = static_cast<size_t>(std::min<std::uint64_t>(left, kChunk));
      r.next(b.in.get(), n);
      left -= n;
      zs.next_in = b.in.get();
      zs.avail_in = static_cast<uInt>(n);
    }
    zs.next_out = b.out.get();
    zs.avail_out = static_cast<uInt>(kChunk);
    status = inflate(&zs, Z_NO_FLUSH);
    if (status != Z_OK && status != Z_STREAM_END && status != Z_BUF_ERROR) {
      throw ZipFailure("dados compactados inválidos em " + e.name);
    }
    size_t produced = kChunk - zs.avail_out;
    if (w.written() + produced > e.uncompressedSize) throw ZipFailure("tamanho incorreto em " + e.name);
    w.write(b.out.get(), produced);
  }
  if (left != 0 || zs.avail_in != 0) throw ZipFailure("tamanho compactado incorreto em " + e.name);
}

} // namespace

std::optional<std::string> unsafeEntryName(std::string_view name) {
  if (name.empty()) return "entrada sem nome";
  if (name.front() == '/' || name.front() == '\\') return "caminho absoluto na entrada " + std::string(name);
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = name.find_first_of("/\\", start);
    if (end == std::string_view::npos) end = name.size();
    std::string_view component = name.substr(start, end - start);
    start = end + 1;
    if (component.empty() || component == ".") continue;
    // "..", and names Windows would shorten to it by dropping trailing dots
    // and blanks ("...", ".. ").
    if (component.find_first_not_of(". ") == std::string_view::npos) {
      return "entrada fora da pasta de destino: " + std::string(name);
    }
    for (unsigned char c : component) {
      if (c == ':') return "unidade ou fluxo na entrada " + std::string(name);
      if (c < 0x20 || c == '<' || c == '>' || c == '"' || c == '|' || c == '?' || c == '*') {
        return "caractere inválido na entrada " + std::string(name);
      }
    }
    if (isWindowsDeviceName(component)) return "nome reservado na entrada " + std::string(name);
  }
  return std::nullopt;
}

ZipOutcome ZipArchive::open(const fs::path& hostArchive) {
  archive_ = hostArchive;
  entries_.clear();
  rawNames_.clear();
  try {
    Reader r(hostArchive);
    EndRecord end = findEnd(r);
    if (end.centralSize > kMaxCentralDirectory) throw ZipFailure("diretório central grande demais");
    if (end.centralOffset > end.recordPosition || end.centralSize > end.recordPosition - end.centralOffset) {
      throw ZipFailure("diretório central fora do arquivo");
    }
    // Data placed before the archive (a self-extracting stub) shifts every
    // offset by the same amount.
    std::uint64_t shift = end.recordPosition - end.centralOffset - end.centralSize;
    centralDirectoryStart_ = end.centralOffset + shift;

    std::vector<unsigned char> cd(static_cast<size_t>(end.centralSize));
    r.read(centralDirectoryStart_, cd.data(), cd.size(), "diretório central");
    size_t pos = 0;
    for (std::uint64_t k = 0; k < end.entries; ++k) {
      if (pos + kCentralHeaderSize > cd.size() || u32(cd.data() + pos) != kCentralHeaderSig) {
        throw ZipFailure("diretório central inválido");
      }
      const unsigned char* p = cd.data() + pos;
      std::uint16_t madeBy = u16(p + 4);
      std::uint16_t nameLen = u16(p + 28), extraLen = u16(p + 30), commentLen = u16(p + 32);
      std::uint32_t external = u32(p + 38);
      if (pos + kCentralHeaderSize + nameLen + extraLen + commentLen > cd.size()) {
        throw ZipFailure("diretório central inválido");
      }
      ZipEntry e;
      e.flags = u16(p + 8);
      e.method = u16(p + 10);
      e.crc32 = u32(p + 16);
      e.compressedSize = u32(p + 20);
      e.uncompressedSize = u32(p + 24);
      e.localHeaderOffset = u32(p + 42);
      std::string raw(reinterpret_cast<const char*>(p + kCentralHeaderSize), nameLen);
      const unsigned char* extra = p + kCentralHeaderSize + nameLen;
      if (e.flags & kFlagUtf8) {
        e.name = raw;
      } else if (auto unicode = unicodePathExtra(extra, extraLen, raw)) {
        e.name = *unicode;
      } else {
        e.name = cp437ToUtf8(raw);
      }
      applyZip64Extra(e, extra, extraLen, e.uncompressedSize == 0xFFFFFFFF, e.compressedSize == 0xFFFFFFFF,
                      e.localHeaderOffset == 0xFFFFFFFF);
      e.localHeaderOffset += shift;
      bool madeOnUnix = (madeBy >> 8) == 3;
      std::uint32_t mode = external >> 16;
      if (madeOnUnix && mode != 0) e.unixMode = mode;
      e.isDirectory = (!e.name.empty() && (e.name.back() == '/' || e.name.back() == '\\')) || (external & 0x10) ||
                      (e.unixMode && (*e.unixMode & 0170000) == 0040000);
      entries_.push_back(std::move(e));
      rawNames_.push_back(std::move(raw));
      pos += kCentralHeaderSize + nameLen + extraLen + commentLen;
    }
    return ZipOutcome::success();
  } catch (const ZipFailure& f) {
    entries_.clear();
    rawNames_.clear();
    return ZipOutcome::failure(f.what());
  } catch (const std::exception& ex) {
    entries_.clear();
    rawNames_.clear();
    return ZipOutcome::failure(ex.what());
  }
}

ZipOutcome ZipArchive::extractAll(std::string_view targetFolder) const {
  // Every name first: a package with one bad entry is refused whole.
  for (const auto& e : entries_) {
    if (auto why = unsafeEntryName(e.name)) return ZipOutcome::failure(*why);
    if (e.isDirectory) continue;
    if (e.flags & kFlagEncrypted) return ZipOutcome::failure("entrada criptografada: " + e.name);
    if (e.method != kStored && e.method != kDeflated) {
      return ZipOutcome::failure("método de compressão " + std::to_string(e.method) + " não suportado em " + e.name);
    }
    if (e.unixMode && (*e.unixMode & 0170000) == 0120000) {
      return ZipOutcome::failure("link simbólico não suportado: " + e.name);
    }
  }
  std::string folder = withTrailingSeparator(targetFolder);
  try {
    std::error_code ec;
    fs::create_directories(platform::toHost(folder), ec);
    if (ec) throw ZipFailure("não foi possível criar a pasta " + folder);
    Reader r(archive_);
    ExtractionBuffers buffers;
    // The folder of the entry before, already made: the entries of a folder
    // usually follow each other.
    fs::path madeFolder;
    for (size_t i = 0; i < entries_.size(); ++i) {
      const ZipEntry& e = entries_[i];
      std::string relative = relativeWindowsPath(e.name);
      if (relative.empty()) continue;  // "./" and the like: the folder itself
      fs::path target = platform::toHost(folder + relative);
      if (e.isDirectory) {
        fs::create_directories(target, ec);
        if (ec) throw ZipFailure("não foi possível criar a pasta " + e.name);
        if (e.unixMode) platform::applyUnixPermissions(target, (*e.unixMode & 0777) | 0700);
        continue;
      }
      if (target.parent_path() != madeFolder) {
        fs::create_directories(target.parent_path(), ec);
        if (ec) throw ZipFailure("não foi possível criar a pasta de " + e.name);
        madeFolder = target.parent_path();
      }

      unsigned char lh[kLocalHeaderSize];
      r.read(e.localHeaderOffset, lh, sizeof lh, e.name.c_str());
      if (u32(lh) != kLocalHeaderSig) throw ZipFailure("cabeçalho local inválido em " + e.name);
      std::uint16_t nameLen = u16(lh + 26), extraLen = u16(lh + 28);
      std::string localName(nameLen, '\0');
      r.read(e.localHeaderOffset + kLocalHeaderSize, localName.data(), nameLen, e.name.c_str());
      if (u16(lh + 8) != e.method || localName != rawNames_[i]) {
        throw ZipFailure("cabeçalho local inválido em " + e.name);
      }
      std::uint64_t dataStart = e.localHeaderOffset + kLocalHeaderSize + nameLen + extraLen;
      if (dataStart > centralDirectoryStart_ || e.compressedSize > centralDirectoryStart_ - dataStart) {
        throw ZipFailure("arquivo truncado em " + e.name);
      }

      PartFile part(target.parent_path() / (target.filename().native() + fs::path(".vt-extract").native()));
      EntryWriter w(part.path(), e.name);
      r.seek(dataStart);
      if (e.method == kStored) {
        copyStored(r, e, w, buffers);
      } else {
        inflateEntry(r, e, w, buffers);
      }
      w.close();
      if (w.written() != e.uncompressedSize) throw ZipFailure("tamanho incorreto em " + e.name);
      if (w.crc() != e.crc32) throw ZipFailure("CRC incorreto em " + e.name);
      fs::rename(part.path(), target, ec);
      if (ec) throw ZipFailure("não foi possível substituir " + e.name + " (" + ec.message() + ")");
      part.keep();
      if (e.unixMode) platform::applyUnixPermissions(target, *e.unixMode & 0777);
    }
    return ZipOutcome::success();
  } catch (const ZipFailure& f) {
    return ZipOutcome::failure(f.what());
  } catch (const std::exception& ex) {
    return ZipOutcome::failure(ex.what());
  }
}

ZipOutcome extractZip(std::string_view archivePath, std::string_view targetFolder) {
  ZipArchive archive;
  if (ZipOutcome opened = archive.open(platform::toHost(archivePath)); !opened) return opened;
  return archive.extractAll(targetFolder);
}

} // namespace vt::utils
