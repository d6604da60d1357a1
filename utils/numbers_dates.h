#pragma once
// The number, date and time helpers of the utility module (a facet of
// TdmUtils): conversions between numbers, dates, times and their texts, the
// rounding rules and the comparisons; and the date-time value the whole system
// shares, with its calendar arithmetic and its formatting by Windows pictures.
//
// Operations that depend on the regional settings take them as their last
// parameter; the default reads the running user's (platform::userRegionalFormats).
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/clock.h"
#include "platform/regional.h"

namespace vt::utils {

// A date and time: days since 30 December 1899, the fraction being the time of
// day. Before that day the whole part counts backwards and the fraction still
// adds the time of day (-1.25 is 29 December 1899, 06:00). Valid from
// 1 January 0001 to 31 December 9999.
using TDateTime = double;
using TDate = TDateTime;
using TTime = TDateTime;

// A text that does not convert to the number, date or time asked for, or a
// date-time value outside the calendar.
class ConvertError : public std::invalid_argument {
public:
  using std::invalid_argument::invalid_argument;
};

// ---- Calendar arithmetic -------------------------------------------------

struct DateTimeParts {
  int year = 0, month = 0, day = 0;
  int hour = 0, minute = 0, second = 0, millisecond = 0;
  int dayOfWeek = 0; // 1 = Sunday ... 7 = Saturday
};

bool isLeapYear(int year);
// Days of the month; 0 for a month outside 1..12.
int daysInMonth(int year, int month);

// The date at midnight; false (result untouched) for a day that does not exist
// or a year outside 1..9999.
bool tryEncodeDate(int year, int month, int day, TDateTime& result);
TDateTime encodeDate(int year, int month, int day); // ConvertError when tryEncodeDate fails
// A time of day (hour 0..23, minute and second 0..59, millisecond 0..999).
bool tryEncodeTime(int hour, int minute, int second, int millisecond, TDateTime& result);
TDateTime encodeTime(int hour, int minute, int second, int millisecond);
// A date (whole days) with a time of day added, also before 30 December 1899.
TDateTime composeDateTime(TDateTime date, TDateTime timeOfDay);
// The parts of a value, to the nearest millisecond. ConvertError for a value
// that is not a finite number inside the calendar.
DateTimeParts decodeDateTime(TDateTime value);
bool isValidDateTime(TDateTime value);
int dayOfWeek(TDateTime value);   // 1 = Sunday ... 7 = Saturday
TDateTime dateOf(TDateTime value); // the same day at midnight
TDateTime timeOf(TDateTime value); // the time of day alone (a fraction of a day)
// The same day `months` months later (the last day of the month when it is
// shorter); the time of day stays.
TDateTime incMonth(TDateTime value, int months = 1);
// The last day of the month of `value`, at 23:59:59.999.
TDateTime endOfTheMonth(TDateTime value);

TDateTime fromLocalTime(const platform::LocalTime& time);
TDateTime nowDateTime(const platform::Clock& clock);

// Formats with a Windows date/time picture: d dd ddd dddd, M MM MMM MMMM,
// y yy yyyy, H HH (24 h), h hh (12 h), m mm, s ss, t tt (AM/PM) and text in
// single quotes ('' is a quote). Other characters are copied. Day and month
// names are the Brazilian ones.
std::string formatDateTime(std::string_view windowsPicture, TDateTime value);
// The platform's short date, a blank and the long time (the run log's stamp).
std::string formatShortDateLongTime(TDateTime value,
                                    const platform::RegionalFormats& formats = platform::userRegionalFormats());
// A date-time as the system writes it everywhere: the short date, then a
// blank and the long time, the time left out at exact midnight.
std::string dateTimeToText(TDateTime value, const platform::RegionalFormats& formats = platform::userRegionalFormats());

// ---- The facet -----------------------------------------------------------

struct NumberDateHelpers {
  // Day, month and year as digits joined by ASeparador ("-" or "/"; anything
  // else joins them with nothing) in the order AFormato names: "DDMMAAAA",
  // "AAAAMMDD" or "MMDDAAAA" (any other gives an empty text).
  static std::string dateToString(TDate ADate, std::string_view ASeparador, std::string_view AFormato);

  // Year from characters 1-4, month 6-7, day 9-10; today's date for a text
  // that does not make a date.
  static TDateTime getDateFromString(std::string_view AData);
  static TDateTime getDateFromString(std::string_view AData, const platform::Clock& AClock);

  // AData with ADataHoraSep turned into "T", read as date (order of
  // ADataFormat, separator "-") then time (separator ":"). ConvertError
  // "'%s' is not a valid date and time" when it does not convert.
  static TDateTime getDateTimeFromString(std::string_view AData, std::string_view ADataFormat,
                                         std::string_view AHora, std::string_view ADataHoraSep,
                                         const platform::RegionalFormats& AFormats = platform::userRegionalFormats());

  // A date and time with "/" and ":" read with the regional settings after
  // ".", "-", "_" and "\" are removed; false (and ARetornaDataHora untouched)
  // when it does not convert.
  static bool strParaDateTime(std::string_view ADataHora, TDateTime& ARetornaDataHora,
                              const platform::RegionalFormats& AFormats = platform::userRegionalFormats());

  // "hh:mm:ss" for a count of seconds (more hour digits past 99 hours).
  static std::string secToTime(int ASeg);
  // The time of day of a count of seconds, modulo one day.
  static TTime encodaHora(unsigned int ASeconds);
  // -1, 0 or 1 comparing two times by "T" (the values), "H" (hours), "M"
  // (hours, then minutes) or "S" (hours, minutes, seconds). ConvertError
  // "'%s' is not a valid integer value" for any other kind.
  static int compararHora(TTime AHoraOrigem, TTime AHoraComparar, std::string_view AComparar);
  // -1, 0 or 1 comparing two values written with ACasas decimals.
  static int compararValores(double AValorOrigem, double AValorComparar, std::string_view ACasas,
                             const platform::RegionalFormats& AFormats = platform::userRegionalFormats());

  // Rounds to Dec decimals looking only at the first decimal beyond them
  // (halves to the even neighbour).
  static double Arredondar(double Valor, int Dec);
  // Up to the next half unit: 2.1 and 2.5 give 2.5, 2.6 gives 3.0.
  static double rountToPrecision(double AValor);
  // Cut (not rounded) to AQtdeCasas characters after the comma of the value's text.
  static double truncDecimal(double AValor, int AQtdeCasas,
                             const platform::RegionalFormats& AFormats = platform::userRegionalFormats());

  // Text-to-number conversions (ConvertError "'%s' is not a valid floating
  // point value" where noted).
  static double currencyToFloat(std::string_view AValor, // digits, "," and "-" kept; raises
                                const platform::RegionalFormats& AFormats = platform::userRegionalFormats());
  static double myTextToFloat(std::string_view AValor, // "." removed; raises
                              const platform::RegionalFormats& AFormats = platform::userRegionalFormats());
  static std::string converterFloatSQLSimples(std::string_view AValor); // "1.234,56" -> "1234.56"
  static double converterComprimentoStringToFloat(std::string_view AComprimento, // 0 when not a number
                                                  const platform::RegionalFormats& AFormats = platform::userRegionalFormats());

  // Checks built on the conversions above: true when the text converts.
  static bool strIsFloat(std::string_view AStr,
                         const platform::RegionalFormats& AFormats = platform::userRegionalFormats());
  static bool strIsDate(std::string_view AStr,
                        const platform::RegionalFormats& AFormats = platform::userRegionalFormats());
  static bool strIsDateTime(std::string_view AStr,
                            const platform::RegionalFormats& AFormats = platform::userRegionalFormats());
};

// The regional conversions the facet is built on, for other modules.
// A floating-point text: blanks around, a sign, digits with the regional
// decimal separator, an optional exponent ("1,5E3"). No thousands separators.
bool tryTextToFloat(std::string_view text, const platform::RegionalFormats& formats, double& result);
double textToFloat(std::string_view text, const platform::RegionalFormats& formats); // ConvertError
// A date (and time) in the regional short date order and separators. A date
// of two numbers takes the current year; a two-digit year falls within 50
// years of it.
bool tryTextToDate(std::string_view text, const platform::RegionalFormats& formats, TDateTime& result);
bool tryTextToDateTime(std::string_view text, const platform::RegionalFormats& formats, TDateTime& result);

} // namespace vt::utils
