#pragma once
// The version resource of a file, read and queried through the platform:
// GetFileVersionInfoW / VerQueryValueW on Windows, the portable reader
// (pe_version.h) elsewhere. Files are named by Windows paths.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/os_error.h"
#include "platform/pe_version.h"

namespace vt::platform {

class VersionResource {
public:
  // The resource of the file; nullopt when the file is missing or has no
  // readable resource. Never throws.
  static std::optional<VersionResource> tryRead(std::string_view windowsPath);
  // The same, raising the platform's error (OsError) when it cannot be read.
  static VersionResource read(std::string_view windowsPath);
  // The running program's own resource; raises OsError when it has none.
  static VersionResource readOwn();

  // "\": the fixed file information's file version (nullopt when the root
  // carries none).
  std::optional<FileVersion> fileVersion() const;
  // "\VarFileInfo\Translation": its first entry.
  std::optional<Translation> firstTranslation() const;
  // A text value, e.g. "\StringFileInfo\041604e4\CompanyName", as UTF-8.
  std::optional<std::string> stringValue(std::string_view subBlock) const;

  // The platform's error for a query that found nothing.
  static OsError missingEntryError();

private:
  explicit VersionResource(std::vector<unsigned char> data) : data_(std::move(data)) {}
  // Windows: the buffer GetFileVersionInfoW filled; elsewhere: the raw block.
  std::vector<unsigned char> data_;
};

} // namespace vt::platform
