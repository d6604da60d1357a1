#pragma once
// Walking UTF-8 text one character (code point) at a time. Texts are UTF-8
// inside the system, and the operations that count or replace characters work
// on characters, not bytes. A malformed sequence counts as one character per
// byte and reads as U+FFFD, so no input can make a walk overrun or stall.
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/encoding.h"

namespace vt::utils::utf8 {

inline constexpr char32_t kReplacement = platform::kReplacementCharacter;

// Decodes the character starting at text[pos] and advances pos past it.
// pos must be below text.size().
inline char32_t next(std::string_view text, std::size_t& pos) { return platform::decodeUtf8(text, pos); }

inline void append(std::string& out, char32_t cp) { platform::appendUtf8(out, cp); }

// Number of characters of the text.
inline std::size_t length(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t pos = 0; pos < text.size(); ++count) next(text, pos);
  return count;
}

} // namespace vt::utils::utf8
