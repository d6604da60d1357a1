#include "rules/state_registration.h"

#include <array>
#include <cstddef>
#include <cstdint>

#include "rules/state_registration_table.h"
#include "utils/text.h"

namespace vt::rules {

namespace {

using namespace ie_table;

// ---------------------------------------------------------------------------
// The rules compiled: the table's patterns and weights turned, at compile time,
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
