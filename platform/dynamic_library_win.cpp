#include "platform/dynamic_library.h"

#include <windows.h>

#include <utility>

#include "platform/os_error.h"
#include "platform/path.h"

namespace vt::platform {

bool DynamicLibrary::load(std::string_view path, std::string& error) {
  unload();
  const std::wstring wide = toHost(path).wstring();
  // No system dialog for a file that is not a valid image; the reason comes
  // back as the error text instead.
  DWORD previousMode = 0;
  SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previousMode);
  HMODULE module = LoadLibraryExW(wide.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  const DWORD code = module ? 0 : GetLastError();
  SetThreadErrorMode(previousMode, nullptr);
  if (module) {
    handle_ = module;
    return true;
  }
  error = OsError::messageFor(static_cast<long>(code));
  if (error.empty()) error = "System Error.  Code: " + std::to_string(code) + ".";
  // Some system messages name the file as "%1" ("... not a valid Win32 application"): say which.
  if (size_t at = error.find("%1"); at != std::string::npos) error.replace(at, 2, std::string(path));
  return false;
}

void* DynamicLibrary::symbol(const char* name) const {
  if (!handle_) return nullptr;
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name));
}

void DynamicLibrary::unload() {
  if (handle_ && !keep_) FreeLibrary(static_cast<HMODULE>(handle_));
  handle_ = nullptr;
}

} // namespace vt::platform
