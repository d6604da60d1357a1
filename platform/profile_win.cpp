#include "platform/profile.h"

#include <windows.h>

#include "platform/encoding.h"

namespace vt::platform {

std::string profileRead(std::string_view section, std::string_view key, std::string_view path) {
  wchar_t buffer[kProfileValueLimit + 1] = {};
  DWORD n = GetPrivateProfileStringW(utf8ToWide(section).c_str(), utf8ToWide(key).c_str(), L"", buffer,
                                     static_cast<DWORD>(kProfileValueLimit + 1), utf8ToWide(path).c_str());
  return wideToUtf8(std::wstring_view(buffer, n));
}

bool profileWrite(std::string_view section, std::string_view key, std::string_view value, std::string_view path) {
  return WritePrivateProfileStringW(utf8ToWide(section).c_str(), utf8ToWide(key).c_str(), utf8ToWide(value).c_str(),
                                    utf8ToWide(path).c_str()) != FALSE;
}

bool profileDeleteKey(std::string_view section, std::string_view key, std::string_view path) {
  return WritePrivateProfileStringW(utf8ToWide(section).c_str(), utf8ToWide(key).c_str(), nullptr,
                                    utf8ToWide(path).c_str()) != FALSE;
}

bool profileDeleteSection(std::string_view section, std::string_view path) {
  return WritePrivateProfileStringW(utf8ToWide(section).c_str(), nullptr, nullptr, utf8ToWide(path).c_str()) != FALSE;
}

} // namespace vt::platform
