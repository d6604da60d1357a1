#pragma once
// The text and conversion helpers of the utility module (a facet of TdmUtils):
// character filters, filling to a width, clean-up of accents and symbols,
// quoting for SQL, text checks and Boolean conversions.
//
// Texts are UTF-8. Where an operation counts or replaces characters it works
// on whole characters (code points), never on the bytes of one.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vt::utils {

// The platform's integer syntax: leading blanks, an optional "+" or "-", then
// decimal digits or a hexadecimal number after "$", "x", "X", "0x" or "0X";
// nothing may follow. The value when the text is such a number between
// `minimum` and `maximum`, nothing otherwise.
std::optional<std::int64_t> parseIntegerText(std::string_view text, std::int64_t minimum, std::int64_t maximum);

struct TextHelpers {
  // Character filters: the characters of the class, in their order and case.
  static std::string soNumericos(std::string_view ADescricao);        // "0".."9"
  static std::string soCaracterString(std::string_view ADescricao);   // ASCII letters
  static std::string soAlfanumericos(std::string_view ADescricao);    // ASCII letters and digits
  // Digits, plus "." when APonto and "," when AVirgula.
  static std::string soFloatNumericos(std::string_view ADescricao, bool APonto, bool AVirgula);

  // AStrOrig with ACaract added AQtdDig - length times, in front when ALado is
  // "E", else at the end. Never shortens.
  static std::string insereCaracter(std::string_view ALado, std::string_view ACaract,
                                    std::string_view AStrOrig, int AQtdDig);
  // AText trimmed of blanks and control characters, then AChar appended until
  // ATamanho characters. Never shortens.
  static std::string preencheEspacosDireita(std::string_view AText, int ATamanho, std::string_view AChar);
  // Without leading zeros and outer blanks; one character always stays.
  static std::string removeZeros(std::string_view AString);
  // Reduced to 7-bit ASCII: accented Latin letters lose their accents, other
  // characters outside ASCII become "?".
  static std::string removeAcento(std::string_view AText);
  // Accents and symbols replaced, same number of characters; anything outside
  // printable ASCII but CR and LF becomes "?".
  static std::string arrumaStr(std::string_view AStr);
  // A name with initial capitals and the Portuguese particles in lower case;
  // ends with one blank.
  static std::string PrimeirasMaiusculas(std::string_view ANome);
  // An SQL string literal: ' becomes ´, a backslash is doubled, apostrophes around.
  static std::string quotedStringParaSQL(std::string_view ATexto);
  // How many characters of AString are ACaracter.
  static int ocorrenciaDeCaracter(std::string_view AString, char32_t ACaracter);

  // A signed 32-bit integer in the integer syntax: leading blanks, a sign,
  // decimal digits or hexadecimal after "$", "x", "X", "0x", "0X", nothing after.
  static bool strIsInteger(std::string_view AStr);
  // Not empty and only "0".."9".
  static bool strIsNumber(std::string_view AStr);

  static int getIntegerFromBoolean(bool ABooleano) { return ABooleano ? 1 : 0; }
  static bool getBooleanFromInteger(int ANumero) { return ANumero != 0; }
  static bool getBooleanFromString(std::string_view ATexto) { return ATexto == "True"; }
  static std::string getStringFromBoolean(bool AEstado) { return AEstado ? "True" : "False"; }
};

// Upper and lower case of a text by the locale's rules for the letters the
// suite meets: ASCII, the accented Latin letters, Greek and Cyrillic. Other
// characters stay as they are.
std::string upperCase(std::string_view text);
std::string lowerCase(std::string_view text);

// Small text helpers shared across the suite.
// The text without blanks and control characters (bytes up to 32) at its ends.
std::string_view trim(std::string_view text);
// ASCII letters in lower case; every other byte stays as it is.
std::string lowerAscii(std::string_view text);
bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b);
// Every occurrence of `from`, left to right and not overlapping, replaced by
// `to`; an empty `from` leaves the text as it is.
std::string replaceAll(std::string text, std::string_view from, std::string_view to);

} // namespace vt::utils
