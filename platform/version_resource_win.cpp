#include "platform/version_resource.h"

#include <windows.h>

#include "platform/encoding.h"
#include "platform/path.h"
#include "platform/self.h"

namespace vt::platform {
namespace {

OsError errorFor(DWORD code) {
  return OsError(static_cast<long>(code),
                 "System Error.  Code: " + std::to_string(code) + ".\n" + OsError::messageFor(static_cast<long>(code)));
}

std::optional<std::vector<unsigned char>> load(std::string_view windowsPath, DWORD& error) {
  std::wstring path = utf8ToWide(windowsPath);
  // The loader behind GetFileVersionInfoW trusts the file's resource
  // directory: Wine's copies from wherever a data entry points, so a damaged
  // file takes the whole process down, and it reads a truncated file as if
  // zeros followed. The file is therefore first walked by the bounds-checked
  // reader; only a file whose version block lies whole inside it goes to the
  // platform, whose answer is the one used.
  if (!readVersionBlock(toHost(windowsPath))) {
    error = GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES ? GetLastError()
                                                                        : DWORD{ERROR_RESOURCE_DATA_NOT_FOUND};
    return std::nullopt;
  }
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  if (size == 0) {
    error = GetLastError();
    return std::nullopt;
  }
  std::vector<unsigned char> data(size);
  if (!GetFileVersionInfoW(path.c_str(), 0, size, data.data())) {
    error = GetLastError();
    return std::nullopt;
  }
  // The platform hands over the resource as the file holds it. A block whose
  // records claim more bytes than they have would let VerQueryValueW read
  // past the buffer, so such a block counts as no resource at all.
  if (!isWellFormedVersionBlock(data)) {
    error = ERROR_RESOURCE_DATA_NOT_FOUND;
    return std::nullopt;
  }
  return data;
}

} // namespace

std::optional<VersionResource> VersionResource::tryRead(std::string_view windowsPath) {
  DWORD error = 0;
  auto data = load(windowsPath, error);
  if (!data) return std::nullopt;
  return VersionResource(std::move(*data));
}

VersionResource VersionResource::read(std::string_view windowsPath) {
  DWORD error = 0;
  auto data = load(windowsPath, error);
  if (!data) throw errorFor(error ? error : ERROR_RESOURCE_DATA_NOT_FOUND);
  return VersionResource(std::move(*data));
}

VersionResource VersionResource::readOwn() { return read(currentExecutablePath()); }

namespace {

// VerQueryValueW's answer as bytes, never reaching past the buffer.
std::optional<std::span<const unsigned char>> queryBytes(const std::vector<unsigned char>& data,
                                                         std::string_view subBlock, bool isText) {
  std::wstring query = utf8ToWide(subBlock);
  void* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(data.data(), query.c_str(), &value, &length) || !value) return std::nullopt;
  auto* p = static_cast<const unsigned char*>(value);
  if (p < data.data() || p > data.data() + data.size()) return std::nullopt;
  std::size_t available = static_cast<std::size_t>(data.data() + data.size() - p);
  std::size_t bytes = isText ? std::size_t{length} * 2 : length;
  return std::span<const unsigned char>(p, std::min(bytes, available));
}

} // namespace

std::optional<FileVersion> VersionResource::fileVersion() const {
  auto value = queryBytes(data_, "\\", false);
  return value ? fixedFileVersion(*value) : std::nullopt;
}

std::optional<Translation> VersionResource::firstTranslation() const {
  auto value = queryBytes(data_, "\\VarFileInfo\\Translation", false);
  if (!value || value->size() < 4) return std::nullopt;
  const unsigned char* b = value->data();
  return Translation{static_cast<std::uint16_t>(b[0] | (b[1] << 8)), static_cast<std::uint16_t>(b[2] | (b[3] << 8))};
}

std::optional<std::string> VersionResource::stringValue(std::string_view subBlock) const {
  auto value = queryBytes(data_, subBlock, true);
  if (!value) return std::nullopt;
  std::wstring text;
  for (std::size_t i = 0; i + 1 < value->size(); i += 2) {
    wchar_t unit = static_cast<wchar_t>((*value)[i] | ((*value)[i + 1] << 8));
    if (unit == 0) break;
    text += unit;
  }
  return wideToUtf8(text);
}

OsError VersionResource::missingEntryError() {
  DWORD code = GetLastError();
  return errorFor(code ? code : ERROR_RESOURCE_TYPE_NOT_FOUND);
}

} // namespace vt::platform
