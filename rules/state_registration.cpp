#include "rules/state_registration.h"

#include <array>
#include <cstddef>
#include <cstdint>

#include "utils/text.h"

namespace vt::rules {

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

// ---------------------------------------------------------------------------
// The rules compiled: the patterns and weights above turned, at compile time,
// into per-position masks and weights, so that a check walks at most fourteen
// characters once and reads no text of the table.
// ---------------------------------------------------------------------------

// What a reduced number holds at a position, as one bit: the digits 0 to 9 and
// the "P" of a rural producer.
constexpr std::uint16_t kBitP = 1u << 10;
constexpr std::uint16_t kAnyDigit = 0x3FF;

constexpr std::uint16_t maskOf(std::string_view token) {
  if (token == "d" || token == "X" || token == "Y" || (token.size() > 2 && token[0] == 'd')) return kAnyDigit;
  if (token == "P") return kBitP;
  if (token.front() != '[') return static_cast<std::uint16_t>(1u << (token.front() - '0'));
  const std::string_view inside = token.substr(1, token.size() - 2);
  std::uint16_t mask = 0;
  if (inside.size() == 3 && inside[1] == '-') {
    for (char c = inside[0]; c <= inside[2]; ++c) mask = static_cast<std::uint16_t>(mask | (1u << (c - '0')));
    return mask;
  }
  for (char c : inside)
    if (c >= '0' && c <= '9') mask = static_cast<std::uint16_t>(mask | (1u << (c - '0')));
  return mask;
}

constexpr bool hasLetter(std::string_view type, char letter) { return type.find(letter) != std::string_view::npos; }

// One check digit's calculation for a number of the rule's length: the weight
// of every position (0 where the "P" stands) and the letters of its type.
struct CompiledCalc {
  std::array<std::uint8_t, kMaxLength> weight{};
  std::uint8_t modulus = 0;
  bool tens = false;      // A
  bool timesTen = false;  // B
  bool plusP = false;     // C
  bool complement = false;  // E
  bool present = false;
};

struct CompiledRule {
  std::array<std::uint16_t, kMaxLength> mask{};
  std::uint8_t n = 0;
  std::int8_t xAt = -1;
  std::int8_t yAt = -1;
  std::uint8_t value10 = 0;
  std::uint8_t value11 = 0;
  When when = When::Always;
  std::uint8_t digits = 0;
  Special special = Special::None;
  CompiledCalc first;
  CompiledCalc second;
};

constexpr CompiledCalc compileCalc(const Calc& calc, std::string_view pattern, int n) {
  CompiledCalc out;
  if (calc.row < 1) return out;
  out.present = true;
  out.modulus = static_cast<std::uint8_t>(calc.modulus);
  // Only the first of A, B, C present applies.
  out.tens = hasLetter(calc.type, 'A');
  out.timesTen = !out.tens && hasLetter(calc.type, 'B');
  out.plusP = !out.tens && !out.timesTen && hasLetter(calc.type, 'C');
  out.complement = hasLetter(calc.type, 'E');
  int pos = 0;
  forEachToken(pattern, [&](std::string_view token) {
    for (int k = 0; k < tokenWidth(token); ++k, ++pos)
      out.weight[static_cast<std::size_t>(pos)] =
          token == "P" ? 0 : static_cast<std::uint8_t>(kWeights[calc.row][n - pos]);
    return true;
  });
  return out;
}

constexpr CompiledRule compileRule(const StateRule& rule) {
  CompiledRule out;
  out.n = static_cast<std::uint8_t>(rule.n);
  out.value10 = static_cast<std::uint8_t>(rule.value10);
  out.value11 = static_cast<std::uint8_t>(rule.value11);
  out.when = rule.when;
  out.digits = static_cast<std::uint8_t>(rule.digits);
  out.special = rule.special;
  int pos = 0;
  forEachToken(rule.pattern, [&](std::string_view token) {
    for (int k = 0; k < tokenWidth(token); ++k, ++pos) {
      out.mask[static_cast<std::size_t>(pos)] = maskOf(token);
      if (token == "X") out.xAt = static_cast<std::int8_t>(pos);
      if (token == "Y") out.yAt = static_cast<std::int8_t>(pos);
    }
    return true;
  });
  out.first = compileCalc(rule.first, rule.pattern, rule.n);
  out.second = compileCalc(rule.second, rule.pattern, rule.n);
  return out;
}

constexpr std::size_t kRuleCount = sizeof(kRules) / sizeof(kRules[0]);

constexpr std::array<CompiledRule, kRuleCount> compileAll() {
  std::array<CompiledRule, kRuleCount> out{};
  for (std::size_t i = 0; i < kRuleCount; ++i) out[i] = compileRule(kRules[i]);
  return out;
}
constexpr std::array<CompiledRule, kRuleCount> kCompiled = compileAll();

// The rules of a state code: the first rule's index and how many follow it in
// kRules. A code of two upper-case letters indexes the table directly; a
// known code without rules ("EX") has count 0, as has every unknown one.
struct StateEntry {
  std::uint8_t first = 0;
  std::uint8_t count = 0;
};
constexpr int kLetters = 26;

constexpr int codeIndex(char a, char b) { return (a - 'A') * kLetters + (b - 'A'); }

constexpr std::array<StateEntry, kLetters * kLetters> indexStates() {
  std::array<StateEntry, kLetters * kLetters> out{};
  for (std::size_t i = 0; i < kRuleCount; ++i) {
    StateEntry& e = out[static_cast<std::size_t>(codeIndex(kRules[i].uf[0], kRules[i].uf[1]))];
    if (e.count == 0) e.first = static_cast<std::uint8_t>(i);
    ++e.count;
  }
  return out;
}
constexpr std::array<StateEntry, kLetters * kLetters> kStateIndex = indexStates();

// A state's rules stand together in kRules, as the index assumes; and every
// code that has rules is in the accepted list.
constexpr bool rulesOfAStateStandTogether() {
  for (std::size_t i = 0; i < kRuleCount; ++i) {
    const StateEntry e = kStateIndex[static_cast<std::size_t>(codeIndex(kRules[i].uf[0], kRules[i].uf[1]))];
    if (i < e.first || i >= static_cast<std::size_t>(e.first + e.count)) return false;
    if (kStates.find(kRules[i].uf) == std::string_view::npos) return false;
  }
  return true;
}
static_assert(rulesOfAStateStandTogether(), "a state's rules must stand together in the table");

// ---------------------------------------------------------------------------
// The algorithm.
// ---------------------------------------------------------------------------

constexpr bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Blanks and control characters, as the module's trim sees them.
constexpr bool isTrimmed(char c) { return static_cast<unsigned char>(c) <= ' '; }

// The number reduced to its digits (with a leading "P" kept). Left-filling
// with "0" is not done in place: a rule reads the number as `fill` zeros
// followed by its characters.
struct Number {
  std::array<char, kMaxLength> chars{};
  int length = 0;

  std::string_view text() const { return {chars.data(), static_cast<std::size_t>(length)}; }
  char operator[](int i) const { return chars[static_cast<std::size_t>(i)]; }
};

bool isIsento(std::string_view text) {
  // Cheap refusal first: "ISENTO" needs six characters, the first non-blank
  // one an "I".
  if (text.size() < 6) return false;
  std::size_t first = 0;
  while (first < text.size() && isTrimmed(text[first])) ++first;
  if (first == text.size() || (text[first] != 'I' && text[first] != 'i')) return false;
  text = utils::trim(text);
  if (text.size() != 6) return false;
  constexpr char kIsento[] = "ISENTO";
  for (std::size_t i = 0; i < 6; ++i) {
    char c = text[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c != kIsento[i]) return false;
  }
  return true;
}

// Reduces the typed number to its digits, keeping an upper-case "P" that
// stands first. Leading and trailing blanks are ignored before looking for
// the "P", as they are for "ISENTO". False when the number cannot be valid
// for any state: fewer than two characters, or more than any state's length
// (a number is never shortened).
bool reduce(std::string_view typed, Number& number) {
  std::size_t i = 0;
  while (i < typed.size() && isTrimmed(typed[i])) ++i;
  int length = 0;
  if (i < typed.size() && typed[i] == 'P') {
    number.chars[0] = 'P';
    length = 1;
    ++i;
  }
  for (; i < typed.size(); ++i) {
    const char c = typed[i];
    if (!isDigit(c)) continue;
    if (length == kMaxLength) return false;
    number.chars[static_cast<std::size_t>(length++)] = c;
  }
  number.length = length;
  return length >= 2;
}

const CompiledRule* findRule(const StateEntry& state, const Number& number) {
  for (int k = 0; k < state.count; ++k) {
    const CompiledRule& rule = kCompiled[static_cast<std::size_t>(state.first + k)];
    switch (rule.when) {
      case When::Always: return &rule;
      case When::Digits:
        if (number.length == rule.digits) return &rule;
        break;
      case When::PrefixP:
        if (number[0] == 'P') return &rule;
        break;
      case When::NoPrefixP:
        if (number[0] != 'P') return &rule;
        break;
      case When::OtherLength: return &rule;  // the state's earlier rules did not apply
    }
  }
  return nullptr;
}

bool inRange(std::string_view text, std::string_view from, std::string_view to) {
  return text >= from && text <= to;
}

// What a state's special steps change in its rule for this number.
struct Adjusted {
  int modulus1 = 0;
  int modulus2 = 0;
  int value10 = 0;
  int value11 = 0;
  bool plusP = false;  // C applies (AP from 030190230 on: type E instead of CE)
};

// Applies the state's special steps; false when the number is invalid at
// once. `fill` is the number of zeros the rule puts before the number (the
// left-filling of BA and MT is the general one to the rule's length).
bool applySpecial(const CompiledRule& rule, const Number& number, int fill, Adjusted& adjusted) {
  adjusted.modulus1 = rule.first.modulus;
  adjusted.modulus2 = rule.second.modulus;
  adjusted.value10 = rule.value10;
  adjusted.value11 = rule.value11;
  adjusted.plusP = rule.first.plusP;
  switch (rule.special) {
    case Special::None:
    case Special::MtFill:
      return true;
    case Special::ApRanges:
      if (inRange(number.text(), "030170010", "030190229"))
        adjusted.value11 = 1;
      else if (number.text() >= "030190230")
        adjusted.plusP = false;
      return true;
    case Special::BaFillAndModulus: {
      // The second digit of the number filled to nine.
      const char second = fill >= 2 ? '0' : number[1 - fill];
      const int m = (second <= '5' || second == '8') ? 10 : 11;
      adjusted.modulus1 = m;
      adjusted.modulus2 = m;
      return true;
    }
    case Special::GoPrefixAndRange: {
      const char a = number[0], b = number[1];
      if (!(a == '1' && (b == '0' || b == '1')) && a != '2') return false;
      if (inRange(number.text(), "101031050", "101199979")) adjusted.value10 = 1;
      return true;
    }
  }
  return true;
}

// The check digit from the weighted sum of its calculation.
int checkDigitOf(int sum, const CompiledCalc& calc, int modulus, bool plusP, const Adjusted& adjusted) {
  if (calc.timesTen)
    sum *= 10;
  else if (plusP)
    sum += 5 + 4 * adjusted.value11;
  const int remainder = sum % modulus;
  int digit = calc.complement ? modulus - remainder : remainder;
  if (digit == 10) digit = adjusted.value10;
  if (digit == 11) digit = adjusted.value11;
  return digit;
}

// The sum of a calculation with A: every product's tens are added too.
int sumWithTens(const Number& number, int fill, const CompiledCalc& calc) {
  int sum = 0;
  for (int i = fill; i < fill + number.length; ++i) {
    const int product = (number[i - fill] - '0') * calc.weight[static_cast<std::size_t>(i)];
    sum += product + product / 10;
  }
  return sum;
}

} // namespace

bool StateRegistrationRules::validaIE(std::string_view AInscEst, std::string_view AUf) {
  if (isIsento(AInscEst)) return true;
  // Only a code of the accepted list has an entry; any other text (lower
  // case, longer, part of the list such as "AC,AL") finds no rule.
  if (AUf.size() != 2 || AUf[0] < 'A' || AUf[0] > 'Z' || AUf[1] < 'A' || AUf[1] > 'Z') return false;
  const StateEntry& state = kStateIndex[static_cast<std::size_t>(codeIndex(AUf[0], AUf[1]))];
  if (state.count == 0) return false;  // "EX", or a code outside the list

  Number number;
  if (!reduce(AInscEst, number)) return false;

  const CompiledRule* found = findRule(state, number);
  if (!found) return false;  // a length none of the state's rules takes
  const CompiledRule& rule = *found;
  const int fill = rule.n - number.length;
  if (fill < 0) return false;
  Adjusted adjusted;
  if (!applySpecial(rule, number, fill, adjusted)) return false;

  // The pattern, position by position, and both weighted sums in one walk. A
  // "P" (its character's value 32 from '0') stands only where the pattern has
  // one, whose weight is 0.
  for (int i = 0; i < fill; ++i)
    if (!(rule.mask[static_cast<std::size_t>(i)] & 1u)) return false;
  int sum1 = 0, sum2 = 0;
  for (int i = fill; i < rule.n; ++i) {
    const int d = number[i - fill] - '0';
    const unsigned bit = d == 'P' - '0' ? kBitP : 1u << d;
    if (!(rule.mask[static_cast<std::size_t>(i)] & bit)) return false;
    sum1 += d * rule.first.weight[static_cast<std::size_t>(i)];
    sum2 += d * rule.second.weight[static_cast<std::size_t>(i)];
  }
  if (rule.first.tens) sum1 = sumWithTens(number, fill, rule.first);

  auto digitAt = [&](int at) { return at < fill ? 0 : number[at - fill] - '0'; };
  if (checkDigitOf(sum1, rule.first, adjusted.modulus1, adjusted.plusP, adjusted) != digitAt(rule.xAt)) return false;
  if (rule.second.present &&
      checkDigitOf(sum2, rule.second, adjusted.modulus2, rule.second.plusP, adjusted) != digitAt(rule.yAt))
    return false;
  return true;
}

} // namespace vt::rules
