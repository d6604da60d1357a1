// Calendar arithmetic of the date-time values: days counted from 30
// December 1899, the time of day as the fraction.
#include <algorithm>
#include <cmath>
#include <string>

#include "platform/clock.h"
#include "utils/numbers_dates.h"

namespace vt::utils {
namespace {

constexpr long long kMsPerDay = 86400000LL;
// 1 January 0001 and 31 December 9999, 23:59:59.999, as date-time values.
constexpr double kMinDateTime = -693593.0;
constexpr double kMaxDateTime = 2958465.99999999;

using platform::civilFromDays;
using platform::daysFromCivil;

// 30 December 1899 is day -25569 counted from 1970.
constexpr long long kEpochShift = 25569;

} // namespace

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

} // namespace vt::utils
