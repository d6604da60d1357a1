#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "utils/text.h"

namespace vt::utils {
namespace {

using T = TextHelpers;

struct FilterCase {
  std::string input;
  std::string digits, letters, alphanumerics;
};

TEST(TextFilters, KeepOnlyTheirClassInOrderAndCase) {
  const std::vector<FilterCase> cases = {
      {"1.0.23.4", "10234", "", "10234"},
      {"V1.02.03.0004", "102030004", "V", "V102030004"},
      {"sem dígitos!", "", "semdgitos", "semdgitos"},  // accented letters are dropped
      {"", "", "", ""},
      {"Ação 12-b", "12", "Aob", "Ao12b"},
      {"\xEF\xBC\x91\xD9\xA3", "", "", ""},  // fullwidth and Arabic-Indic digits are not "0".."9"
  };
  for (const auto& c : cases) {
    EXPECT_EQ(T::soNumericos(c.input), c.digits) << c.input;
    EXPECT_EQ(T::soCaracterString(c.input), c.letters) << c.input;
    EXPECT_EQ(T::soAlfanumericos(c.input), c.alphanumerics) << c.input;
  }
}

TEST(TextFilters, FloatFilterKeepsPointAndCommaOnlyWhenAsked) {
  struct Case {
    bool ponto, virgula;
    std::string expected;
  };
  const Case cases[] = {
      {false, true, "1234,56"},
      {false, false, "123456"},
      {true, false, "1.23456"},
      {true, true, "1.234,56"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(T::soFloatNumericos("R$ 1.234,56", c.ponto, c.virgula), c.expected) << c.ponto << c.virgula;
}

TEST(InsereCaracter, PadsOnTheSideAskedAndNeverShortens) {
  struct Case {
    std::string lado, caract, orig;
    int qtd;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"E", "0", "7", 2, "07"},
      {"D", "*", "abc", 5, "abc**"},
      {"D", "*", "abc", 2, "abc"},
      {"E", "0", "12", 2, "12"},
      {"E", "0", "12", -3, "12"},
      {"e", "0", "7", 3, "700"},      // only an exact "E" means the left
      {"", "0", "7", 3, "700"},
      {"E", "ab", "x", 3, "ababx"},   // a longer fill is added whole each time
      {"E", "", "x", 3, "x"},
      {"E", "0", "ção", 5, "00ção"},  // counted in characters, not bytes
      {"D", "é", "", 3, "ééé"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(T::insereCaracter(c.lado, c.caract, c.orig, c.qtd), c.expected)
        << c.lado << "|" << c.caract << "|" << c.orig << "|" << c.qtd;
}

TEST(PreencheEspacosDireita, TrimsThenFillsOnTheRight) {
  struct Case {
    std::string text;
    int tamanho;
    std::string ch, expected;
  };
  const std::vector<Case> cases = {
      {"  abc  ", 6, ".", "abc..."},
      {"\tabc\r\n", 5, " ", "abc  "},
      {"abcdef", 3, ".", "abcdef"},
      {"", 2, "-", "--"},
      {"São", 5, "*", "São**"},
      {"abc", 5, "", "abc"},
  };
  for (const auto& c : cases) EXPECT_EQ(T::preencheEspacosDireita(c.text, c.tamanho, c.ch), c.expected) << c.text;
}

TEST(RemoveZeros, DropsLeadingZerosAndOuterBlanksButKeepsOneCharacter) {
  const std::pair<std::string, std::string> cases[] = {
      {"  0012 ", "12"}, {"000", "0"}, {"", ""}, {"   ", ""}, {"0", "0"},
      {" 0 0 7\t", "7"}, {"100", "100"}, {"00a0", "a0"}, {"0\n", "0"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(T::removeZeros(in), out) << "[" << in << "]";
}

TEST(RemoveAcento, ReducesToSevenBitAscii) {
  const std::pair<std::string, std::string> cases[] = {
      {"ação", "acao"},
      {"Ç", "C"},
      {"ÁÀÂÃÄ áàâãä ÉÊ éê ÍÓÔÕ íóôõ ÚÜ úü Ññ", "AAAAA aaaaa EE ee IOOO iooo UU uu Nn"},
      {"Łódź", "Lodz"},
      {"€ 5 ½", "? 5 ?"},
      {"中文", "??"},              // one "?" per character, whatever its byte length
      {"\xF0\x9F\x98\x80", "?"},  // a character beyond the basic plane
      {"\xC3", "?"},               // a cut-off sequence
      {"plain ASCII ~", "plain ASCII ~"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(T::removeAcento(in), out) << in;
}

TEST(ArrumaStr, ReplacesByTheTableAndKeepsTheLength) {
  const std::pair<std::string, std::string> cases[] = {
      {"Ação & Cia", "Acao e Cia"},
      {"a\tb", "a?b"},
      {"\"x\"", " x "},
      {"1ª 2º ®", "1. 2. ."},
      {"ÀÁÂÃÄ Ç ÈÉÊË ÌÍÎÏ Ñ ÒÓÔÕÖ ÙÚÛÜ", "AAAAA C EEEE IIII N OOOOO UUUU"},
      {"àáâãä ç èéêë ìíîï ñ òóôõö ùúûü", "aaaaa c eeee iiii n ooooo uuuu"},
      {"linha1\r\nlinha2", "linha1\r\nlinha2"},
      {"Å ø ý € 中", "? ? ? ? ?"},  // outside the table and outside 32..126
      {std::string("a\x7F" "b", 3), "a?b"},
      {"", ""},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(T::arrumaStr(in), out) << in;
}

TEST(PrimeirasMaiusculas, CapitalisesWordsAndLowersTheParticles) {
  const std::pair<std::string, std::string> cases[] = {
      {"maria das dores", "Maria das Dores "},
      {"JOSÉ DA SILVA E SOUZA", "José da Silva e Souza "},
      {"joão dos santos   ", "João dos Santos "},
      {"", " "},
      {"ângela de órfão", "Ângela de Órfão "},
      {"ana - loja do povo", "Ana - Loja do Povo "},
      // Pieces found inside " DA - DAS - DE - DO - DOS - E" stay lower, even
      // when they are not particles: A, AS, O, OS, S.
      {"o rei a casa os as s", "o Rei a Casa os as s "},
      {"dom dosa", "Dom Dosa "},  // DOM and DOSA are not inside the fixed text
      {"édson", "Édson "},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(T::PrimeirasMaiusculas(in), out) << in;
}

TEST(CaseMapping, CoversAccentedLatinGreekAndCyrillic) {
  EXPECT_EQ(upperCase("ação über ñ ÿ ł"), "AÇÃO ÜBER Ñ Ÿ Ł");
  EXPECT_EQ(lowerCase("AÇÃO ÜBER Ñ Ÿ Ł"), "ação über ñ ÿ ł");
  EXPECT_EQ(upperCase("αβγ ж"), "ΑΒΓ Ж");
  EXPECT_EQ(upperCase("1 × 2 ÷ 3"), "1 × 2 ÷ 3");
}

TEST(QuotedStringParaSQL, NeverLeavesAnApostropheInside) {
  const std::pair<std::string, std::string> cases[] = {
      {"D'Ávila", "'D´Ávila'"},
      {"C:\\dados", "'C:\\\\dados'"},
      {"", "''"},
      {"\\'", "'\\\\´'"},
  };
  for (const auto& [in, out] : cases) {
    const std::string quoted = T::quotedStringParaSQL(in);
    EXPECT_EQ(quoted, out) << in;
    EXPECT_EQ(quoted.substr(1, quoted.size() - 2).find('\''), std::string::npos);
  }
}

TEST(OcorrenciaDeCaracter, CountsCharactersNotBytes) {
  EXPECT_EQ(T::ocorrenciaDeCaracter("1.0.23.4", U'.'), 3);
  EXPECT_EQ(T::ocorrenciaDeCaracter("", U'.'), 0);
  EXPECT_EQ(T::ocorrenciaDeCaracter("ããa", U'ã'), 2);
  EXPECT_EQ(T::ocorrenciaDeCaracter("ã", U'\xC3'), 0);  // the lead byte of "ã" is no "Ã"
  EXPECT_EQ(T::ocorrenciaDeCaracter("Aaa", U'a'), 2);
}

TEST(StrIsInteger, FollowsTheIntegerSyntax) {
  struct Case {
    std::string text;
    bool expected;
  };
  const std::vector<Case> cases = {
      {"42", true}, {" 42", true}, {"   -7", true}, {"+7", true}, {"$1F", true},
      {"x1f", true}, {"X1F", true}, {"0x1F", true}, {"0X1f", true}, {"-$10", true},
      {"2147483647", true}, {"-2147483648", true}, {"0000000000042", true},
      {"$7FFFFFFF", true}, {"-$80000000", true}, {"0", true}, {"-0", true},
      {"", false}, {"   ", false}, {"-", false}, {"+", false}, {"$", false}, {"0x", false},
      {"42 ", false}, {"4.2", false}, {"2147483648", false}, {"-2147483649", false},
      {"99999999999999999999", false}, {"$80000000", false}, {"$FFFFFFFF", false},
      {"\t42", false}, {"1e3", false}, {"+-1", false}, {"$1G", false}, {"12a", false},
      {"٣", false}, {"- 1", false},
  };
  for (const auto& c : cases) EXPECT_EQ(T::strIsInteger(c.text), c.expected) << "[" << c.text << "]";
}

TEST(StrIsNumber, NeedsAtLeastOneDigitAndNothingElse) {
  EXPECT_TRUE(T::strIsNumber("0"));
  EXPECT_TRUE(T::strIsNumber("00123456789012345678901234567890"));
  EXPECT_FALSE(T::strIsNumber(""));
  EXPECT_FALSE(T::strIsNumber(" 1"));
  EXPECT_FALSE(T::strIsNumber("-1"));
  EXPECT_FALSE(T::strIsNumber("1,0"));
}

TEST(BooleanConversions, MatchTheirFixedForms) {
  EXPECT_EQ(T::getIntegerFromBoolean(true), 1);
  EXPECT_EQ(T::getIntegerFromBoolean(false), 0);
  EXPECT_TRUE(T::getBooleanFromInteger(-1));
  EXPECT_TRUE(T::getBooleanFromInteger(2));
  EXPECT_FALSE(T::getBooleanFromInteger(0));
  EXPECT_TRUE(T::getBooleanFromString("True"));
  EXPECT_FALSE(T::getBooleanFromString("true"));
  EXPECT_FALSE(T::getBooleanFromString("TRUE"));
  EXPECT_FALSE(T::getBooleanFromString(" True"));
  EXPECT_FALSE(T::getBooleanFromString("1"));
  EXPECT_EQ(T::getStringFromBoolean(true), "True");
  EXPECT_EQ(T::getStringFromBoolean(false), "False");
}

} // namespace
} // namespace vt::utils

namespace vt::utils {
namespace {

TEST(ParseIntegerText, TheRangeIsTheCallersUpToSixtyFourBits) {
  constexpr auto kMin = std::numeric_limits<std::int64_t>::min();
  constexpr auto kMax = std::numeric_limits<std::int64_t>::max();
  struct Case {
    const char* text;
    std::optional<std::int64_t> expected;
  } cases[] = {
      {"9223372036854775807", kMax},
      {"-9223372036854775808", kMin},
      {"9223372036854775808", std::nullopt},
      {"-9223372036854775809", std::nullopt},
      {"$7FFFFFFFFFFFFFFF", kMax},
      {"-0x8000000000000000", kMin},
      {"99999999999999999999999", std::nullopt},
      {"  -0", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(parseIntegerText(c.text, kMin, kMax), c.expected) << c.text;
  // A narrower range refuses what lies outside it.
  EXPECT_EQ(parseIntegerText("-1", 0, 10), std::nullopt);
  EXPECT_EQ(parseIntegerText("11", 0, 10), std::nullopt);
  EXPECT_EQ(parseIntegerText("10", 0, 10), 10);
}

} // namespace
} // namespace vt::utils
