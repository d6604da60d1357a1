#pragma once
// Reader of zip packages, the form in which the maker publishes the launcher,
// the suite's applications and the reports. It reads the archive's central
// directory (ZIP64 included, so entries beyond 4 GiB work), inflates stored
// and deflated entries in fixed-size pieces straight to disk, and checks every
// entry's CRC-32 and sizes. Memory use does not depend on the size of the
// archive or of its entries.
//
// An archive is extracted whole or refused: every entry name is checked before
// the first byte is written, and an entry whose path would leave the target
// folder (absolute path, drive letter, "..", UNC, backslash tricks) refuses the
// whole archive. A damaged entry (CRC mismatch, truncated data, bad local
// header, unsupported method) fails the extraction; each file is written under
// a temporary name and only takes its own name once it checked out, so a
// damaged entry never replaces a good file that was there before.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vt::utils {

struct ZipEntry {
  std::string name;  // UTF-8, as the archive names it ('/' separated)
  std::uint16_t method = 0;
  std::uint16_t flags = 0;
  std::uint32_t crc32 = 0;
  std::uint64_t compressedSize = 0;
  std::uint64_t uncompressedSize = 0;
  std::uint64_t localHeaderOffset = 0;
  bool isDirectory = false;
  // The Unix mode the archive recorded (made on Unix), when it recorded one.
  std::optional<std::uint32_t> unixMode;
};

// Success, or a failure with a short reason ("CRC incorreto em Vantorim.exe").
// Callers show their own message around the reason.
struct ZipOutcome {
  bool ok = true;
  std::string reason;

  explicit operator bool() const { return ok; }
  static ZipOutcome success() { return {}; }
  static ZipOutcome failure(std::string why) { return {false, std::move(why)}; }
};

class ZipArchive {
public:
  // Reads the central directory of the archive at hostArchive.
  ZipOutcome open(const std::filesystem::path& hostArchive);

  const std::vector<ZipEntry>& entries() const { return entries_; }

  // Extracts every entry into targetFolder (a Windows path, created when
  // missing), making the folders the entries' paths need and overwriting files
  // of the same name. On POSIX the Unix permission bits recorded in the archive
  // are applied, so an extracted program stays runnable.
  ZipOutcome extractAll(std::string_view targetFolder) const;

private:
  std::filesystem::path archive_;
  std::vector<ZipEntry> entries_;
  std::vector<std::string> rawNames_;  // as stored, for the local header check
  std::uint64_t centralDirectoryStart_ = 0;
};

// Opens the archive (a Windows path) and extracts it into targetFolder.
ZipOutcome extractZip(std::string_view archivePath, std::string_view targetFolder);

// Why an entry name may not be extracted, or nothing when it may. Exposed for
// the tests of the refusal rules.
std::optional<std::string> unsafeEntryName(std::string_view name);

} // namespace vt::utils
