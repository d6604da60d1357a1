#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "rules/state_registration.h"
#include "tests/rules/state_registration_reference.h"

namespace vt::rules {
namespace {

// The beginnings a state's numbers carry (its fixed and restricted leading
// digits), so that generated numbers reach the check digits instead of all
// failing on the pattern. Digits of no state are generated too.
const std::map<std::string, std::vector<std::string>> kLeads = {
    {"AC", {"01", "010", "02"}},       {"AL", {"24", "25"}},        {"AP", {"03", "0301", "03017", "03019", "04"}},
    {"AM", {"", "0"}},                 {"BA", {"", "0", "6", "1"}}, {"CE", {"0", "1"}},
    {"DF", {"07", "08", "09"}},        {"ES", {""}},                {"GO", {"10", "11", "20", "29", "12", "1010", "1011"}},
    {"MA", {"12", "13"}},              {"MT", {"", "00"}},          {"MS", {"28", "27"}},
    {"MG", {""}},                      {"PA", {"15"}},              {"PB", {"16"}},
    {"PR", {""}},                      {"PE", {"18", "180", "181"}}, {"PI", {"19"}},
    {"RJ", {"1", "7", "8", "9", "2"}}, {"RN", {"20", "21"}},        {"RS", {""}},
    {"RO", {"", "0", "1"}},            {"RR", {"24"}},              {"SC", {""}},
    {"SP", {"", "P", "P0", "p"}},      {"SE", {""}},                {"TO", {"29", "290", "2901", "2999"}},
    {"EX", {""}},
};

// The same digits as a person might type them.
std::string formatted(const std::string& bare, std::mt19937& random) {
  static const std::vector<std::string> kPunctuation = {".", "-", "/", " ", "\t"};
  std::string out;
  for (char c : bare) {
    out += c;
    if (random() % 4 == 0) out += kPunctuation[random() % kPunctuation.size()];
  }
  if (random() % 8 == 0) out = "  " + out + " ";
  if (random() % 16 == 0) out = "IE " + out;
  return out;
}

// Every body of digits with every one and two final digits: the valid ones of
// each state are among them, with their near misses.
std::vector<std::string> generatedNumbers(const std::vector<std::string>& leads, std::mt19937& random) {
  std::vector<std::string> numbers;
  for (const std::string& lead : leads) {
    for (int length = 1; length <= 15; ++length) {
      for (int body = 0; body < 6; ++body) {
        std::string digits = lead;
        while (static_cast<int>(digits.size()) < length - 2) digits += static_cast<char>('0' + random() % 10);
        for (int last = 0; last < 100; ++last) {
          std::string number = digits;
          if (length >= 2) number += static_cast<char>('0' + last / 10);
          number += static_cast<char>('0' + last % 10);
          numbers.push_back(number);
        }
      }
    }
  }
  return numbers;
}

// The compiled rule answers exactly as the table-walking reference does, on
// numbers of every state and length, bare and typed with punctuation, on the
// codes around the list and on the texts near "ISENTO".
TEST(ValidaIEReference, CompiledRuleAgreesWithTheReferenceOnGeneratedNumbers) {
  std::mt19937 random(20240611);
  std::map<std::string, int> validPerState;
  long checked = 0;
  auto compare = [&](const std::string& number, const std::string& uf) {
    const bool expected = reference::validaIE(number, uf);
    ASSERT_EQ(StateRegistrationRules::validaIE(number, uf), expected) << "'" << number << "' " << uf;
    if (expected) ++validPerState[uf];
    ++checked;
  };
  for (const auto& [uf, leads] : kLeads) {
    for (const std::string& bare : generatedNumbers(leads, random)) {
      compare(bare, uf);
      if (random() % 4 == 0) compare(formatted(bare, random), uf);
    }
  }
  // Every state's rules were reached with valid numbers, so the agreement
  // covers the check digits and not only the refusals.
  for (const auto& [uf, leads] : kLeads)
    if (uf != "EX") {
      EXPECT_GT(validPerState[uf], 0) << uf;
    }
  EXPECT_EQ(validPerState["EX"], 0);

  // Valid numbers under the wrong codes, and the texts near the blank word.
  const std::vector<std::string> codes = {"sp", "Sp", "", "XX", "EX", "A", "SPA", "AC,AL", ",", "S", "ZZ", "@A"};
  const std::vector<std::string> texts = {"110.042.490.114", "P-01100424.3/002", "ISENTO", " isento\t", "ISENT",
                                          "ISENTOS", "I SENTO", "", " ", "P", "P1", "1", "--", "\x01P011004243002",
                                          "P 011004243002", "0\x7F" "1", "\xC3\xA9" "110042490114"};
  for (const std::string& uf : codes)
    for (const std::string& text : texts) compare(text, uf);
  for (const auto& [uf, leads] : kLeads)
    for (const std::string& text : texts) compare(text, uf);
  EXPECT_GT(checked, 100000);
}

// Random bytes of every kind, not only digits: whatever the text, the two
// answer alike.
TEST(ValidaIEReference, CompiledRuleAgreesWithTheReferenceOnRandomTexts) {
  std::mt19937 random(7);
  const std::string alphabet = "0123456789P p.-/\tISENTOisento\x01\xFF";
  for (int i = 0; i < 200000; ++i) {
    std::string text;
    const int length = static_cast<int>(random() % 20);
    for (int k = 0; k < length; ++k) text += alphabet[random() % alphabet.size()];
    for (const char* uf : {"SP", "BA", "GO", "AP", "MG", "TO"}) {
      ASSERT_EQ(StateRegistrationRules::validaIE(text, uf), reference::validaIE(text, uf)) << "'" << text << "' " << uf;
    }
  }
}

} // namespace
} // namespace vt::rules
