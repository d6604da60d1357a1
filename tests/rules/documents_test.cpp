#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "rules/documents.h"

namespace vt::rules {
namespace {

using D = DocumentRules;

struct CheckCase {
  std::string text;
  bool expected;
};

TEST(ValidaCPF, ChecksBothDigitsOfTheFirstElevenDigits) {
  const std::vector<CheckCase> cases = {
      {"529.982.247-25", true},
      {"52998224725", true},
      {"123.456.789-09", true},
      {"529982247250", true},       // digits after the eleventh are ignored
      {"CPF 529 982 247 25 ok", true},
      {"529.982.247-24", false},    // second check digit off
      {"529.982.247-15", false},    // first check digit off
      {"529.982.347-25", false},    // a body digit changed
      {"5299822472", false},        // ten digits
      {"", false},
      {"abc", false},
  };
  for (const auto& c : cases) EXPECT_EQ(D::validaCPF(c.text), c.expected) << c.text;
}

TEST(ValidaCPF, ElevenEqualDigitsAreInvalidEvenWhenTheCheckDigitsFit) {
  for (char d = '0'; d <= '9'; ++d) {
    const std::string same(11, d);
    EXPECT_FALSE(D::validaCPF(same)) << same;
    EXPECT_FALSE(D::validaCPF(same + "2")) << same;  // only the first eleven are compared
  }
  EXPECT_FALSE(D::validaCPF("111.111.111-11"));
}

TEST(ValidaCNPJ, ChecksBothDigitsOfTheFirstFourteenDigits) {
  const std::vector<CheckCase> cases = {
      {"11.222.333/0001-81", true},
      {"60.701.190/0001-04", true},
      {"33.000.167/0001-01", true},
      {"00000000000000", true},       // no test for repeated digits
      {"00.000.000/0000-00", true},
      {"112223330001810", true},      // fifteen digits: judged on the first fourteen
      {"112223330001819", true},
      {"11.222.333/0001-80", false},
      {"11.222.333/0001-71", false},
      {"11.222.334/0001-81", false},
      {"11111111111111", false},
      {"1122233300018", false},       // thirteen digits
      {"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(D::validaCNPJ(c.text), c.expected) << c.text;
}

struct GtinCase {
  bool (*validate)(std::string_view, int&);
  const char* name;
  std::string code;
  bool expected;
  int digit;  // the computed check digit handed back
};

TEST(ValidaGTIN, ValidatesAndHandsBackTheComputedDigit) {
  const std::vector<GtinCase> cases = {
      {D::validaGTIN8, "GTIN8", "96385074", true, 4},
      {D::validaGTIN8, "GTIN8", "96385075", false, 4},
      {D::validaGTIN12, "GTIN12", "036000291452", true, 2},
      {D::validaGTIN12, "GTIN12", "036000291453", false, 2},
      {D::validaGTIN13, "GTIN13", "7891000315507", true, 7},
      {D::validaGTIN13, "GTIN13", "4006381333931", true, 1},
      {D::validaGTIN13, "GTIN13", "4006381333932", false, 1},
      {D::validaGTIN14, "GTIN14", "10012345678902", true, 2},
      {D::validaGTIN14, "GTIN14", "04006381333931", true, 1},
      {D::validaGTIN14, "GTIN14", "04006381333930", false, 1},
  };
  for (const auto& c : cases) {
    int digit = -1;
    EXPECT_EQ(c.validate(c.code, digit), c.expected) << c.name << " " << c.code;
    EXPECT_EQ(digit, c.digit) << c.name << " " << c.code;
  }
}

TEST(ValidaGTIN, ThirteenWeighsFromTheLeftOppositeToTheOthers) {
  // The same twelve leading digits: GTIN-13 weighs 1 at the odd positions,
  // GTIN-8, 12 and 14 weigh 3 there.
  int d8 = -1, d12 = -1, d13 = -1, d14 = -1;
  D::validaGTIN8("4006381333931", d8);
  D::validaGTIN12("4006381333931", d12);
  D::validaGTIN13("4006381333931", d13);
  D::validaGTIN14("4006381333931", d14);
  EXPECT_EQ(d13, 1);
  EXPECT_EQ(d8, 7);
  EXPECT_EQ(d12, 7);
  EXPECT_EQ(d14, 7);
  // A UPC-A code is a GTIN-13 only with a leading zero that shifts the weights.
  int digit = -1;
  EXPECT_FALSE(D::validaGTIN13("036000291452", digit));
  EXPECT_TRUE(D::validaGTIN13("0036000291452", digit));
  EXPECT_TRUE(D::validaGTIN14("00036000291452", digit));
}

TEST(ValidaGTIN, SemGtinIsValidAndLeavesTheDigitAlone) {
  for (const std::string code : {"SEM GTIN", "sem gtin", "Sem Gtin"}) {
    for (auto validate : {D::validaGTIN8, D::validaGTIN12, D::validaGTIN13, D::validaGTIN14}) {
      int digit = 42;
      EXPECT_TRUE(validate(code, digit)) << code;
      EXPECT_EQ(digit, 42) << code;
    }
  }
  int digit = 42;
  EXPECT_FALSE(D::validaGTIN13("SEM  GTIN", digit));
  EXPECT_NE(digit, 42);
}

TEST(ValidaGTIN, PositionsAreCharactersAndEveryOneButTheLastIsSummed) {
  int digit = -1;
  // A character that is not a digit still takes its position.
  EXPECT_TRUE(D::validaGTIN8("12-45679", digit));
  EXPECT_EQ(digit, 9);
  // Longer than n: judged on the n-th character, all but the last summed.
  EXPECT_TRUE(D::validaGTIN8("963850725", digit));
  EXPECT_EQ(digit, 2);
  EXPECT_FALSE(D::validaGTIN8("963850745", digit));
  EXPECT_TRUE(D::validaGTIN13("400638133393577", digit));
  EXPECT_EQ(digit, 5);
  // Shorter than n: there is no check-digit position, so it is invalid, and
  // the digit computed from what is there is still handed back.
  EXPECT_FALSE(D::validaGTIN13("4006", digit));
  EXPECT_EQ(digit, 6);
  EXPECT_FALSE(D::validaGTIN8("", digit));
  EXPECT_EQ(digit, 0);
  EXPECT_FALSE(D::validaGTIN8("9638507ç", digit));  // the eighth character is "ç"
  EXPECT_EQ(digit, 4);
}

TEST(ValidaEMail, FollowsTheAddressRules) {
  const std::vector<CheckCase> cases = {
      {"", true},
      {"a@b.c", true},                       // the shortest address
      {"joao.silva@empresa.com.br", true},
      {"first_last@x.com", true},
      {"a-b@c-d.e", true},
      {"josé@exemplo.com", true},            // only the listed characters are refused
      {"a-b@-c.d", true},                    // only the first "-" is compared with "@"
      {"abc", false},                        // no "@"
      {"abc@def", false},                    // no "."
      {"@a.b", false},                       // "@" first
      {"a.b@", false},                       // "@" last
      {".a@b.c", false},                     // "." first
      {"a@bc.", false},                      // "." first and last
      {"a @b.c", false},                     // blank
      {"a@b.c ", false},
      {"a@.b", false},                       // "@" and "." side by side
      {"a.@b.c", false},
      {"a@b@c.d", false},                    // two "@"
      {"a..b@c.d", false},
      {"a@b..c", false},
      {"a@b.c.", false},                     // ends with "."
      {"_a@b.c", false},
      {"-a@b.c", false},
      {"a-@b.c", false},                     // "@" next to the first "-"
      {"a@-b.c", false},
      {"a_@b.c", false},                     // "@" next to the first "_"
      {"a@_b.c", false},
      {"ação@x.com", false},                 // "ç" is refused
  };
  for (const auto& c : cases) EXPECT_EQ(D::validaEMail(c.text), c.expected) << c.text;
}

TEST(ValidaEMail, EveryListedCharacterMakesAnOtherwiseGoodAddressInvalid) {
  const std::vector<std::string> forbidden = {
      "!", "#", "$", "%", "¨", "&", "*", "(", ")", "+", "=", "§", "¬", "¢", "¹", "²", "³", "£", "´", "`",
      "ç", "Ç", ",", ";", ":", "<", ">", "~", "^", "?", "/", "|", "[", "]", "{", "}", "º", "ª", "°"};
  ASSERT_EQ(forbidden.size(), 39u);
  for (const auto& f : forbidden) {
    EXPECT_FALSE(D::validaEMail("nome" + f + "x@empresa.com")) << f;
    EXPECT_FALSE(D::validaEMail("nome@empresa.com" + f)) << f;
  }
  // Refused characters and later rules together are still invalid.
  EXPECT_FALSE(D::validaEMail("a!b@c@d.e"));
  EXPECT_FALSE(D::validaEMail("_a+b@c.d"));
}

TEST(ValidaPlacaVeiculo, OlderAndNewerPatterns) {
  const std::vector<CheckCase> cases = {
      {"ABC-1234", true}, {"ABC1234", true}, {"ABC1D23", true}, {"ABC-1D23", true},
      {"A-B-C-1-2-3-4", true}, {"ABC1234-", true},
      {"abc1234", false}, {"ABC12345", false}, {"ABC123", false}, {"ABCD123", false},
      {"ABC 1234", false}, {"ABC1d23", false}, {"ABC1DD3", false}, {"1BC1234", false},
      {"ÁBC1234", false}, {"ABC12ç4", false}, {"", false}, {"-------", false},
  };
  for (const auto& c : cases) EXPECT_EQ(D::validaPlacaVeiculo(c.text), c.expected) << c.text;
}

TEST(Masks, PlaceExactlyTheRightNumberOfDigits) {
  EXPECT_EQ(D::cnpjCriaMascara("11222333000181"), "11.222.333/0001-81");
  EXPECT_EQ(D::cnpjCriaMascara("11.222.333/0001-81"), "11.222.333/0001-81");
  EXPECT_EQ(D::cnpjCriaMascara("CNPJ 11222333 0001 81"), "11.222.333/0001-81");
  EXPECT_EQ(D::cnpjCriaMascara("1122233300018"), "");
  EXPECT_EQ(D::cnpjCriaMascara("112223330001811"), "");
  EXPECT_EQ(D::cnpjCriaMascara(""), "");

  EXPECT_EQ(D::mascaraCnpj("11222333000181"), "11.222.333/0001-81");
  EXPECT_EQ(D::mascaraCnpj("1122233300018"), "1122233300018");
  EXPECT_EQ(D::mascaraCnpj("11.222.333/0001-8"), "11.222.333/0001-8");
  EXPECT_EQ(D::mascaraCnpj(""), "");

  EXPECT_EQ(D::ncmCriaMascara("22030000"), "2203.00.00");
  EXPECT_EQ(D::ncmCriaMascara("2203.00.00"), "2203.00.00");
  EXPECT_EQ(D::ncmCriaMascara("2203000"), "");
  EXPECT_EQ(D::ncmCriaMascara(""), "");

  EXPECT_EQ(D::cestCriaMascara("0300100"), "03.001.00");
  EXPECT_EQ(D::cestCriaMascara("03.001.00"), "03.001.00");
  EXPECT_EQ(D::cestCriaMascara("03001000"), "");
  EXPECT_EQ(D::cestCriaMascara(""), "");
}

TEST(DocumentRules, BadInputNeverCrashes) {
  const std::vector<std::string> inputs = {
      "", "P", "\xFF\xFE\xC3", "٣٤٥", "ção", std::string(100000, '9'), std::string(100000, '@'),
      std::string("1\0" "2", 3), std::string(50000, '.') + "a@b.c",
  };
  for (const auto& text : inputs) {
    int digit = -1;
    D::validaCPF(text);
    D::validaCNPJ(text);
    D::validaGTIN8(text, digit);
    D::validaGTIN12(text, digit);
    D::validaGTIN13(text, digit);
    D::validaGTIN14(text, digit);
    EXPECT_GE(digit, 0);
    EXPECT_LE(digit, 9);
    D::validaEMail(text);
    EXPECT_FALSE(D::validaPlacaVeiculo(text));
    D::cnpjCriaMascara(text);
    D::mascaraCnpj(text);
    D::ncmCriaMascara(text);
    D::cestCriaMascara(text);
  }
  EXPECT_FALSE(D::validaCPF(std::string(100000, '9')));   // eleven equal digits first
  EXPECT_TRUE(D::validaCPF("52998224725" + std::string(100000, '9')));
  EXPECT_FALSE(D::validaEMail(std::string(50000, '.') + "a@b.c"));
}

} // namespace
} // namespace vt::rules
