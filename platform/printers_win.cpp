#include "platform/printers.h"

#include <memory>
#include <vector>

#include <windows.h>
#include <winspool.h>

#include "platform/encoding.h"
#include "platform/os_error.h"

namespace vt::platform {
namespace {

OsError systemError(long code) {
  return OsError(code, "System Error.  Code: " + std::to_string(code) + ".\n" + OsError::messageFor(code));
}

// The printer opened for the call, closed on every path.
class OpenedPrinter {
public:
  OpenedPrinter(std::string_view name, ACCESS_MASK access) {
    std::wstring wide = utf8ToWide(name);
    PRINTER_DEFAULTSW defaults{};
    defaults.DesiredAccess = access;
    if (!OpenPrinterW(wide.data(), &handle_, &defaults)) throw OsError::last();
  }
  ~OpenedPrinter() { ClosePrinter(handle_); }
  OpenedPrinter(const OpenedPrinter&) = delete;
  OpenedPrinter& operator=(const OpenedPrinter&) = delete;
  HANDLE get() const { return handle_; }

  // The level-2 information, in a buffer that holds its strings too.
  std::vector<BYTE> info2() const {
    DWORD needed = 0;
    GetPrinterW(handle_, 2, nullptr, 0, &needed);
    if (needed == 0) throw OsError::last();
    std::vector<BYTE> buffer(needed);
    if (!GetPrinterW(handle_, 2, buffer.data(), needed, &needed)) throw OsError::last();
    return buffer;
  }

private:
  HANDLE handle_ = nullptr;
};

std::string text(const wchar_t* s) { return s ? wideToUtf8(s) : std::string(); }

bool isNt5OrLater() {
  OSVERSIONINFOEXW wanted{};
  wanted.dwOSVersionInfoSize = sizeof(wanted);
  wanted.dwMajorVersion = 5;
  wanted.dwPlatformId = VER_PLATFORM_WIN32_NT;
  DWORDLONG condition = 0;
  condition = VerSetConditionMask(condition, VER_MAJORVERSION, VER_GREATER_EQUAL);
  condition = VerSetConditionMask(condition, VER_PLATFORMID, VER_EQUAL);
  return VerifyVersionInfoW(&wanted, VER_MAJORVERSION | VER_PLATFORMID, condition) != FALSE;
}

} // namespace

OsError printerNotListedError() { return systemError(ERROR_INVALID_PRINTER_NAME); }

std::vector<std::string> printerNames() {
  const DWORD flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
  DWORD needed = 0, count = 0;
  EnumPrintersW(flags, nullptr, 4, nullptr, 0, &needed, &count);
  std::vector<std::string> names;
  if (needed == 0) return names;
  std::vector<BYTE> buffer(needed);
  if (!EnumPrintersW(flags, nullptr, 4, buffer.data(), needed, &needed, &count)) return names;
  const auto* info = reinterpret_cast<const PRINTER_INFO_4W*>(buffer.data());
  for (DWORD i = 0; i < count; ++i) names.push_back(text(info[i].pPrinterName));
  return names;
}

PrinterDevice printerDevice(std::string_view name) {
  OpenedPrinter printer(name, PRINTER_ACCESS_USE);
  const std::vector<BYTE> buffer = printer.info2();
  const auto* info = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
  return {text(info->pPrinterName), text(info->pDriverName), text(info->pPortName)};
}

void setDefaultPrinterByAttribute(std::string_view name) {
  OpenedPrinter printer(name, PRINTER_ALL_ACCESS);
  std::vector<BYTE> buffer = printer.info2();
  auto* info = reinterpret_cast<PRINTER_INFO_2W*>(buffer.data());
  info->Attributes |= PRINTER_ATTRIBUTE_DEFAULT;
  // The security descriptor stays as it is.
  info->pSecurityDescriptor = nullptr;
  if (!SetPrinterW(printer.get(), 2, buffer.data(), 0)) throw OsError::last();
}

void setDefaultPrinter(std::string_view name) {
  // The spooler takes an empty name as "choose a default yourself".
  if (name.empty()) throw printerNotListedError();
  if (!isNt5OrLater()) {
    setDefaultPrinterByAttribute(name);
    return;
  }
  struct LibraryDeleter {
    void operator()(HMODULE m) const { FreeLibrary(m); }
  };
  std::unique_ptr<std::remove_pointer_t<HMODULE>, LibraryDeleter> spooler(LoadLibraryW(L"winspool.drv"));
  if (!spooler) throw OsError::last();
  using SetDefaultPrinterFn = BOOL(WINAPI*)(LPCWSTR);
  auto setDefault = reinterpret_cast<SetDefaultPrinterFn>(
      reinterpret_cast<void*>(GetProcAddress(spooler.get(), "SetDefaultPrinterW")));
  if (!setDefault) throw OsError::last();
  if (!setDefault(utf8ToWide(name).c_str())) throw OsError::last();
}

std::string defaultPrinter() {
  DWORD size = 0;
  GetDefaultPrinterW(nullptr, &size);
  if (size == 0) return {};
  std::wstring name(size, L'\0');
  if (!GetDefaultPrinterW(name.data(), &size)) return {};
  name.resize(size > 0 ? size - 1 : 0);
  return wideToUtf8(name);
}

bool writePlatformProfile(std::string_view section, std::string_view key, std::string_view value) {
  return WriteProfileStringW(utf8ToWide(section).c_str(), utf8ToWide(key).c_str(), utf8ToWide(value).c_str()) !=
         FALSE;
}

std::string readPlatformProfile(std::string_view section, std::string_view key) {
  wchar_t buffer[2048] = {};
  DWORD n = GetProfileStringW(utf8ToWide(section).c_str(), utf8ToWide(key).c_str(), L"", buffer, 2048);
  return wideToUtf8(std::wstring_view(buffer, n));
}

} // namespace vt::platform
