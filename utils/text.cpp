#include "utils/text.h"

#include <cstdint>

#include "utils/utf8.h"

namespace vt::utils {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
// Blanks and control characters: every byte up to 32. UTF-8 never uses these
// byte values inside a longer character, so trimming bytes is safe.
bool isBlankOrControl(char c) { return static_cast<unsigned char>(c) <= 32; }

template <typename Keep>
std::string filter(std::string_view text, Keep keep) {
  std::string out;
  out.reserve(text.size());
  for (char c : text)
    if (keep(c)) out += c;
  return out;
}

std::string_view trimRight(std::string_view text) {
  while (!text.empty() && isBlankOrControl(text.back())) text.remove_suffix(1);
  return text;
}

std::string repeat(std::string_view piece, long long times) {
  std::string out;
  if (times <= 0 || piece.empty()) return out;
  out.reserve(piece.size() * static_cast<std::size_t>(times));
  for (long long i = 0; i < times; ++i) out += piece;
  return out;
}

// Case pairs of the Latin Extended-A block: which parity is the capital.
bool latinExtendedAUpperIsEven(char32_t c) {
  return (c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177);
}
bool latinExtendedAUpperIsOdd(char32_t c) {
  return (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
}

char32_t toUpper(char32_t c) {
  if (c >= 'a' && c <= 'z') return c - 0x20;
  if (c < 0x80) return c;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;
  if (c == 0xFF) return 0x178;
  if (c == 0x131) return 'I';  // dotless i
  if (latinExtendedAUpperIsEven(c) && (c & 1)) return c - 1;
  if (latinExtendedAUpperIsOdd(c) && !(c & 1)) return c - 1;
  if ((c >= 0x3B1 && c <= 0x3C1) || (c >= 0x3C3 && c <= 0x3CB)) return c - 0x20;
  if (c == 0x3C2) return 0x3A3;  // final sigma
  if (c == 0x3AC) return 0x386;
  if (c >= 0x3AD && c <= 0x3AF) return c - 0x25;
  if (c == 0x3CC) return 0x38C;
  if (c == 0x3CD || c == 0x3CE) return c - 0x3F;
  if (c >= 0x430 && c <= 0x44F) return c - 0x20;
  if (c >= 0x450 && c <= 0x45F) return c - 0x50;
  return c;
}

char32_t toLower(char32_t c) {
  if (c >= 'A' && c <= 'Z') return c + 0x20;
  if (c < 0x80) return c;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
  if (c == 0x178) return 0xFF;
  if (c == 0x130) return 'i';  // capital I with dot
  if (latinExtendedAUpperIsEven(c) && !(c & 1)) return c + 1;
  if (latinExtendedAUpperIsOdd(c) && (c & 1)) return c + 1;
  if ((c >= 0x391 && c <= 0x3A1) || (c >= 0x3A3 && c <= 0x3AB)) return c + 0x20;
  if (c == 0x386) return 0x3AC;
  if (c >= 0x388 && c <= 0x38A) return c + 0x25;
  if (c == 0x38C) return 0x3CC;
  if (c == 0x38E || c == 0x38F) return c + 0x3F;
  if (c >= 0x410 && c <= 0x42F) return c + 0x20;
  if (c >= 0x400 && c <= 0x40F) return c + 0x50;
  return c;
}

template <typename Map>
std::string mapCharacters(std::string_view text, Map map) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) utf8::append(out, map(utf8::next(text, pos)));
  return out;
}

// Base letters of the accented Latin letters U+00C0..U+00FF and U+0100..U+017F;
// "?" where the character is not a letter with an accent (Æ, ×, ß, Œ, ...).
constexpr std::string_view kLatin1Base =
    "AAAAAA?CEEEEIIIIDNOOOOO?OUUUUY??aaaaaa?ceeeeiiiidnooooo?ouuuuy?y";
constexpr std::string_view kLatinExtendedABase =
    "AaAaAaCcCcCcCcDdDdEeEeEeEeEeGgGgGgGgHhHhIiIiIiIiIi??JjKk?LlLlLlLlLlNnNnNn???OoOoOo??RrRrRrSsSsSsSsTtTtTt"
    "UuUuUuUuUuUuWwYyYZzZzZz?";
static_assert(kLatin1Base.size() == 0x40);
static_assert(kLatinExtendedABase.size() == 0x80);

// The replacements of arrumaStr, by character code; 0 keeps the character.
char arrumaReplacement(char32_t c) {
  switch (c) {
    case 34: return ' ';
    case 38: return 'e';
    case 170: case 174: case 186: return '.';
    case 199: return 'C';
    case 209: return 'N';
    case 231: return 'c';
    case 241: return 'n';
    default: break;
  }
  if (c >= 192 && c <= 196) return 'A';
  if (c >= 200 && c <= 203) return 'E';
  if (c >= 204 && c <= 207) return 'I';
  if (c >= 210 && c <= 214) return 'O';
  if (c >= 217 && c <= 220) return 'U';
  if (c >= 224 && c <= 228) return 'a';
  if (c >= 232 && c <= 235) return 'e';
  if (c >= 236 && c <= 239) return 'i';
  if (c >= 242 && c <= 246) return 'o';
  if (c >= 249 && c <= 252) return 'u';
  return 0;
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

} // namespace

std::string_view trim(std::string_view text) {
  text = trimRight(text);
  while (!text.empty() && isBlankOrControl(text.front())) text.remove_prefix(1);
  return text;
}

std::string lowerAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return out;
}

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  const auto fold = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
  for (std::size_t i = 0; i < a.size(); ++i)
    if (fold(a[i]) != fold(b[i])) return false;
  return true;
}

std::string replaceAll(std::string text, std::string_view from, std::string_view to) {
  if (from.empty()) return text;
  std::string out;
  std::size_t pos = 0;
  for (std::size_t hit; (hit = text.find(from, pos)) != std::string::npos; pos = hit + from.size())
    out.append(text, pos, hit - pos).append(to);
  out.append(text, pos, std::string::npos);
  return out;
}

std::string upperCase(std::string_view text) { return mapCharacters(text, toUpper); }
std::string lowerCase(std::string_view text) { return mapCharacters(text, toLower); }

std::string TextHelpers::soNumericos(std::string_view ADescricao) { return filter(ADescricao, isDigit); }

std::string TextHelpers::soCaracterString(std::string_view ADescricao) {
  return filter(ADescricao, isAsciiLetter);
}

std::string TextHelpers::soAlfanumericos(std::string_view ADescricao) {
  return filter(ADescricao, [](char c) { return isDigit(c) || isAsciiLetter(c); });
}

std::string TextHelpers::soFloatNumericos(std::string_view ADescricao, bool APonto, bool AVirgula) {
  return filter(ADescricao, [&](char c) { return isDigit(c) || (APonto && c == '.') || (AVirgula && c == ','); });
}

std::string TextHelpers::insereCaracter(std::string_view ALado, std::string_view ACaract,
                                        std::string_view AStrOrig, int AQtdDig) {
  const long long missing = static_cast<long long>(AQtdDig) - static_cast<long long>(utf8::length(AStrOrig));
  const std::string fill = repeat(ACaract, missing);
  return ALado == "E" ? fill + std::string(AStrOrig) : std::string(AStrOrig) + fill;
}

std::string TextHelpers::preencheEspacosDireita(std::string_view AText, int ATamanho, std::string_view AChar) {
  const std::string_view trimmed = trim(AText);
  const long long missing = static_cast<long long>(ATamanho) - static_cast<long long>(utf8::length(trimmed));
  return std::string(trimmed) + repeat(AChar, missing);
}

std::string TextHelpers::removeZeros(std::string_view AString) {
  std::string_view text = trimRight(AString);
  // The last character is never skipped, even a "0"; trailing blanks are gone,
  // so the last character is not a blank either.
  while (text.size() > 1 && (isBlankOrControl(text.front()) || text.front() == '0')) text.remove_prefix(1);
  return std::string(text);
}

std::string TextHelpers::removeAcento(std::string_view AText) {
  std::string out;
  out.reserve(AText.size());
  for (std::size_t pos = 0; pos < AText.size();) {
    const char32_t c = utf8::next(AText, pos);
    if (c < 0x80)
      out += static_cast<char>(c);
    else if (c >= 0xC0 && c <= 0xFF)
      out += kLatin1Base[c - 0xC0];
    else if (c >= 0x100 && c <= 0x17F)
      out += kLatinExtendedABase[c - 0x100];
    else
      out += '?';
  }
  return out;
}

std::string TextHelpers::arrumaStr(std::string_view AStr) {
  std::string out;
  out.reserve(AStr.size());
  for (std::size_t pos = 0; pos < AStr.size();) {
    const char32_t c = utf8::next(AStr, pos);
    if (char replacement = arrumaReplacement(c))
      out += replacement;
    else if (c == '\r' || c == '\n' || (c >= 32 && c <= 126))
      out += static_cast<char>(c);
    else
      out += '?';
  }
  return out;
}

std::string TextHelpers::PrimeirasMaiusculas(std::string_view ANome) {
  // A piece (a word with the blank after it) found anywhere in this text stays
  // in lower case: the particles DA, DAS, DE, DO, DOS and E, and with them A,
  // AS, O, OS, S and a lone hyphen.
  static constexpr std::string_view kParticles = " DA - DAS - DE - DO - DOS - E";
  // "Trailing blanks" are taken as blanks and control characters, as the
  // other trims of this module do: a name ending in a tab still ends with
  // exactly one blank.
  const std::string text = upperCase(std::string(trimRight(ANome)) + " ");
  std::string out;
  out.reserve(text.size());
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t blank = text.find(' ', start);
    const std::string_view piece = std::string_view(text).substr(start, blank - start + 1);
    start = blank + 1;
    if (kParticles.find(piece) != std::string_view::npos) {
      out += lowerCase(piece);
      continue;
    }
    std::size_t afterFirst = 0;
    utf8::next(piece, afterFirst);
    out += piece.substr(0, afterFirst);
    out += lowerCase(piece.substr(afterFirst));
  }
  return out;
}

std::string TextHelpers::quotedStringParaSQL(std::string_view ATexto) {
  std::string out = "'";
  out.reserve(ATexto.size() + 2);
  for (char c : ATexto) {
    if (c == '\'')
      out += "\xC2\xB4";  // ´
    else if (c == '\\')
      out += "\\\\";
    else
      out += c;
  }
  out += '\'';
  return out;
}

int TextHelpers::ocorrenciaDeCaracter(std::string_view AString, char32_t ACaracter) {
  int count = 0;
  for (std::size_t pos = 0; pos < AString.size();)
    if (utf8::next(AString, pos) == ACaracter) ++count;
  return count;
}

std::optional<std::int64_t> parseIntegerText(std::string_view text, std::int64_t minimum, std::int64_t maximum) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  unsigned base = 10;
  if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
    base = 16;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i == text.size()) return std::nullopt;  // no digits at all
  // The magnitude the sign allows, as an unsigned number (|INT64_MIN| included).
  const std::uint64_t limit = negative ? (minimum < 0 ? 0 - static_cast<std::uint64_t>(minimum) : 0)
                                       : (maximum > 0 ? static_cast<std::uint64_t>(maximum) : 0);
  std::uint64_t value = 0;
  for (; i < text.size(); ++i) {
    const int digit = base == 16 ? hexValue(text[i]) : (isDigit(text[i]) ? text[i] - '0' : -1);
    if (digit < 0) return std::nullopt;
    // value * base + digit <= limit, asked without overflowing.
    if (static_cast<std::uint64_t>(digit) > limit || value > (limit - static_cast<unsigned>(digit)) / base)
      return std::nullopt;
    value = value * base + static_cast<unsigned>(digit);
  }
  if (!negative) return static_cast<std::int64_t>(value);
  if (value == 0) return minimum <= 0 && maximum >= 0 ? std::optional<std::int64_t>(0) : std::nullopt;
  return static_cast<std::int64_t>(0 - value);  // two's complement: INT64_MIN included
}

bool TextHelpers::strIsInteger(std::string_view AStr) {
  return parseIntegerText(AStr, INT32_MIN, INT32_MAX).has_value();
}

bool TextHelpers::strIsNumber(std::string_view AStr) {
  if (AStr.empty()) return false;
  for (char c : AStr)
    if (!isDigit(c)) return false;
  return true;
}

} // namespace vt::utils
