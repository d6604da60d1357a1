#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "rules/state_registration.h"

namespace vt::rules {
namespace {

bool valid(std::string_view number, std::string_view uf) { return StateRegistrationRules::validaIE(number, uf); }

// A valid number of the state and the same number with one digit changed.
struct StateCase {
  std::string uf;
  std::string validNumber;
  std::string mutated;
};

void expectCases(const std::vector<StateCase>& cases) {
  for (const auto& c : cases) {
    EXPECT_TRUE(valid(c.validNumber, c.uf)) << c.uf << " " << c.validNumber;
    EXPECT_FALSE(valid(c.mutated, c.uf)) << c.uf << " " << c.mutated;
  }
}

// The examples the state tax offices publish with their rules, as typed with
// their punctuation, each with one digit changed.
TEST(ValidaIE, PublishedExamplesOfEveryState) {
  expectCases({
      {"AC", "01.004.823/001-12", "01.104.823/001-12"},
      {"AL", "24000004-8", "24100004-8"},
      {"AP", "030123459", "031123459"},
      {"AM", "04.145.871-0", "04.045.871-0"},
      {"BA", "123456-63", "120456-63"},
      {"BA", "612345-57", "610345-57"},
      {"BA", "1000003-06", "1010003-06"},
      {"CE", "06000001-5", "06100001-5"},
      {"DF", "07.300.001.001-09", "07.300.001.001-19"},
      {"ES", "99999999-0", "99099999-0"},
      {"GO", "10.987.654-7", "10.087.654-7"},
      {"MA", "12000038-5", "12100038-5"},
      {"MT", "0013000001-9", "0013000002-9"},
      {"MS", "28311594-7", "28011594-7"},
      {"MG", "062.307.904/0081", "060.307.904/0081"},
      {"PA", "15-999999-5", "15-099999-5"},
      {"PR", "123.45678-50", "120.45678-50"},
      {"PE", "0321418-40", "0301418-40"},
      {"PE", "18.1.001.0000004-9", "18.1.001.0000014-9"},
      {"RJ", "99.999.99-3", "99.099.99-3"},
      {"RN", "20.040.040-1", "20.140.040-1"},
      {"RN", "20.0.040.040-0", "20.1.040.040-0"},
      {"RS", "224/3658792", "220/3658792"},
      {"RO", "101.62521-3", "101.02521-3"},
      {"RO", "0000000062521-3", "0000000062522-3"},
      {"RR", "24006628-1", "24106628-1"},
      {"SC", "251.040.852", "250.040.852"},
      {"SP", "110.042.490.114", "111.042.490.114"},
      {"SP", "P-01100424.3/002", "P-01000424.3/002"},
      {"SE", "27123456-3", "27023456-3"},
      {"TO", "29.01.022783-6", "29.01.022784-6"},
  });
}

// Further numbers per state, their check digits worked out from the state's
// weights by hand, covering the lengths the published examples leave out.
TEST(ValidaIE, WorkedNumbersOfEveryStateAndLength) {
  expectCases({
      {"AC", "018988946", "018988956"},           // 9 digits
      {"AC", "0139832853242", "0139832853342"},   // 13 digits
      {"AL", "249178311", "249178321"},
      {"AP", "039211444", "039211454"},
      {"AM", "186849451", "186849461"},
      {"BA", "812857928", "812857028"},
      {"BA", "25649563", "25649663"},
      {"CE", "012272574", "012272584"},
      {"DF", "0721144187709", "0721144187809"},
      {"DF", "0872456256103", "0872456256203"},
      {"ES", "723421188", "723421198"},
      {"GO", "108394891", "108394801"},
      {"GO", "114377278", "114377288"},
      {"GO", "274155141", "274155151"},
      {"MA", "123721342", "123721352"},
      {"MT", "85165722249", "85165722259"},
      {"MT", "416683835", "416683845"},           // 9 digits, filled to 11
      {"MS", "287335445", "287335455"},
      {"MG", "4394782712255", "4394782712355"},
      {"PA", "151954755", "151954765"},
      {"PB", "167859323", "167859333"},
      {"PR", "3489254408", "3489254508"},
      {"PE", "125784104", "125784204"},
      {"PE", "18135693263869", "18135693263879"},
      {"PI", "199311862", "199311872"},
      {"RJ", "75112823", "75112833"},
      {"RJ", "85632280", "85632290"},
      {"RN", "209613661", "209613671"},
      {"RN", "2028271817", "2028271827"},
      {"RS", "7712222577", "7712222587"},
      {"RO", "678889296", "678889206"},
      {"RO", "91528142885167", "91528142885177"},
      {"RR", "245349360", "245349370"},
      {"SC", "884675475", "884675485"},
      {"SE", "447464337", "447464347"},
      {"SP", "861253280852", "861253280952"},
      {"SP", "P477986864215", "P477986865215"},
      {"TO", "29011565131", "29011565141"},       // 11 digits
      {"TO", "784154317", "784154327"},           // any other length: 9 digits
  });
}

// Remainders that give 10 or 11 are replaced per state: 0 by default, 1 where
// the state says so.
TEST(ValidaIE, ComputedTenAndElevenFollowTheStateReplacements) {
  expectCases({
      {"PE", "18100100000031", "18100100000030"},  // 14 digits: 11 becomes 1
      {"RO", "101000001", "101000000"},            // 9 digits: 11 becomes 1
      {"CE", "060000015", "060000016"},
      {"AL", "240000048", "240000049"},            // type BD: sum times 10
      {"RR", "240066281", "240066282"},            // modulus 9, the remainder itself
  });
}

TEST(ValidaIE, IsentoIsValidForAnyStateCode) {
  for (const std::string word : {"ISENTO", "isento", " Isento ", "\tISENTO\r\n"})
    for (const std::string uf : {"SP", "", "EX", "XX", "sp"}) EXPECT_TRUE(valid(word, uf)) << word << "/" << uf;
  EXPECT_FALSE(valid("ISENTOS", "SP"));
  EXPECT_FALSE(valid("I SENTO", "SP"));
}

TEST(ValidaIE, OnlyTheListedUpperCaseCodesHaveRules) {
  EXPECT_TRUE(valid("24000004-8", "AL"));
  for (const std::string uf : {"al", "Al", "", "XX", "EX", ",", "AL,", ",AL", "A", "ALA", "AC,AL"})
    EXPECT_FALSE(valid("24000004-8", uf)) << uf;
  EXPECT_FALSE(valid("0000000000000", "EX"));
}

TEST(ValidaIE, PunctuationIsIgnored) {
  EXPECT_TRUE(valid("110042490114", "SP"));
  EXPECT_TRUE(valid("110/042-490.114", "SP"));
  EXPECT_TRUE(valid("  110 042 490 114  ", "SP"));
  EXPECT_TRUE(valid("ie: 0623079040081", "MG"));
}

TEST(ValidaIE, ShorterNumbersAreLeftFilledLongerOnesAreInvalid) {
  EXPECT_TRUE(valid("60000015", "CE"));      // 060000015
  EXPECT_TRUE(valid("4145871-0", "AM"));     // 041458710
  EXPECT_TRUE(valid("130000019", "MT"));     // 00130000019
  EXPECT_FALSE(valid("0999999990", "ES"));   // ten digits for a nine-digit state
  EXPECT_FALSE(valid("00110042490114", "SP"));
}

TEST(ValidaIE, BahiaChoosesTheModulusByTheSecondDigitOfTheFilledNumber) {
  // 8 digits filled to 9: 012345663 (second digit 1: modulus 10) and
  // 061234557 (second digit 6: modulus 11). Reading the second digit of the
  // unfilled 61234557 would pick modulus 10 and reject it.
  EXPECT_TRUE(valid("12345663", "BA"));
  EXPECT_TRUE(valid("012345663", "BA"));
  EXPECT_TRUE(valid("61234557", "BA"));
  EXPECT_FALSE(valid("61234538", "BA"));     // its digits under modulus 10
  EXPECT_FALSE(valid("12345660", "BA"));     // 12345663's digits under modulus 11
  EXPECT_TRUE(valid("160000005", "BA"));     // 9 digits, second digit 6: modulus 11
  EXPECT_FALSE(valid("160000003", "BA"));    // its digits under modulus 10
}

TEST(ValidaIE, GoiasPrefixesAndItsValueTenRange) {
  // Right check digit by the weights, but a prefix other than 10, 11, 20-29.
  EXPECT_FALSE(valid("123456789", "GO"));
  EXPECT_FALSE(valid("193456788", "GO"));
  EXPECT_TRUE(valid("123456789", "SC"));      // the same weights without the prefix test
  // A computed 10 is 1 from 101031050 to 101199979, else 0.
  EXPECT_TRUE(valid("101031051", "GO"));
  EXPECT_FALSE(valid("101031050", "GO"));
  EXPECT_TRUE(valid("101200030", "GO"));      // above the range
  EXPECT_FALSE(valid("101200031", "GO"));
  EXPECT_TRUE(valid("101030100", "GO"));      // below the range
  EXPECT_FALSE(valid("101030101", "GO"));
}

TEST(ValidaIE, AmapaRangesChangeTheCalculation) {
  expectCases({
      {"AP", "030170007", "030170008"},  // last of the first range: p = 5
      {"AP", "030000080", "030000081"},  // first range, a computed 10 is 0
      {"AP", "030170011", "030170017"},  // first of the second range: p = 9
      {"AP", "030170071", "030170070"},  // second range: a computed 11 is 1
      {"AP", "030190225", "030190226"},  // last of the second range
      {"AP", "030190231", "030190232"},  // from 030190230 on: no addition
      {"AP", "030190240", "030190241"},
  });
  EXPECT_FALSE(valid("03012345", "AP"));     // 8 digits: no rule for AP
  EXPECT_FALSE(valid("0301234590", "AP"));
}

TEST(ValidaIE, SaoPauloRuralProducerPattern) {
  EXPECT_TRUE(valid("P-01100424.3/002", "SP"));
  EXPECT_TRUE(valid("P011004243002", "SP"));
  // Without the "P" the same digits are an ordinary 12-digit number, whose
  // second check digit does not fit.
  EXPECT_FALSE(valid("01100424.3/002", "SP"));
  // A lower-case "p" is no producer mark: the digits are ordinary.
  EXPECT_FALSE(valid("p-01100424.3/002", "SP"));
  // The rural form has a single check digit: the last three digits are free.
  EXPECT_TRUE(valid("P-01100424.3/999", "SP"));
  EXPECT_TRUE(valid("P110042490114", "SP"));
  // The "P" only counts as the first character.
  EXPECT_TRUE(valid("110.042.490.114P", "SP"));
  EXPECT_FALSE(valid("P-01100424.3/00", "SP"));
  // Other states keep the "P" too, so it spoils their numbers.
  EXPECT_FALSE(valid("P240000048", "AL"));
  EXPECT_FALSE(valid("P130000019", "MT"));
}

TEST(ValidaIE, StatesWithSeveralLengthsRejectOtherLengths) {
  struct Case {
    std::string uf, number;
  };
  const std::vector<Case> cases = {
      {"AC", "0100482300"},     {"AC", "01004823"},        {"PE", "0321418-4"},
      {"PE", "1810010000004"},  {"RN", "20040040"},        {"RN", "20004004000"},
      {"RO", "10162521"},       {"RO", "0000000062521"},   {"TO", "2901022783"},
      {"TO", "029010227836"},
  };
  for (const auto& c : cases) EXPECT_FALSE(valid(c.number, c.uf)) << c.uf << " " << c.number;
  // TO's 9-digit rule takes every length but 11, filled with zeros.
  EXPECT_TRUE(valid("10000003", "TO"));       // 010000003
  EXPECT_FALSE(valid("10000004", "TO"));
}

TEST(ValidaIE, BadInputNeverCrashes) {
  const std::string longDigits(100000, '7');
  const std::string longText = std::string(50000, '.') + "240000048" + std::string(50000, '-');
  const std::vector<std::string> numbers = {
      "", "P", "p", " ", "1", "7", "PP", "P P", "ISENT", "P-", "--", "ção", "\xFF\xFE", "٢٤٠٠٠٠٠٤٨",
      longDigits, "P" + longDigits,
  };
  for (const std::string uf : {"AC", "AL", "AP", "AM", "BA", "CE", "DF", "ES", "GO", "MA", "MT", "MS", "MG",
                               "PA", "PB", "PR", "PE", "PI", "RJ", "RN", "RS", "RO", "RR", "SC", "SP", "SE",
                               "TO", "EX", "", "São"}) {
    for (const auto& number : numbers) EXPECT_FALSE(valid(number, uf)) << uf << " [" << number.substr(0, 20) << "]";
  }
  EXPECT_TRUE(valid(longText, "AL"));  // punctuation of any length is ignored
  EXPECT_TRUE(valid(std::string("24\0" "0000048", 10), "AL"));  // a NUL byte is punctuation too
  EXPECT_FALSE(valid("240000048", std::string(100000, 'A')));
}

} // namespace
} // namespace vt::rules
