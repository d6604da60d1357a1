#include "rules/documents.h"

#include <array>
#include <cstddef>

#include "utils/text.h"
#include "utils/utf8.h"

namespace vt::rules {

namespace {

bool isDigit(char32_t c) { return c >= '0' && c <= '9'; }
bool isCapital(char32_t c) { return c >= 'A' && c <= 'Z'; }

// The first N digits of a text and how many digits it has in all, gathered
// without allocating.
template <std::size_t N>
struct LeadingDigits {
  std::array<int, N> digit{};
  std::size_t count = 0;

  explicit LeadingDigits(std::string_view text) {
    for (char c : text) {
      if (c < '0' || c > '9') continue;
      if (count < N) digit[count] = c - '0';
      ++count;
    }
  }
};

template <std::size_t N>
int weightedSum(const LeadingDigits<N>& digits, const int* weights, std::size_t howMany) {
  int sum = 0;
  for (std::size_t i = 0; i < howMany; ++i) sum += digits.digit[i] * weights[i];
  return sum;
}

// The mod-11 digit of CPF and CNPJ: 0 for a remainder below 2, else 11 - r.
int mod11Digit(int sum) {
  const int r = sum % 11;
  return r < 2 ? 0 : 11 - r;
}

// One GTIN algorithm for the nominal lengths 8, 12, 13 and 14. Positions are
// characters; a character that is not a digit adds nothing but still takes
// its position. Every character but the last takes part in the sum.
bool validaGTIN(std::string_view code, std::size_t n, int& digitOut) {
  if (utils::equalsIgnoringAsciiCase(code, "SEM GTIN")) return true;
  const int oddWeight = n == 13 ? 1 : 3;
  const int evenWeight = n == 13 ? 3 : 1;
  int sum = 0;
  int lastContribution = 0;
  char32_t nth = 0;
  std::size_t position = 0;
  for (std::size_t pos = 0; pos < code.size();) {
    const char32_t c = utils::utf8::next(code, pos);
    ++position;
    if (position == n) nth = c;
    lastContribution = isDigit(c) ? static_cast<int>(c - '0') * (position % 2 == 1 ? oddWeight : evenWeight) : 0;
    sum += lastContribution;
  }
  sum -= lastContribution;  // the last character is the one the sum leaves out
  digitOut = sum % 10 == 0 ? 0 : 10 - sum % 10;
  // A text shorter than n has no check-digit position: it is invalid. The
  // computed digit is still handed back, as the caller may show it.
  if (position < n) return false;
  return nth == static_cast<char32_t>('0' + digitOut);
}

// The 39 characters an e-mail address may not hold.
constexpr char32_t kForbiddenInEMail[] = {
    U'!', U'#', U'$', U'%', U'¨', U'&', U'*', U'(', U')', U'+', U'=', U'§', U'¬',
    U'¢', U'¹', U'²', U'³', U'£', U'´', U'`', U'ç', U'Ç', U',', U';', U':', U'<',
    U'>', U'~', U'^', U'?', U'/', U'|', U'[', U']', U'{', U'}', U'º', U'ª', U'°',
};
static_assert(std::size(kForbiddenInEMail) == 39);

bool isForbiddenInEMail(char32_t c) {
  for (char32_t f : kForbiddenInEMail)
    if (c == f) return true;
  return false;
}

bool nextTo(std::size_t a, std::size_t b) { return a + 1 == b || b + 1 == a; }

// Places the digits of the text into a mask where '9' stands for a digit;
// empty when the text does not have exactly as many digits as the mask.
std::string applyMask(std::string_view text, std::string_view mask) {
  const std::string digits = utils::TextHelpers::soNumericos(text);
  std::size_t wanted = 0;
  for (char m : mask) wanted += m == '9';
  if (digits.size() != wanted) return {};
  std::string out;
  out.reserve(mask.size());
  std::size_t next = 0;
  for (char m : mask) out += m == '9' ? digits[next++] : m;
  return out;
}

constexpr std::string_view kCnpjMask = "99.999.999/9999-99";

} // namespace

bool DocumentRules::validaCPF(std::string_view ANum) {
  const LeadingDigits<11> d(ANum);
  if (d.count < 11) return false;
  bool allSame = true;
  for (int v : d.digit) allSame = allSame && v == d.digit[0];
  if (allSame) return false;
  static constexpr int kFirst[] = {10, 9, 8, 7, 6, 5, 4, 3, 2};
  static constexpr int kSecond[] = {11, 10, 9, 8, 7, 6, 5, 4, 3};
  const int first = mod11Digit(weightedSum(d, kFirst, 9));
  const int second = mod11Digit(weightedSum(d, kSecond, 9) + first * 2);
  return d.digit[9] == first && d.digit[10] == second;
}

bool DocumentRules::validaCNPJ(std::string_view ANum) {
  const LeadingDigits<14> d(ANum);
  if (d.count < 14) return false;
  static constexpr int kFirst[] = {5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
  static constexpr int kSecond[] = {6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3};
  // 11 - r: a remainder of 0 or 1 gives 11 or 10, which become 0; the same
  // as mod11Digit. Fourteen zeros are therefore valid, as the rule has it.
  const int first = mod11Digit(weightedSum(d, kFirst, 12));
  const int second = mod11Digit(weightedSum(d, kSecond, 12) + first * 2);
  return d.digit[12] == first && d.digit[13] == second;
}

bool DocumentRules::validaGTIN8(std::string_view ACodBarras, int& ADigCalc) { return validaGTIN(ACodBarras, 8, ADigCalc); }
bool DocumentRules::validaGTIN12(std::string_view ACodBarras, int& ADigCalc) { return validaGTIN(ACodBarras, 12, ADigCalc); }
bool DocumentRules::validaGTIN13(std::string_view ACodBarras, int& ADigCalc) { return validaGTIN(ACodBarras, 13, ADigCalc); }
bool DocumentRules::validaGTIN14(std::string_view ACodBarras, int& ADigCalc) { return validaGTIN(ACodBarras, 14, ADigCalc); }

bool DocumentRules::validaEMail(std::string_view AEMailIn) {
  if (AEMailIn.empty()) return true;

  // One walk gathers what the rules look at; positions count characters from 1.
  constexpr std::size_t kNone = 0;
  std::size_t firstAt = kNone, firstDot = kNone, firstHyphen = kNone, firstUnderscore = kNone;
  std::size_t atCount = 0, length = 0;
  bool blank = false, forbidden = false, twoDots = false;
  char32_t first = 0, last = 0, previous = 0;
  for (std::size_t pos = 0; pos < AEMailIn.size();) {
    const char32_t c = utils::utf8::next(AEMailIn, pos);
    ++length;
    if (length == 1) first = c;
    if (c == '@' && atCount++ == 0) firstAt = length;
    if (c == '.' && firstDot == kNone) firstDot = length;
    if (c == '-' && firstHyphen == kNone) firstHyphen = length;
    if (c == '_' && firstUnderscore == kNone) firstUnderscore = length;
    if (c == '.' && previous == '.') twoDots = true;
    blank = blank || c == ' ';
    forbidden = forbidden || isForbiddenInEMail(c);
    previous = last = c;
  }

  if (firstAt == kNone || firstDot == kNone) return false;
  if (firstAt == 1 || firstAt == length || firstDot == 1 || firstDot == length || blank) return false;
  if (nextTo(firstAt, firstDot)) return false;
  // From here a rule only marks the address invalid; the later rules are
  // still looked at, which changes nothing in the answer.
  bool valid = !forbidden;
  if (twoDots || atCount > 1 || last == '.' || first == '.' || first == '_' || first == '-') valid = false;
  if ((firstHyphen != kNone && nextTo(firstAt, firstHyphen)) ||
      (firstUnderscore != kNone && nextTo(firstAt, firstUnderscore)))
    valid = false;
  return valid;
}

bool DocumentRules::validaPlacaVeiculo(std::string_view APlaca) {
  std::array<char32_t, 7> plate{};
  std::size_t count = 0;
  for (std::size_t pos = 0; pos < APlaca.size();) {
    const char32_t c = utils::utf8::next(APlaca, pos);
    if (c == '-') continue;
    if (count == plate.size()) return false;  // more than 7 characters
    plate[count++] = c;
  }
  if (count != plate.size()) return false;
  const bool letters = isCapital(plate[0]) && isCapital(plate[1]) && isCapital(plate[2]) && isDigit(plate[3]);
  const bool older = isDigit(plate[4]) && isDigit(plate[5]) && isDigit(plate[6]);
  const bool newer = isCapital(plate[4]) && isDigit(plate[5]) && isDigit(plate[6]);
  return letters && (older || newer);
}

std::string DocumentRules::cnpjCriaMascara(std::string_view ASoNumero) { return applyMask(ASoNumero, kCnpjMask); }

std::string DocumentRules::mascaraCnpj(std::string_view ACnpj) {
  std::string masked = applyMask(ACnpj, kCnpjMask);
  return masked.empty() ? std::string(ACnpj) : masked;
}

std::string DocumentRules::ncmCriaMascara(std::string_view ASoNumero) { return applyMask(ASoNumero, "9999.99.99"); }

std::string DocumentRules::cestCriaMascara(std::string_view ASoNumero) { return applyMask(ASoNumero, "99.999.99"); }

} // namespace vt::rules
