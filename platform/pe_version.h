#pragma once
// A portable reader of the version resource that Windows executables carry
// (the VS_VERSIONINFO block: fixed file information, string tables and the
// translation table), for hosts without the Windows version API.
//
// readVersionBlock finds the raw block in a file:
//  - a PE file (PE32 or PE32+): the RT_VERSION resource (name 1 when present,
//    otherwise the first name; the first language), found through the section
//    table; only the headers, the directory entries on the way and the block
//    itself are read, never the whole file;
//  - an ELF file: the section ".vt_version", which holds a raw block. This is
//    how the Linux build of a program carries its own file version.
// VersionBlock answers queries on a block the way the platform's
// VerQueryValue does ("\", "\VarFileInfo\Translation",
// "\StringFileInfo\041604e4\CompanyName"; keys compare without regard to
// letter case).
//
// Every offset and length read from the file is checked: a truncated or
// hostile file gives "no version", never a read outside the data.
#include <compare>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vt::platform {

// The four 16-bit numbers of a fixed file (or product) version.
struct FileVersion {
  std::uint16_t major = 0;
  std::uint16_t minor = 0;
  std::uint16_t release = 0;
  std::uint16_t build = 0;
  friend constexpr bool operator==(const FileVersion&, const FileVersion&) = default;
};

// One entry of the translation table: a language id and a code page.
struct Translation {
  std::uint16_t language = 0;
  std::uint16_t codePage = 0;
  friend constexpr bool operator==(const Translation&, const Translation&) = default;
};

// A block's length field is 16 bits wide, so no block is larger than this.
inline constexpr std::size_t kMaxVersionBlockSize = 0xFFFF;
// Size and signature of VS_FIXEDFILEINFO.
inline constexpr std::size_t kFixedFileInfoSize = 52;
inline constexpr std::uint32_t kFixedFileInfoSignature = 0xFEEF04BD;
// Name of the ELF section holding a program's own version block.
inline constexpr std::string_view kElfVersionSection = ".vt_version";

// The raw version block of a PE or ELF file; nullopt when the file cannot be
// opened, is neither, or carries no well-formed block.
std::optional<std::vector<unsigned char>> readVersionBlock(const std::filesystem::path& file);

// True when the block's tree of (length, value length, type, key, value,
// children) records stays inside the data everywhere.
bool isWellFormedVersionBlock(std::span<const unsigned char> block);

// The fixed file information's file and product versions from its raw value
// (nullopt when shorter than VS_FIXEDFILEINFO or without its signature).
std::optional<FileVersion> fixedFileVersion(std::span<const unsigned char> fixedInfo);
std::optional<FileVersion> fixedProductVersion(std::span<const unsigned char> fixedInfo);

class VersionBlock {
public:
  // nullopt when the block is not well formed.
  static std::optional<VersionBlock> parse(std::span<const unsigned char> bytes);

  struct Value {
    std::span<const unsigned char> bytes; // for text: the UTF-16 units, up to the block's end
    bool text = false;
  };
  // The value of the block named by subBlock; nullopt when a key is missing.
  std::optional<Value> query(std::string_view subBlock) const;

  // "\": the fixed file information's file version.
  std::optional<FileVersion> fileVersion() const;
  std::optional<FileVersion> productVersion() const;
  // "\VarFileInfo\Translation": every entry, in order (empty when absent).
  std::vector<Translation> translations() const;
  // A text value ("\StringFileInfo\<table>\<key>") as UTF-8, cut at its
  // terminating zero; nullopt when missing.
  std::optional<std::string> stringValue(std::string_view subBlock) const;

  std::span<const unsigned char> bytes() const { return bytes_; }

private:
  explicit VersionBlock(std::vector<unsigned char> bytes) : bytes_(std::move(bytes)) {}
  std::vector<unsigned char> bytes_;
};

// The query text of a string table: language and code page as eight
// lower-case hexadecimal digits ("041604e4").
std::string translationKey(Translation translation);

} // namespace vt::platform
