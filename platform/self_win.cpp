#include "platform/self.h"

#include <windows.h>

#include "platform/encoding.h"
#include "platform/os_error.h"

namespace vt::platform {

std::string currentExecutablePath() {
  std::wstring buffer(MAX_PATH, L'\0');
  while (true) {
    DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) throw OsError::last();
    if (n < buffer.size()) {
      buffer.resize(n);
      return wideToUtf8(buffer);
    }
    buffer.resize(buffer.size() * 2); // truncated: try a larger buffer
  }
}

} // namespace vt::platform
