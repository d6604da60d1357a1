#pragma once
// Text is UTF-8 inside the system. These conversions serve the edges: UTF-16
// at Win32 calls, and the 8-bit code page of files the terminals share.
#include <string>
#include <string_view>

namespace vt::platform {

std::wstring utf8ToWide(std::string_view text);
std::string wideToUtf8(std::wstring_view text);

// The code page files are written in: Windows-1252 (the system code page of
// the terminals) on Windows, UTF-8 on Linux. Characters the code page cannot
// hold become "?".
std::string utf8ToFileText(std::string_view text);
std::string fileTextToUtf8(std::string_view bytes);

// Windows-1252 conversions, available on every platform.
std::string utf8ToCp1252(std::string_view text);
std::string cp1252ToUtf8(std::string_view bytes);

} // namespace vt::platform
