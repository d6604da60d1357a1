// Numbers as texts: the decimal digits of a value, its fixed notation, and
// the platform's float syntax with the regional decimal separator.
#include <charconv>
#include <cmath>
#include <string>

#include "utils/numbers_dates.h"
#include "utils/numbers_dates_detail.h"

namespace vt::utils {
namespace {

using detail::DecimalDigits;
using detail::isDigit;

ConvertError notAFloat(std::string_view text) {
  return ConvertError("'" + std::string(text) + "' is not a valid floating point value");
}

// Rounds the digits half away from zero so that `decimals` digits stay after
// the point (the platform's fixed format works on the decimal digits).
void roundDigits(DecimalDigits& d, int decimals) {
  const long long keep = static_cast<long long>(d.exponent) + decimals;
  if (keep >= static_cast<long long>(d.digits.size())) return;
  if (keep < 0) {
    d.digits.clear();
    return;
  }
  const bool up = d.digits[static_cast<std::size_t>(keep)] >= '5';
  d.digits.resize(static_cast<std::size_t>(keep));
  if (up) {
    std::size_t i = d.digits.size();
    while (i > 0 && d.digits[i - 1] == '9') d.digits[--i] = '0';
    if (i == 0) {
      d.digits.insert(d.digits.begin(), '1');
      ++d.exponent;
    } else {
      ++d.digits[i - 1];
    }
  }
  while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
}

} // namespace

namespace detail {

DecimalDigits toDecimalDigits(double value, int significant) {
  DecimalDigits r;
  r.negative = std::signbit(value);
  if (value == 0) return r;
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific,
                           significant - 1);
  std::string_view text(buf, static_cast<std::size_t>(res.ptr - buf));
  const std::size_t e = text.find('e');
  for (char c : text.substr(0, e))
    if (isDigit(c)) r.digits += c;
  int exp10 = 0;
  std::from_chars(text.data() + e + 1 + (text[e + 1] == '+' ? 1 : 0), text.data() + text.size(), exp10);
  r.exponent = exp10 + 1;
  while (!r.digits.empty() && r.digits.back() == '0') r.digits.pop_back();
  return r;
}

// Fixed notation of decimal digits: no exponent, no thousands separators,
// at least `minDecimals` decimals.
std::string fixedText(const DecimalDigits& d, char decimalSeparator, int minDecimals) {
  std::string intPart, fracPart;
  if (d.digits.empty()) {
    intPart = "0";
  } else if (d.exponent <= 0) {
    intPart = "0";
    fracPart = std::string(static_cast<std::size_t>(-d.exponent), '0') + d.digits;
  } else if (static_cast<std::size_t>(d.exponent) >= d.digits.size()) {
    intPart = d.digits + std::string(static_cast<std::size_t>(d.exponent) - d.digits.size(), '0');
  } else {
    intPart = d.digits.substr(0, static_cast<std::size_t>(d.exponent));
    fracPart = d.digits.substr(static_cast<std::size_t>(d.exponent));
  }
  if (fracPart.size() < static_cast<std::size_t>(minDecimals))
    fracPart.append(static_cast<std::size_t>(minDecimals) - fracPart.size(), '0');
  std::string out = (d.negative && !d.digits.empty()) ? "-" : "";
  out += intPart;
  if (!fracPart.empty()) out += decimalSeparator + fracPart;
  return out;
}

// The value with `decimals` decimals, as the platform's "%.Nf" writes it: the
// value's 18 significant digits rounded half away from zero.
std::string formatFixed(double value, int decimals, char decimalSeparator) {
  DecimalDigits d = toDecimalDigits(value, 18);
  roundDigits(d, decimals);
  return fixedText(d, decimalSeparator, decimals);
}

bool parseFloat(std::string_view text, char decimalSeparator, double& result) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  std::string normal;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    if (text[i] == '-') normal += '-';
    ++i;
  }
  bool anyDigit = false;
  while (i < text.size() && isDigit(text[i])) normal += text[i++], anyDigit = true;
  if (i < text.size() && text[i] == decimalSeparator) {
    ++i;
    normal += '.';
    while (i < text.size() && isDigit(text[i])) normal += text[i++], anyDigit = true;
  }
  if (!anyDigit) return false;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    normal += 'e';
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
      if (text[i] == '-') normal += '-';
      ++i;
    }
    bool expDigit = false;
    while (i < text.size() && isDigit(text[i])) normal += text[i++], expDigit = true;
    if (!expDigit) return false;
  }
  while (i < text.size() && text[i] == ' ') ++i;
  if (i != text.size()) return false;
  double value = 0;
  auto res = std::from_chars(normal.data(), normal.data() + normal.size(), value);
  if (res.ec != std::errc() || res.ptr != normal.data() + normal.size()) return false;
  result = value;
  return true;
}
std::string keepOnly(std::string_view text, std::string_view allowed) {
  std::string out;
  for (char c : text)
    if (isDigit(c) || allowed.find(c) != std::string_view::npos) out += c;
  return out;
}

} // namespace detail

bool tryTextToFloat(std::string_view text, const platform::RegionalFormats& formats, double& result) {
  return detail::parseFloat(text, formats.decimalSeparator, result);
}

double textToFloat(std::string_view text, const platform::RegionalFormats& formats) {
  double value;
  if (!detail::parseFloat(text, formats.decimalSeparator, value)) throw notAFloat(text);
  return value;
}

} // namespace vt::utils
