#include "platform/os_error.h"

#include <windows.h>

#include "platform/encoding.h"

namespace vt::platform {

std::string OsError::messageFor(long code) {
  wchar_t* buffer = nullptr;
  DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::string text = n ? wideToUtf8(std::wstring_view(buffer, n)) : std::string();
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
  return text;
}

OsError OsError::last() {
  long code = static_cast<long>(GetLastError());
  return OsError(code, "System Error.  Code: " + std::to_string(code) + ".\n" + messageFor(code));
}

} // namespace vt::platform
