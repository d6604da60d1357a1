#pragma once
// The state registration rules as data: the weight rows and one rule per
// state (two or three where a state issues numbers of several lengths), and
// the reading of the rules' patterns at compile time. The validation
// (state_registration.cpp) compiles this table into per-position masks and
// weights; the tests' reference walks it as it stands, so that the two
// forms of the algorithm are checked against each other, while the values
// of the table are checked by every state's published examples.
#include <cstddef>
#include <string_view>

namespace vt::rules::ie_table {

// ---------------------------------------------------------------------------
// The data: weight rows and one rule per state (two or three where a state
// issues numbers of several lengths). The algorithm below only walks them.
// ---------------------------------------------------------------------------

inline constexpr int kMaxLength = 14;

// kWeights[row][j]: column j = 1 weighs the last character of the number,
// j = 2 the one before it, and so on to the left. Row 0 means "no check digit".
inline constexpr int kWeights[15][kMaxLength + 1] = {
    //   j=1  2  3  4  5  6  7  8  9 10 11 12 13 14
    {0,  0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    {0,  0, 2, 3, 4, 5, 6, 7, 8, 9, 2, 3, 4, 5, 6},   // 1
    {0,  0, 0, 2, 3, 4, 5, 6, 7, 8, 9, 2, 3, 4, 5},   // 2
    {0,  2, 0, 3, 4, 5, 6, 7, 8, 9, 2, 3, 4, 5, 6},   // 3
    {0,  0, 2, 3, 4, 5, 6, 0, 0, 0, 0, 0, 0, 0, 0},   // 4
    {0,  0, 8, 7, 6, 5, 4, 3, 2, 1, 0, 0, 0, 0, 0},   // 5
    {0,  0, 2, 3, 4, 5, 6, 7, 0, 0, 8, 9, 0, 0, 0},   // 6
    {0,  0, 2, 3, 4, 5, 6, 7, 8, 9, 1, 2, 3, 4, 5},   // 7
    {0,  0, 2, 3, 4, 5, 6, 7, 2, 3, 4, 5, 6, 7, 8},   // 8
    {0,  0, 0, 2, 3, 4, 5, 6, 7, 2, 3, 4, 5, 6, 7},   // 9
    {0,  0, 0, 2, 1, 2, 1, 2, 1, 2, 1, 1, 2, 1, 0},   // 10
    {0,  0, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 2, 3, 0}, // 11
    {0,  0, 0, 0, 0, 10, 8, 7, 6, 5, 4, 3, 1, 0, 0},  // 12
    {0,  0, 2, 3, 4, 5, 6, 7, 8, 9, 10, 2, 3, 0, 0},  // 13
    {0,  0, 0, 2, 3, 4, 5, 6, 7, 8, 3, 4, 5, 6, 7},   // 14
};

// Which numbers a rule applies to.
enum class When {
  Always,       // every number of the state
  Digits,       // a reduced number of exactly `digits` characters
  PrefixP,      // a reduced number that begins with "P"
  NoPrefixP,    // a reduced number that does not
  OtherLength,  // whatever the earlier rules of the state did not take
};

// The few rules that a pattern and the weights cannot say.
enum class Special {
  None,
  ApRanges,          // 030170010..030190229: p = 1 (value 11 = 1); from 030190230: type E
  BaFillAndModulus,  // left-fill to 9; modulus 10 when the second digit is 0-5 or 8, else 11
  GoPrefixAndRange,  // first two digits 10, 11 or 20-29; 101031050..101199979: value 10 = 1
  MtFill,            // a 9-digit number is left-filled to 11
};

// Calculation of one check digit. Type letters: A adds the tens of every
// product to the sum, B multiplies the sum by 10, C adds 5 + 4 * p (p being the
// value 11); only the first of A, B, C present applies. E: the digit is the
// modulus minus the remainder, else the remainder itself. D only marks a type
// without E.
struct Calc {
  std::string_view type;
  int modulus;
  int row;
};
inline constexpr Calc kNoCheck{"", 0, 0};
inline constexpr int kModulusByDigit = 0;  // BA: chosen from the number

// A pattern is a list of positions, left to right, separated by blanks: a
// fixed digit, "d" (any digit; "d*7" for seven of them), a set "[1,7,8,9]", a
// range "[1-9]", "X" and "Y" (the first and second check digits) or the
// letter "P".
struct StateRule {
  std::string_view uf;
  When when;
  int digits;  // for When::Digits
  int n;       // the length the number is filled to
  std::string_view pattern;
  Calc first;
  Calc second;
  int value10;  // replaces a computed 10
  int value11;  // replaces a computed 11; also the p of type C
  Special special;
};

inline constexpr StateRule kRules[] = {
    // uf   when                 n   pattern                        first             second            v10 v11 special
    {"AC", When::Digits, 9,      9,  "0 1 d*6 X",                   {"E", 11, 1},     kNoCheck,         0, 0, Special::None},
    {"AC", When::Digits, 13,     13, "0 1 d*9 X Y",                 {"E", 11, 2},     {"E", 11, 1},     0, 0, Special::None},
    {"AL", When::Always, 0,      9,  "2 4 d*6 X",                   {"BD", 11, 1},    kNoCheck,         0, 0, Special::None},
    {"AP", When::Digits, 9,      9,  "0 3 d*6 X",                   {"CE", 11, 1},    kNoCheck,         0, 0, Special::ApRanges},
    {"AM", When::Always, 0,      9,  "d*8 X",                       {"E", 11, 1},     kNoCheck,         0, 0, Special::None},
    {"BA", When::Always, 0,      9,  "d*7 Y X",                     {"E", kModulusByDigit, 2}, {"E", kModulusByDigit, 3}, 0, 0, Special::BaFillAndModulus},
    {"CE", When::Always, 0,      9,  "0 d*7 X",                     {"E", 11, 1},     kNoCheck,         0, 0, Special::None},
    {"DF", When::Always, 0,      13, "0 [7,8] d*9 X Y",             {"E", 11, 2},     {"E", 11, 1},     0, 0, Special::None},
    {"ES", When::Always, 0,      9,  "d*8 X",                       {"E", 11, 1},     kNoCheck,         0, 0, Special::None},
    {"GO", When::Always, 0,      9,  "[1,2] d*7 X",                 {"E", 11, 1},     kNoCheck,         0, 0, Special::GoPrefixAndRange},
    {"MA", When::Always, 0,      9,  "1 2 d*6 X",                   {"E", 11, 1},     kNoCheck,         0, 0, Special::None},
    {"MT", When::Always, 0,      11, "d*10 X",                      {"E", 11, 1},     kNoCheck,         0, 0, Special::MtFill},
    {"MS", When::Always, 0,      9,  "2 8 d*6 X",                   {"E", 11, 1},     kNoCheck,         0, 0, Special::None},
    {"MG", When::Always, 0,      13, "d*11 X Y",                    {"AE", 10, 10},   {"E", 11, 11},    0, 0, Special::None},
    {"PA", When::Always, 0,      9,  "1 5 d*6 X",                   {"E", 11, 1},     kNoCheck,         0, 0, Special::None},
    {"PB", When::Always, 0,      9,  "1 6 d*6 X",                   {"E", 11, 1},     kNoCheck,         0, 0, Special::None},
    {"PR", When::Always, 0,      10, "d*8 X Y",                     {"E", 11, 9},     {"E", 11, 8},     0, 0, Special::None},
    {"PE", When::Digits, 14,     14, "1 8 [1-9] d*10 X",            {"E", 11, 7},     kNoCheck,         0, 1, Special::None},
    {"PE", When::Digits, 9,      9,  "d*7 X Y",                     {"E", 11, 14},    {"E", 11, 7},     0, 0, Special::None},
    {"PI", When::Always, 0,      9,  "1 9 d*6 X",                   {"E", 11, 1},     kNoCheck,         0, 0, Special::None},
    {"RJ", When::Always, 0,      8,  "[1,7,8,9] d*6 X",             {"E", 11, 8},     kNoCheck,         0, 0, Special::None},
    {"RN", When::Digits, 9,      9,  "2 0 d*6 X",                   {"BD", 11, 1},    kNoCheck,         0, 0, Special::None},
    {"RN", When::Digits, 10,     10, "2 0 d*7 X",                   {"BD", 11, 11},   kNoCheck,         0, 0, Special::None},
    {"RS", When::Always, 0,      10, "d*9 X",                       {"E", 11, 1},     kNoCheck,         0, 0, Special::None},
    {"RO", When::Digits, 9,      9,  "[1-9] d*7 X",                 {"E", 11, 4},     kNoCheck,         0, 1, Special::None},
    {"RO", When::Digits, 14,     14, "d*13 X",                      {"E", 11, 1},     kNoCheck,         0, 1, Special::None},
    {"RR", When::Always, 0,      9,  "2 4 d*6 X",                   {"D", 9, 5},      kNoCheck,         0, 0, Special::None},
    {"SC", When::Always, 0,      9,  "d*8 X",                       {"E", 11, 1},     kNoCheck,         0, 0, Special::None},
    {"SE", When::Always, 0,      9,  "d*8 X",                       {"E", 11, 1},     kNoCheck,         0, 0, Special::None},
    {"SP", When::NoPrefixP, 0,   12, "d*8 X d d Y",                 {"D", 11, 12},    {"D", 11, 13},    0, 0, Special::None},
    {"SP", When::PrefixP, 0,     13, "P d*8 X d d d",               {"D", 11, 12},    kNoCheck,         0, 0, Special::None},
    {"TO", When::Digits, 11,     11, "2 9 [0,9] [1,2,3,9] d*6 X",   {"E", 11, 6},     kNoCheck,         0, 0, Special::None},
    {"TO", When::OtherLength, 0, 9,  "d*8 X",                       {"E", 11, 1},     kNoCheck,         0, 0, Special::None},
};

// The codes the suite accepts; "EX" (abroad) has no rule, so its numbers are
// all invalid.
inline constexpr std::string_view kStates = ",AC,AL,AP,AM,BA,CE,DF,ES,GO,MA,MT,MS,MG,PA,PB,PR,PE,PI,RJ,RN,RS,RO,RR,SC,SP,SE,TO,EX,";

// ---------------------------------------------------------------------------
// Pattern reading, usable at compile time so that every rule's pattern is
// checked against its length below.
// ---------------------------------------------------------------------------

// Calls visit(token) for every blank-separated token of the pattern.
template <typename Visit>
constexpr bool forEachToken(std::string_view pattern, Visit visit) {
  std::size_t pos = 0;
  while (pos < pattern.size()) {
    if (pattern[pos] == ' ') {
      ++pos;
      continue;
    }
    std::size_t end = pattern.find(' ', pos);
    if (end == std::string_view::npos) end = pattern.size();
    if (!visit(pattern.substr(pos, end - pos))) return false;
    pos = end;
  }
  return true;
}

// How many positions a token covers: "d*7" seven, any other token one.
constexpr int tokenWidth(std::string_view token) {
  if (token.size() > 2 && token[0] == 'd' && token[1] == '*') {
    int count = 0;
    for (char c : token.substr(2)) count = count * 10 + (c - '0');
    return count;
  }
  return 1;
}

constexpr int patternLength(std::string_view pattern) {
  int length = 0;
  forEachToken(pattern, [&](std::string_view token) {
    length += tokenWidth(token);
    return true;
  });
  return length;
}

constexpr bool hasToken(std::string_view pattern, std::string_view wanted) {
  return !forEachToken(pattern, [&](std::string_view token) { return token != wanted; });
}

// Every pattern covers exactly its state's length, holds the first check
// digit, and holds the second one exactly when the rule computes it.
constexpr bool everyPatternFitsItsRule() {
  for (const StateRule& rule : kRules) {
    if (patternLength(rule.pattern) != rule.n || rule.n > kMaxLength) return false;
    if (!hasToken(rule.pattern, "X")) return false;
    if (hasToken(rule.pattern, "Y") != (rule.second.row >= 1)) return false;
  }
  return true;
}
static_assert(everyPatternFitsItsRule(), "a state's pattern does not fit its rule");

} // namespace vt::rules::ie_table
