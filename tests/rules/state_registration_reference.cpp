// The rule as it was first written: it walks the states' table
// (rules/state_registration_table.h), reading the patterns and calls at every
// check. Kept beside the tests as the reference the compiled rule of
// rules/state_registration.cpp must agree with, input for input: the two read
// the same table, so this checks the compilation and the one-walk algorithm;
// the table's values are checked by the states' published examples
// (state_registration_test.cpp).
#include "tests/rules/state_registration_reference.h"

#include <array>
#include <cstddef>

#include "rules/state_registration_table.h"
#include "utils/text.h"

namespace vt::rules::reference {

namespace {

using namespace ie_table;

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
