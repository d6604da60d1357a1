#pragma once
// What the number and date files of the utility module share among
// themselves (numbers_dates.cpp, decimal_text.cpp, date_time_text.cpp,
// calendar.cpp); not part of the module's interface.
#include <string>
#include <string_view>

#include "platform/regional.h"
#include "utils/numbers_dates.h"

namespace vt::utils::detail {

inline bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Two digits with a leading zero ("07").
std::string twoDigits(int n);

// The decimal digits of a finite value rounded to `significant` digits:
// value = 0.d1d2d3... x 10^exponent (d1 is not 0 unless the value is 0).
struct DecimalDigits {
  bool negative = false;
  std::string digits; // without trailing zeros; empty for zero
  int exponent = 0;
};
DecimalDigits toDecimalDigits(double value, int significant);
// Fixed notation of decimal digits: no exponent, no thousands separators,
// at least `minDecimals` decimals.
std::string fixedText(const DecimalDigits& d, char decimalSeparator, int minDecimals);
// The value with `decimals` decimals, as the platform's "%.Nf" writes it.
std::string formatFixed(double value, int decimals, char decimalSeparator);
// The platform's float syntax with the given decimal separator.
bool parseFloat(std::string_view text, char decimalSeparator, double& result);
// The text's digits and the characters of `allowed`, in order.
std::string keepOnly(std::string_view text, std::string_view allowed);

// A date, then anything up to the next digit, then a time; or a time alone.
bool scanDateTime(std::string_view text, const platform::RegionalFormats& formats, TDateTime& result);
ConvertError notADateTime(std::string_view text);

} // namespace vt::utils::detail
