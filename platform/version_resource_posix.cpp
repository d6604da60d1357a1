#include "platform/version_resource.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "platform/path.h"

namespace vt::platform {
namespace {

OsError errorFor(int code) {
  return OsError(code, "System Error.  Code: " + std::to_string(code) + ".\n" + OsError::messageFor(code));
}

// The block of a host file, or the error that tells why there is none: the
// file's own open error, or ENODATA for a file without a readable resource.
std::optional<std::vector<unsigned char>> blockOf(const std::filesystem::path& host, int& error) {
  if (auto block = readVersionBlock(host)) return block;
  if (std::FILE* f = std::fopen(host.c_str(), "rb")) {
    std::fclose(f);
    error = ENODATA;
  } else {
    error = errno ? errno : ENOENT;
  }
  return std::nullopt;
}

} // namespace

std::optional<VersionResource> VersionResource::tryRead(std::string_view windowsPath) {
  int error = 0;
  auto block = blockOf(toHost(windowsPath), error);
  if (!block) return std::nullopt;
  return VersionResource(std::move(*block));
}

VersionResource VersionResource::read(std::string_view windowsPath) {
  int error = 0;
  auto block = blockOf(toHost(windowsPath), error);
  if (!block) throw errorFor(error);
  return VersionResource(std::move(*block));
}

VersionResource VersionResource::readOwn() {
  // Straight from the kernel's link: the program's own file need not lie on
  // the mapped drive.
  int error = 0;
  auto block = blockOf("/proc/self/exe", error);
  if (!block) throw errorFor(error);
  return VersionResource(std::move(*block));
}

std::optional<FileVersion> VersionResource::fileVersion() const {
  auto block = VersionBlock::parse(data_);
  return block ? block->fileVersion() : std::nullopt;
}

std::optional<Translation> VersionResource::firstTranslation() const {
  auto block = VersionBlock::parse(data_);
  if (!block) return std::nullopt;
  auto all = block->translations();
  if (all.empty()) return std::nullopt;
  return all.front();
}

std::optional<std::string> VersionResource::stringValue(std::string_view subBlock) const {
  auto block = VersionBlock::parse(data_);
  return block ? block->stringValue(subBlock) : std::nullopt;
}

OsError VersionResource::missingEntryError() { return errorFor(ENODATA); }

} // namespace vt::platform
