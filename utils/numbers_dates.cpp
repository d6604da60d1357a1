#include "utils/numbers_dates.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <vector>

#include "platform/clock.h"
#include "utils/text.h"
#include "utils/utf8.h"

namespace vt::utils {
namespace {

constexpr long long kMsPerDay = 86400000LL;
// 1 January 0001 and 31 December 9999, 23:59:59.999, as date-time values.
constexpr double kMinDateTime = -693593.0;
constexpr double kMaxDateTime = 2958465.99999999;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

using platform::civilFromDays;
using platform::daysFromCivil;

// 30 December 1899 is day -25569 counted from 1970.
constexpr long long kEpochShift = 25569;

std::string twoDigits(int n) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d", n);
  return buf;
}

// ---- Integer syntax of the platform's conversions ------------------------

std::optional<int> strToInt32(std::string_view s) {
  const auto value = parseIntegerText(s, INT32_MIN, INT32_MAX);
  if (!value) return std::nullopt;
  return static_cast<int>(*value);
}

// The text's characters as UTF-16 code units would count them: a character
// beyond the basic plane takes two positions (both read as non-digits).
std::vector<std::string> utf16Units(std::string_view text) {
  std::vector<std::string> units;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t start = pos;
    const char32_t cp = utf8::next(text, pos);
    units.emplace_back(text.substr(start, pos - start));
    if (cp >= 0x10000) units.emplace_back("\xEF\xBF\xBD");
  }
  return units;
}

// Characters `from`..`from + count - 1` (1-based), shorter at the text's end.
std::string copyUnits(const std::vector<std::string>& units, std::size_t from, std::size_t count) {
  std::string out;
  for (std::size_t i = from - 1; i < units.size() && i < from - 1 + count; ++i) out += units[i];
  return out;
}

// ---- Floating-point texts -------------------------------------------------

ConvertError notAFloat(std::string_view text) {
  return ConvertError("'" + std::string(text) + "' is not a valid floating point value");
}

// The decimal digits of a finite value rounded to `significant` digits:
// value = 0.d1d2d3... x 10^exponent (d1 is not 0 unless the value is 0).
struct DecimalDigits {
  bool negative = false;
  std::string digits; // without trailing zeros; empty for zero
  int exponent = 0;
};

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

// ---- Date and time texts --------------------------------------------------

enum class DateOrder { MDY, DMY, YMD };

// The order of a short date picture: the first of "y", "M" or "d" it shows.
DateOrder dateOrderOf(std::string_view picture) {
  for (char c : picture) {
    switch (c) {
      case 'y': case 'Y': case 'e': case 'E': return DateOrder::YMD;
      case 'm': case 'M': return DateOrder::MDY;
      case 'd': case 'D': return DateOrder::DMY;
      default: break;
    }
  }
  return DateOrder::MDY;
}

struct Scanner {
  std::string_view s;
  std::size_t pos = 0;

  void blanks() {
    while (pos < s.size() && s[pos] == ' ') ++pos;
  }
  // Up to four digits (the number stops once it reaches 1000).
  bool number(int& value, int& length) {
    blanks();
    std::size_t i = pos;
    int n = 0;
    while (i < s.size() && isDigit(s[i]) && n < 1000) n = n * 10 + (s[i++] - '0');
    if (i == pos) return false;
    length = static_cast<int>(i - pos);
    pos = i;
    value = n;
    return true;
  }
  bool character(char c) {
    blanks();
    if (pos < s.size() && s[pos] == c) {
      ++pos;
      return true;
    }
    return false;
  }
  bool word(std::string_view w) {
    if (w.empty() || s.size() - pos < w.size()) return false;
    for (std::size_t k = 0; k < w.size(); ++k) {
      char a = s[pos + k], b = w[k];
      if (a >= 'a' && a <= 'z') a = static_cast<char>(a - 32);
      if (b >= 'a' && b <= 'z') b = static_cast<char>(b - 32);
      if (a != b) return false;
    }
    pos += w.size();
    return true;
  }
  bool atEnd() const { return pos >= s.size(); }
};

int currentYear() {
  return platform::SystemClock().now().year;
}

bool scanDate(Scanner& sc, const platform::RegionalFormats& formats, TDateTime& date) {
  const DateOrder order = dateOrderOf(formats.shortDateFormat);
  int n1, n2, n3, l1, l2, l3;
  if (!(sc.number(n1, l1) && sc.character(formats.dateSeparator) && sc.number(n2, l2))) return false;
  int y, m, d;
  if (sc.character(formats.dateSeparator)) {
    if (!sc.number(n3, l3)) return false;
    int yearLength;
    switch (order) {
      case DateOrder::MDY: y = n3, yearLength = l3, m = n1, d = n2; break;
      case DateOrder::DMY: y = n3, yearLength = l3, m = n2, d = n1; break;
      default: y = n1, yearLength = l1, m = n2, d = n3; break;
    }
    if (yearLength <= 2) {
      // A two-digit year falls in the 100 years starting 50 years back.
      const int base = currentYear() - 50;
      y += base / 100 * 100;
      if (y < base) y += 100;
    }
  } else {
    y = currentYear();
    if (order == DateOrder::DMY) d = n1, m = n2;
    else m = n1, d = n2;
  }
  sc.character('.');
  sc.blanks();
  return tryEncodeDate(y, m, d, date);
}

bool scanTime(Scanner& sc, const platform::RegionalFormats& formats, TDateTime& time) {
  int baseHour = -1;
  auto ampm = [&] {
    if (sc.word("AM")) baseHour = 0;
    else if (sc.word("PM")) baseHour = 12;
  };
  sc.blanks();
  ampm();
  if (baseHour >= 0) sc.blanks();
  int hour, minute = 0, second = 0, ms = 0, len;
  if (!sc.number(hour, len)) return false;
  if (sc.character(formats.timeSeparator)) {
    if (!sc.number(minute, len)) return false;
    if (sc.character(formats.timeSeparator)) {
      if (!sc.number(second, len)) return false;
      if (sc.character(formats.decimalSeparator) && !sc.number(ms, len)) return false;
    }
  }
  if (baseHour < 0) {
    sc.blanks();
    ampm();
  }
  if (baseHour >= 0) {
    if (hour == 0 || hour > 12) return false;
    if (hour == 12) hour = 0;
    hour += baseHour;
  }
  sc.blanks();
  return tryEncodeTime(hour, minute, second, ms, time);
}

// A date, then anything up to the next digit, then a time; or a time alone.
bool scanDateTime(std::string_view text, const platform::RegionalFormats& formats, TDateTime& result) {
  Scanner sc{text};
  TDateTime date = 0, time = 0;
  if (scanDate(sc, formats, date)) {
    std::size_t next = sc.pos;
    while (next < text.size() && !isDigit(text[next])) ++next;
    if (next < text.size()) {
      Scanner timeScanner{text, next};
      if (!scanTime(timeScanner, formats, time) || !timeScanner.atEnd()) return false;
    } else if (!sc.atEnd()) {
      return false; // text after the date that holds no time
    }
  } else {
    Scanner timeScanner{text};
    if (!scanTime(timeScanner, formats, time) || !timeScanner.atEnd()) return false;
    date = 0;
  }
  result = composeDateTime(date, time);
  return true;
}

ConvertError notADateTime(std::string_view text) {
  return ConvertError("'" + std::string(text) + "' is not a valid date and time");
}

std::string keepOnly(std::string_view text, std::string_view allowed) {
  std::string out;
  for (char c : text)
    if (isDigit(c) || allowed.find(c) != std::string_view::npos) out += c;
  return out;
}

// Brazilian names for the pictures' ddd/dddd and MMM/MMMM.
constexpr std::array<const char*, 7> kDayNames = {"domingo", "segunda-feira", "terça-feira", "quarta-feira",
                                                  "quinta-feira", "sexta-feira", "sábado"};
constexpr std::array<const char*, 7> kDayShort = {"dom", "seg", "ter", "qua", "qui", "sex", "sáb"};
constexpr std::array<const char*, 12> kMonthNames = {"janeiro", "fevereiro", "março", "abril",
                                                     "maio", "junho", "julho", "agosto",
                                                     "setembro", "outubro", "novembro", "dezembro"};
constexpr std::array<const char*, 12> kMonthShort = {"jan", "fev", "mar", "abr", "mai", "jun",
                                                     "jul", "ago", "set", "out", "nov", "dez"};

} // namespace

// ---- Calendar arithmetic -------------------------------------------------

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month) {
  static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return (month == 2 && isLeapYear(year)) ? 29 : days[month - 1];
}

bool tryEncodeDate(int year, int month, int day, TDateTime& result) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month))
    return false;
  result = static_cast<double>(daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) +
                               kEpochShift);
  return true;
}

TDateTime encodeDate(int year, int month, int day) {
  TDateTime r;
  if (!tryEncodeDate(year, month, day, r))
    throw ConvertError("invalid date: year " + std::to_string(year) + ", month " + std::to_string(month) +
                       ", day " + std::to_string(day));
  return r;
}

bool tryEncodeTime(int hour, int minute, int second, int millisecond, TDateTime& result) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || millisecond < 0 ||
      millisecond > 999)
    return false;
  result = static_cast<double>(((hour * 60LL + minute) * 60 + second) * 1000 + millisecond) /
           static_cast<double>(kMsPerDay);
  return true;
}

TDateTime encodeTime(int hour, int minute, int second, int millisecond) {
  TDateTime r;
  if (!tryEncodeTime(hour, minute, second, millisecond, r))
    throw ConvertError("invalid time: " + std::to_string(hour) + ":" + std::to_string(minute) + ":" +
                       std::to_string(second) + "." + std::to_string(millisecond));
  return r;
}

TDateTime composeDateTime(TDateTime date, TDateTime timeOfDay) {
  const double whole = std::trunc(date);
  const double t = std::fabs(timeOfDay - std::trunc(timeOfDay));
  return whole < 0 ? whole - t : whole + t;
}

namespace {
// The value to the nearest millisecond, split into whole days (the whole part
// counts the days, also below zero) and the time of day; false outside the calendar.
bool splitDateTime(TDateTime value, long long& days, long long& msOfDay) {
  if (!std::isfinite(value) || value < kMinDateTime - 1 || value > kMaxDateTime + 1) return false;
  const long long ms = std::llround(value * static_cast<double>(kMsPerDay));
  days = ms / kMsPerDay;
  msOfDay = (ms < 0 ? -ms : ms) % kMsPerDay;
  return days >= static_cast<long long>(kMinDateTime) && days <= static_cast<long long>(kMaxDateTime);
}
} // namespace

bool isValidDateTime(TDateTime value) {
  long long days, msOfDay;
  return splitDateTime(value, days, msOfDay);
}

DateTimeParts decodeDateTime(TDateTime value) {
  long long days, msOfDay;
  if (!splitDateTime(value, days, msOfDay))
    throw ConvertError("the date and time value lies outside the calendar (years 1 to 9999)");
  DateTimeParts p;
  const long long fromEpoch = days - kEpochShift;
  civilFromDays(fromEpoch, p.year, p.month, p.day);
  p.millisecond = static_cast<int>(msOfDay % 1000);
  p.second = static_cast<int>(msOfDay / 1000 % 60);
  p.minute = static_cast<int>(msOfDay / 60000 % 60);
  p.hour = static_cast<int>(msOfDay / 3600000);
  // 1 January 1970 was a Thursday (5 with Sunday as 1).
  p.dayOfWeek = static_cast<int>(((fromEpoch % 7) + 7 + 4) % 7) + 1;
  return p;
}

int dayOfWeek(TDateTime value) { return decodeDateTime(value).dayOfWeek; }

TDateTime dateOf(TDateTime value) {
  const DateTimeParts p = decodeDateTime(value);
  return encodeDate(p.year, p.month, p.day);
}

TDateTime timeOf(TDateTime value) {
  const DateTimeParts p = decodeDateTime(value);
  return encodeTime(p.hour, p.minute, p.second, p.millisecond);
}

TDateTime incMonth(TDateTime value, int months) {
  const DateTimeParts p = decodeDateTime(value);
  const long long total = static_cast<long long>(p.year) * 12 + (p.month - 1) + months;
  const long long year = total >= 0 ? total / 12 : (total - 11) / 12;
  const int month = static_cast<int>(total - year * 12) + 1;
  if (year < 1 || year > 9999) throw ConvertError("the date lies outside the calendar (years 1 to 9999)");
  const int day = std::min(p.day, daysInMonth(static_cast<int>(year), month));
  return composeDateTime(encodeDate(static_cast<int>(year), month, day),
                         encodeTime(p.hour, p.minute, p.second, p.millisecond));
}

TDateTime endOfTheMonth(TDateTime value) {
  const DateTimeParts p = decodeDateTime(value);
  return composeDateTime(encodeDate(p.year, p.month, daysInMonth(p.year, p.month)), encodeTime(23, 59, 59, 999));
}

TDateTime fromLocalTime(const platform::LocalTime& t) {
  return composeDateTime(encodeDate(t.year, t.month, t.day), encodeTime(t.hour, t.minute, t.second, t.millisecond));
}

TDateTime nowDateTime(const platform::Clock& clock) { return fromLocalTime(clock.now()); }

std::string formatDateTime(std::string_view picture, TDateTime value) {
  const DateTimeParts p = decodeDateTime(value);
  std::string out;
  std::size_t i = 0;
  while (i < picture.size()) {
    const char c = picture[i];
    if (c == '\'') { // quoted text; '' inside is one quote
      ++i;
      while (i < picture.size()) {
        if (picture[i] == '\'') {
          if (i + 1 < picture.size() && picture[i + 1] == '\'') {
            out += '\'';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        out += picture[i++];
      }
      continue;
    }
    std::size_t run = 1;
    while (i + run < picture.size() && picture[i + run] == c) ++run;
    const int hour12 = p.hour % 12 == 0 ? 12 : p.hour % 12;
    auto number = [&](int n) { out += run >= 2 ? twoDigits(n) : std::to_string(n); };
    switch (c) {
      case 'd':
        if (run <= 2) number(p.day);
        else out += (run == 3 ? kDayShort : kDayNames)[static_cast<std::size_t>(p.dayOfWeek - 1)];
        break;
      case 'M':
        if (run <= 2) number(p.month);
        else out += (run == 3 ? kMonthShort : kMonthNames)[static_cast<std::size_t>(p.month - 1)];
        break;
      case 'y':
        if (run == 1) out += std::to_string(p.year % 100);
        else if (run == 2) out += twoDigits(p.year % 100);
        else {
          char buf[16];
          std::snprintf(buf, sizeof buf, "%04d", p.year);
          out += buf;
        }
        break;
      case 'H': number(p.hour); break;
      case 'h': number(hour12); break;
      case 'm': number(p.minute); break;
      case 's': number(p.second); break;
      case 't': {
        const std::string designator = p.hour < 12 ? "AM" : "PM";
        out += run == 1 ? designator.substr(0, 1) : designator;
        break;
      }
      default: out.append(run, c); break;
    }
    i += run;
  }
  return out;
}

std::string formatShortDateLongTime(TDateTime value, const platform::RegionalFormats& formats) {
  return formatDateTime(formats.shortDateFormat, value) + " " + formatDateTime(formats.longTimeFormat, value);
}

std::string dateTimeToText(TDateTime value, const platform::RegionalFormats& formats) {
  std::string text = formatDateTime(formats.shortDateFormat, value);
  if (timeOf(value) != 0) text += " " + formatDateTime(formats.longTimeFormat, value);
  return text;
}

// ---- Regional conversions --------------------------------------------------

bool tryTextToFloat(std::string_view text, const platform::RegionalFormats& formats, double& result) {
  return parseFloat(text, formats.decimalSeparator, result);
}

double textToFloat(std::string_view text, const platform::RegionalFormats& formats) {
  double value;
  if (!parseFloat(text, formats.decimalSeparator, value)) throw notAFloat(text);
  return value;
}

bool tryTextToDate(std::string_view text, const platform::RegionalFormats& formats, TDateTime& result) {
  Scanner sc{text};
  TDateTime date;
  if (!scanDate(sc, formats, date) || !sc.atEnd()) return false;
  result = date;
  return true;
}

bool tryTextToDateTime(std::string_view text, const platform::RegionalFormats& formats, TDateTime& result) {
  return scanDateTime(text, formats, result);
}

// ---- The facet -----------------------------------------------------------

std::string NumberDateHelpers::dateToString(TDate ADate, std::string_view ASeparador, std::string_view AFormato) {
  const DateTimeParts p = decodeDateTime(ADate);
  const std::string day = twoDigits(p.day), month = twoDigits(p.month);
  std::string year = std::to_string(p.year);
  if (year.size() == 2) year = "20" + year;
  const std::string sep = (ASeparador == "-" || ASeparador == "/") ? std::string(ASeparador) : std::string();
  if (AFormato == "DDMMAAAA") return day + sep + month + sep + year;
  if (AFormato == "AAAAMMDD") return year + sep + month + sep + day;
  if (AFormato == "MMDDAAAA") return month + sep + day + sep + year;
  return "";
}

TDateTime NumberDateHelpers::getDateFromString(std::string_view AData) {
  return getDateFromString(AData, platform::SystemClock());
}

TDateTime NumberDateHelpers::getDateFromString(std::string_view AData, const platform::Clock& AClock) {
  const auto units = utf16Units(AData);
  const auto year = strToInt32(copyUnits(units, 1, 4));
  const auto month = strToInt32(copyUnits(units, 6, 2));
  const auto day = strToInt32(copyUnits(units, 9, 2));
  TDateTime date;
  if (year && month && day && tryEncodeDate(*year, *month, *day, date)) return date;
  return dateOf(nowDateTime(AClock));
}

TDateTime NumberDateHelpers::getDateTimeFromString(std::string_view AData, std::string_view ADataFormat,
                                                   std::string_view AHora, std::string_view ADataHoraSep,
                                                   const platform::RegionalFormats& AFormats) {
  platform::RegionalFormats formats = AFormats;
  formats.dateSeparator = '-';
  formats.shortDateFormat = std::string(ADataFormat);
  formats.timeSeparator = ':';
  formats.longTimeFormat = std::string(AHora);
  const std::string text = replaceAll(std::string(AData), ADataHoraSep, "T");
  TDateTime result;
  if (!scanDateTime(text, formats, result)) throw notADateTime(text);
  return result;
}

bool NumberDateHelpers::strParaDateTime(std::string_view ADataHora, TDateTime& ARetornaDataHora,
                                        const platform::RegionalFormats& AFormats) {
  if (ADataHora.empty()) return false;
  const auto slashes = std::count(ADataHora.begin(), ADataHora.end(), '/');
  const auto colons = std::count(ADataHora.begin(), ADataHora.end(), ':');
  if (slashes == 0 || colons == 0 || slashes >= 3 || colons >= 3) return false;
  std::string cleaned;
  for (char c : ADataHora)
    if (c != '.' && c != '-' && c != '_' && c != '\\') cleaned += c;
  TDateTime value;
  if (!scanDateTime(cleaned, AFormats, value)) return false;
  ARetornaDataHora = value;
  return true;
}

std::string NumberDateHelpers::secToTime(int ASeg) {
  // A negative count (the contract speaks of counts, which are not negative)
  // is written as the time of its magnitude with a "-" in front.
  const long long total = ASeg < 0 ? -static_cast<long long>(ASeg) : ASeg;
  const long long hours = total / 3600;
  const long long minutes = total / 60 - 60 * hours;
  const long long seconds = total % 60;
  char buf[48];
  std::snprintf(buf, sizeof buf, "%s%02lld:%02lld:%02lld", ASeg < 0 ? "-" : "", hours, minutes, seconds);
  return buf;
}

TTime NumberDateHelpers::encodaHora(unsigned int ASeconds) {
  const unsigned int rest = ASeconds % 86400u;
  return encodeTime(static_cast<int>(rest / 3600), static_cast<int>(rest / 60 % 60), static_cast<int>(rest % 60), 0);
}

int NumberDateHelpers::compararHora(TTime AHoraOrigem, TTime AHoraComparar, std::string_view AComparar) {
  auto sign = [](auto a, auto b) { return a < b ? -1 : (b < a ? 1 : 0); };
  if (AComparar == "T") return sign(AHoraOrigem, AHoraComparar);
  const bool hours = AComparar == "H", minutes = AComparar == "M", seconds = AComparar == "S";
  if (!hours && !minutes && !seconds)
    throw ConvertError("'" + std::string(AComparar) + "' is not a valid integer value");
  const DateTimeParts a = decodeDateTime(AHoraOrigem), b = decodeDateTime(AHoraComparar);
  if (a.hour != b.hour || hours) return sign(a.hour, b.hour);
  if (a.minute != b.minute || minutes) return sign(a.minute, b.minute);
  return sign(a.second, b.second);
}

int NumberDateHelpers::compararValores(double AValorOrigem, double AValorComparar, std::string_view ACasas,
                                       const platform::RegionalFormats& AFormats) {
  if (ACasas.empty() || !std::all_of(ACasas.begin(), ACasas.end(), isDigit))
    throw ConvertError("Format '%2." + std::string(ACasas) + "f' invalid or incompatible with argument");
  // Past 18 decimals a double has no digits left to round.
  const int decimals = ACasas.size() > 2 ? 18 : std::min(18, std::stoi(std::string(ACasas)));
  auto written = [&](double v) {
    if (!std::isfinite(v)) return v; // infinities compare as they are; NaN compares equal to nothing
    return textToFloat(formatFixed(v, decimals, AFormats.decimalSeparator), AFormats);
  };
  const double a = written(AValorOrigem), b = written(AValorComparar);
  return a < b ? -1 : (b < a ? 1 : 0);
}

double NumberDateHelpers::Arredondar(double Valor, int Dec) {
  const long double ln10 = std::log(10.0L);
  auto power = [&](long long n) { return std::exp(static_cast<long double>(n) * ln10); };
  long double x = static_cast<long double>(Valor) * power(static_cast<long long>(Dec) + 1);
  x = std::trunc(x) / 10;
  x = std::nearbyint(x); // the default rounding mode: halves to the even neighbour
  const long double result = x / power(Dec);
  // Decimal counts far past the range of the extended type would give an
  // infinity or NaN: rounding to so many decimals keeps the value, and to so
  // many tens leaves nothing.
  if (std::isfinite(Valor) && !std::isfinite(result)) return Dec > 0 ? Valor : 0.0;
  return static_cast<double>(result);
}

double NumberDateHelpers::rountToPrecision(double AValor) {
  if (!std::isfinite(AValor)) return AValor;
  const double whole = std::trunc(AValor);
  const double fraction = std::fabs(AValor - whole);
  if (fraction == 0) return AValor;
  // A negative value rounds its magnitude the same way and keeps its sign
  // (-2.1 gives -2.5), as a positive one does.
  const double step = fraction <= 0.5 ? 0.5 : 1.0;
  return AValor < 0 ? whole - step : whole + step;
}

double NumberDateHelpers::truncDecimal(double AValor, int AQtdeCasas, const platform::RegionalFormats& AFormats) {
  if (!std::isfinite(AValor)) return AValor;
  // The value's text has its 15 significant digits. It is written without an
  // exponent, so that a cut after the comma never drops the exponent of a
  // tiny value (1,5E-7 cut to one decimal would read 1,5).
  const std::string text = fixedText(toDecimalDigits(AValor, 15), AFormats.decimalSeparator, 0);
  const std::size_t comma = text.find(',');
  if (comma == std::string::npos) return textToFloat(text, AFormats);
  // A negative count keeps the whole part, never fewer digits than it has.
  const std::size_t keep = AQtdeCasas > 0 ? comma + 1 + static_cast<std::size_t>(AQtdeCasas) : comma;
  return textToFloat(text.substr(0, keep), AFormats);
}

double NumberDateHelpers::currencyToFloat(std::string_view AValor, const platform::RegionalFormats& AFormats) {
  const std::string kept = keepOnly(AValor, ",-");
  if (kept.empty()) return 0;
  return textToFloat(kept, AFormats);
}

double NumberDateHelpers::myTextToFloat(std::string_view AValor, const platform::RegionalFormats& AFormats) {
  // An empty text is zero whatever the decimal separator (as "0,00" it would
  // not convert where the separator is a point).
  if (AValor.empty()) return 0;
  std::string text;
  for (char c : AValor)
    if (c != '.') text += c;
  return textToFloat(text, AFormats);
}

std::string NumberDateHelpers::converterFloatSQLSimples(std::string_view AValor) {
  const std::string_view source = AValor.empty() ? std::string_view("0,00") : AValor;
  std::string text;
  for (char c : source) {
    if (c == '.') continue;
    text += c == ',' ? '.' : c;
  }
  return text;
}

double NumberDateHelpers::converterComprimentoStringToFloat(std::string_view AComprimento,
                                                            const platform::RegionalFormats& AFormats) {
  double value;
  return parseFloat(keepOnly(AComprimento, ","), AFormats.decimalSeparator, value) ? value : 0.0;
}

bool NumberDateHelpers::strIsFloat(std::string_view AStr, const platform::RegionalFormats& AFormats) {
  double value;
  return parseFloat(AStr, AFormats.decimalSeparator, value);
}

bool NumberDateHelpers::strIsDate(std::string_view AStr, const platform::RegionalFormats& AFormats) {
  TDateTime value;
  return tryTextToDate(AStr, AFormats, value);
}

bool NumberDateHelpers::strIsDateTime(std::string_view AStr, const platform::RegionalFormats& AFormats) {
  TDateTime value;
  return tryTextToDateTime(AStr, AFormats, value);
}

} // namespace vt::utils
