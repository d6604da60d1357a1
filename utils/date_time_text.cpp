// Dates and times as texts: the pictures of the regional formats, and the
// platform's reading of a date, a time or both.
#include <array>
#include <cstdio>
#include <string>

#include "platform/clock.h"
#include "utils/numbers_dates.h"
#include "utils/numbers_dates_detail.h"

namespace vt::utils {
namespace {

using detail::isDigit;
using detail::twoDigits;

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

namespace detail {

std::string twoDigits(int n) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d", n);
  return buf;
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

} // namespace detail

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

bool tryTextToDate(std::string_view text, const platform::RegionalFormats& formats, TDateTime& result) {
  Scanner sc{text};
  TDateTime date;
  if (!scanDate(sc, formats, date) || !sc.atEnd()) return false;
  result = date;
  return true;
}

bool tryTextToDateTime(std::string_view text, const platform::RegionalFormats& formats, TDateTime& result) {
  return detail::scanDateTime(text, formats, result);
}

} // namespace vt::utils
