#pragma once
// Writes a version block (VS_VERSIONINFO): the fixed file information, string
// tables and the translation table, laid out as the platform's resource
// compiler does. Every function is constexpr so that a build can place a
// program's own block in its executable as constant data (the Linux build
// keeps it in the ELF section ".vt_version", see cmake/version_resource.cmake);
// test fixtures call the same writer at run time.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "platform/pe_version.h"

namespace vt::platform {

struct VersionString {
  std::string_view key;   // ASCII
  std::string_view value; // UTF-8
};

struct VersionStringTable {
  std::string_view key; // language and code page, e.g. "041604E4"
  std::span<const VersionString> strings;
};

struct VersionBlockFields {
  FileVersion fileVersion;
  FileVersion productVersion;
  std::uint32_t fileFlags = 0;
  std::uint32_t fileOs = 0x00040004; // VOS_NT_WINDOWS32
  std::uint32_t fileType = 1;        // VFT_APP
  std::span<const VersionStringTable> stringTables; // none: no "StringFileInfo"
  std::span<const Translation> translations;        // none: no "VarFileInfo"
};

namespace version_block_detail {

class Writer {
public:
  constexpr void u16(std::uint32_t v) {
    out.push_back(static_cast<unsigned char>(v & 0xFF));
    out.push_back(static_cast<unsigned char>((v >> 8) & 0xFF));
  }
  constexpr void u32(std::uint32_t v) {
    u16(v & 0xFFFF);
    u16(v >> 16);
  }
  constexpr void pad4() {
    while (out.size() % 4 != 0) out.push_back(0);
  }
  constexpr void patch16(std::size_t at, std::size_t v) {
    if (v > 0xFFFF) throw std::length_error("version block larger than 64 KiB");
    out[at] = static_cast<unsigned char>(v & 0xFF);
    out[at + 1] = static_cast<unsigned char>((v >> 8) & 0xFF);
  }
  // UTF-8 to UTF-16 units; a malformed sequence becomes U+FFFD. This walk
  // stays apart from decodeUtf8 (encoding.h): it must be constexpr, and it
  // treats bad input its own way (an overlong form is taken as its value; an
  // encoded surrogate or a sequence after a 0xF5-0xF7 lead becomes one U+FFFD
  // for the whole sequence), which the blocks it writes keep.
  constexpr std::size_t text(std::string_view s) {
    std::size_t units = 0;
    std::size_t i = 0;
    while (i < s.size()) {
      unsigned char c = static_cast<unsigned char>(s[i]);
      std::size_t extra = 0;
      char32_t cp = 0xFFFD;
      if (c < 0x80) {
        cp = c;
      } else if ((c & 0xE0) == 0xC0) {
        extra = 1;
        cp = c & 0x1F;
      } else if ((c & 0xF0) == 0xE0) {
        extra = 2;
        cp = c & 0x0F;
      } else if ((c & 0xF8) == 0xF0) {
        extra = 3;
        cp = c & 0x07;
      }
      bool ok = i + extra < s.size();
      for (std::size_t k = 1; ok && k <= extra; ++k) {
        unsigned char t = static_cast<unsigned char>(s[i + k]);
        if ((t & 0xC0) != 0x80) ok = false;
        cp = (cp << 6) | (t & 0x3F);
      }
      if (!ok) {
        cp = 0xFFFD;
        extra = 0; // resume after the lead byte
      }
      if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
      i += extra + 1;
      if (cp >= 0x10000) {
        u16(0xD800 + ((cp - 0x10000) >> 10));
        u16(0xDC00 + ((cp - 0x10000) & 0x3FF));
        units += 2;
      } else {
        u16(cp);
        ++units;
      }
    }
    return units;
  }
  // A record's header and key; returns its start for finish().
  constexpr std::size_t begin(std::string_view key, bool isText) {
    pad4();
    std::size_t start = out.size();
    u16(0); // length, patched by finish()
    u16(0); // value length
    u16(isText ? 1 : 0);
    text(key);
    u16(0);
    pad4();
    return start;
  }
  constexpr void valueLength(std::size_t start, std::size_t n) { patch16(start + 2, n); }
  constexpr void finish(std::size_t start) { patch16(start, out.size() - start); }

  std::vector<unsigned char> out;
};

} // namespace version_block_detail

constexpr std::vector<unsigned char> writeVersionBlock(const VersionBlockFields& f) {
  version_block_detail::Writer w;
  std::size_t root = w.begin("VS_VERSION_INFO", false);
  w.u32(kFixedFileInfoSignature);
  w.u32(0x00010000); // structure version 1.0
  w.u32((std::uint32_t{f.fileVersion.major} << 16) | f.fileVersion.minor);
  w.u32((std::uint32_t{f.fileVersion.release} << 16) | f.fileVersion.build);
  w.u32((std::uint32_t{f.productVersion.major} << 16) | f.productVersion.minor);
  w.u32((std::uint32_t{f.productVersion.release} << 16) | f.productVersion.build);
  w.u32(0x3F); // flags mask
  w.u32(f.fileFlags);
  w.u32(f.fileOs);
  w.u32(f.fileType);
  w.u32(0); // subtype
  w.u32(0); // date, high
  w.u32(0); // date, low
  w.valueLength(root, kFixedFileInfoSize);

  if (!f.stringTables.empty()) {
    std::size_t info = w.begin("StringFileInfo", true);
    for (const VersionStringTable& table : f.stringTables) {
      std::size_t t = w.begin(table.key, true);
      for (const VersionString& s : table.strings) {
        std::size_t entry = w.begin(s.key, true);
        std::size_t units = w.text(s.value);
        w.u16(0);
        w.valueLength(entry, units + 1);
        w.finish(entry);
      }
      w.finish(t);
    }
    w.finish(info);
  }
  if (!f.translations.empty()) {
    std::size_t info = w.begin("VarFileInfo", true);
    std::size_t var = w.begin("Translation", false);
    for (const Translation& t : f.translations) {
      w.u16(t.language);
      w.u16(t.codePage);
    }
    w.valueLength(var, f.translations.size() * 4);
    w.finish(var);
    w.finish(info);
  }
  w.finish(root);
  return std::move(w.out);
}

// The block as a fixed-size array, for constant data: N must be
// writeVersionBlock(f).size().
template <std::size_t N>
constexpr std::array<unsigned char, N> versionBlockArray(const VersionBlockFields& f) {
  std::vector<unsigned char> bytes = writeVersionBlock(f);
  if (bytes.size() != N) throw std::length_error("version block size changed");
  std::array<unsigned char, N> out{};
  for (std::size_t i = 0; i < N; ++i) out[i] = bytes[i];
  return out;
}

} // namespace vt::platform
