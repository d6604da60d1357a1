#pragma once
// Text is UTF-8 inside the system. These conversions serve the edges: UTF-16
// at Win32 calls, and the 8-bit code page of files the terminals share.
#include <cstddef>
#include <string>
#include <string_view>

namespace vt::platform {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// Decodes the UTF-8 character starting at text[pos] and advances pos past it;
// pos must be below text.size(). A malformed sequence (bad lead or
// continuation byte, cut short, overlong, surrogate, beyond U+10FFFF) reads as
// U+FFFD and advances by one byte only, so hostile input never stalls or
// overruns a walk.
inline char32_t decodeUtf8(std::string_view text, std::size_t& pos) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(pos);
  if (lead < 0x80) {
    ++pos;
    return lead;
  }
  std::size_t extra;
  char32_t cp;
  char32_t minimum;
  if (lead >= 0xC2 && lead <= 0xDF) {
    extra = 1, cp = lead & 0x1F, minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    extra = 2, cp = lead & 0x0F, minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    extra = 3, cp = lead & 0x07, minimum = 0x10000;
  } else {
    ++pos;
    return kReplacementCharacter;
  }
  if (text.size() - pos <= extra) { // the sequence is cut short
    ++pos;
    return kReplacementCharacter;
  }
  for (std::size_t k = 1; k <= extra; ++k) {
    const unsigned char c = byte(pos + k);
    if ((c & 0xC0) != 0x80) {
      ++pos;
      return kReplacementCharacter;
    }
    cp = (cp << 6) | (c & 0x3F);
  }
  if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++pos;
    return kReplacementCharacter;
  }
  pos += extra + 1;
  return cp;
}

// Appends a code point as UTF-8. Callers pass at most U+10FFFF.
inline void appendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::wstring utf8ToWide(std::string_view text);
std::string wideToUtf8(std::wstring_view text);

// The code page files are written in: Windows-1252 (the system code page of
// the terminals) on Windows, UTF-8 on Linux. Characters the code page cannot
// hold become "?".
std::string utf8ToFileText(std::string_view text);
std::string fileTextToUtf8(std::string_view bytes);

// The first `count` characters (code points) of a UTF-8 text, never cut
// inside one; a stray continuation byte goes with the character before it.
std::string firstCharacters(std::string_view text, std::size_t count);

// Windows-1252 conversions, available on every platform.
std::string utf8ToCp1252(std::string_view text);
std::string cp1252ToUtf8(std::string_view bytes);

} // namespace vt::platform
