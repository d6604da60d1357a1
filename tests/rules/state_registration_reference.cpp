// The rule as it was first written: it reads the states' patterns and calls
// at every check. Kept beside the tests as the reference the compiled rule of
// rules/state_registration.cpp must agree with, input for input.
#include "tests/rules/state_registration_reference.h"

#include <array>
#include <cstddef>

#include "utils/text.h"

namespace vt::rules::reference {

namespace {

// ---------------------------------------------------------------------------
// The data: weight rows and one rule per state (two or three where a state
// issues numbers of several lengths). The algorithm below only walks them.
// ---------------------------------------------------------------------------

constexpr int kMaxLength = 14;

// kWeights[row][j]: column j = 1 weighs the last character of the number,
// j = 2 the one before it, and so on to the left. Row 0 means "no check digit".
constexpr int kWeights[15][kMaxLength + 1] = {
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
constexpr Calc kNoCheck{"", 0, 0};
constexpr int kModulusByDigit = 0;  // BA: chosen from the number

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

constexpr StateRule kRules[] = {
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
constexpr std::string_view kStates = ",AC,AL,AP,AM,BA,CE,DF,ES,GO,MA,MT,MS,MG,PA,PB,PR,PE,PI,RJ,RN,RS,RO,RR,SC,SP,SE,TO,EX,";

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

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Does one-position token accept c? "[...]" is a set ("1,7,8,9") or a range ("1-9").
bool tokenAccepts(std::string_view token, char c) {
  if (token == "d" || token == "X" || token == "Y") return isDigit(c);
  if (token.front() != '[') return c == token.front();  // a fixed digit or "P"
  if (!isDigit(c)) return false;
  const std::string_view inside = token.substr(1, token.size() - 2);
  if (inside.size() == 3 && inside[1] == '-') return c >= inside[0] && c <= inside[2];
  return inside.find(c) != std::string_view::npos;
}

// ---------------------------------------------------------------------------
// The algorithm.
// ---------------------------------------------------------------------------

// The number reduced to its digits (with a leading "P" kept), in place.
struct Number {
  std::array<char, kMaxLength> chars{};
  int length = 0;

  std::string_view text() const { return {chars.data(), static_cast<std::size_t>(length)}; }
  char operator[](int i) const { return chars[static_cast<std::size_t>(i)]; }

  void leftFill(int n) {
    if (length >= n) return;
    const int shift = n - length;
    for (int i = length - 1; i >= 0; --i) chars[static_cast<std::size_t>(i + shift)] = chars[static_cast<std::size_t>(i)];
    for (int i = 0; i < shift; ++i) chars[static_cast<std::size_t>(i)] = '0';
    length = n;
  }
};

bool isIsento(std::string_view text) {
  constexpr std::string_view kIsento = "ISENTO";
  text = utils::trim(text);
  if (text.size() != kIsento.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c != kIsento[i]) return false;
  }
  return true;
}

bool isKnownState(std::string_view uf) {
  if (uf.empty()) return false;
  // ",", uf, "," must occur in the list.
  for (std::size_t at = kStates.find(uf); at != std::string_view::npos; at = kStates.find(uf, at + 1))
    if (at > 0 && at + uf.size() < kStates.size() && kStates[at - 1] == ',' && kStates[at + uf.size()] == ',')
      return true;
  return false;
}

// Reduces the typed number to its digits, keeping an upper-case "P" that
// stands first. Leading and trailing blanks are ignored before looking for
// the "P", as they are for "ISENTO". False when the number cannot be valid
// for any state: fewer than two characters, or more than any state's length
// (a number is never shortened).
bool reduce(std::string_view typed, Number& number) {
  typed = utils::trim(typed);
  std::size_t start = 0;
  if (!typed.empty() && typed.front() == 'P') {
    number.chars[0] = 'P';
    number.length = 1;
    start = 1;
  }
  for (std::size_t i = start; i < typed.size(); ++i) {
    if (!isDigit(typed[i])) continue;
    if (number.length == kMaxLength) return false;
    number.chars[static_cast<std::size_t>(number.length++)] = typed[i];
  }
  return number.length >= 2;
}

bool ruleApplies(const StateRule& rule, const Number& number) {
  switch (rule.when) {
    case When::Always: return true;
    case When::Digits: return number.length == rule.digits;
    case When::PrefixP: return number[0] == 'P';
    case When::NoPrefixP: return number[0] != 'P';
    case When::OtherLength: return true;  // the state's earlier rules did not apply
  }
  return false;
}

const StateRule* findRule(std::string_view uf, const Number& number) {
  for (const StateRule& rule : kRules)
    if (rule.uf == uf && ruleApplies(rule, number)) return &rule;
  return nullptr;
}

bool inRange(std::string_view text, std::string_view from, std::string_view to) {
  return text >= from && text <= to;
}

// Applies the state's special steps to its copy of the rule; false when the
// number is invalid at once.
bool applySpecial(StateRule& rule, Number& number) {
  switch (rule.special) {
    case Special::None:
      return true;
    case Special::ApRanges:
      if (inRange(number.text(), "030170010", "030190229"))
        rule.value11 = 1;
      else if (number.text() >= "030190230")
        rule.first.type = "E";
      return true;
    case Special::BaFillAndModulus: {
      number.leftFill(9);
      const char second = number[1];
      const int m = (second <= '5' || second == '8') ? 10 : 11;
      rule.first.modulus = m;
      rule.second.modulus = m;
      return true;
    }
    case Special::GoPrefixAndRange: {
      const std::string_view prefix = number.text().substr(0, 2);
      if (prefix != "10" && prefix != "11" && prefix[0] != '2') return false;
      if (inRange(number.text(), "101031050", "101199979")) rule.value10 = 1;
      return true;
    }
    case Special::MtFill:
      if (number.length == 9) number.leftFill(11);
      return true;
  }
  return true;
}

// Checks the number against the pattern; records where X and Y stand.
bool matchesPattern(std::string_view pattern, const Number& number, int& xAt, int& yAt) {
  int pos = 0;
  return forEachToken(pattern, [&](std::string_view token) {
    const int width = tokenWidth(token);
    const std::string_view single = width > 1 ? std::string_view("d") : token;
    for (int k = 0; k < width; ++k, ++pos) {
      if (!tokenAccepts(single, number[pos])) return false;
      if (token == "X") xAt = pos;
      if (token == "Y") yAt = pos;
    }
    return true;
  });
}

int checkDigit(const Number& number, const Calc& calc, int value10, int value11) {
  const bool a = calc.type.find('A') != std::string_view::npos;
  const bool b = calc.type.find('B') != std::string_view::npos;
  const bool c = calc.type.find('C') != std::string_view::npos;
  const bool e = calc.type.find('E') != std::string_view::npos;
  long sum = 0;
  for (int i = 0; i < number.length; ++i) {
    if (!isDigit(number[i])) continue;  // the "P" of a rural producer
    const int product = (number[i] - '0') * kWeights[calc.row][number.length - i];
    sum += product;
    if (a) sum += product / 10;
  }
  if (b && !a)
    sum *= 10;
  else if (c && !a && !b)
    sum += 5 + 4 * value11;
  const int remainder = static_cast<int>(sum % calc.modulus);
  int digit = e ? calc.modulus - remainder : remainder;
  if (digit == 10) digit = value10;
  if (digit == 11) digit = value11;
  return digit;
}

} // namespace

bool validaIE(std::string_view AInscEst, std::string_view AUf) {
  if (isIsento(AInscEst)) return true;
  if (!isKnownState(AUf)) return false;

  Number number;
  if (!reduce(AInscEst, number)) return false;

  const StateRule* found = findRule(AUf, number);
  if (!found) return false;  // "EX", or a length none of the state's rules takes
  StateRule rule = *found;
  if (!applySpecial(rule, number)) return false;

  number.leftFill(rule.n);
  if (number.length != rule.n) return false;

  int xAt = -1, yAt = -1;
  if (!matchesPattern(rule.pattern, number, xAt, yAt)) return false;

  if (checkDigit(number, rule.first, rule.value10, rule.value11) != number[xAt] - '0') return false;
  if (rule.second.row >= 1 && checkDigit(number, rule.second, rule.value10, rule.value11) != number[yAt] - '0')
    return false;
  return true;
}

} // namespace vt::rules::reference
