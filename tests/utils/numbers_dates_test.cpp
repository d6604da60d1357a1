#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/clock.h"
#include "utils/numbers_dates.h"

namespace vt::utils {
namespace {

using H = NumberDateHelpers;
const platform::RegionalFormats kBr = platform::brazilianFormats();
const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

platform::RegionalFormats pointFormats() {
  platform::RegionalFormats f;
  f.shortDateFormat = "M/d/yyyy";
  f.longTimeFormat = "h:mm:ss tt";
  f.decimalSeparator = '.';
  f.thousandSeparator = ',';
  return f;
}

TDateTime at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
  return composeDateTime(encodeDate(y, mo, d), encodeTime(h, mi, s, ms));
}

std::string iso(TDateTime v) { return formatDateTime("yyyy-MM-dd HH:mm:ss", v); }

// ---- The date-time value --------------------------------------------------

TEST(DateTimeValue, CountsDaysFromTheLastDaysOf1899BothWays) {
  EXPECT_EQ(encodeDate(1899, 12, 30), 0.0);
  EXPECT_EQ(encodeDate(1900, 1, 1), 2.0);
  EXPECT_EQ(encodeDate(2024, 3, 5), 45356.0);
  EXPECT_EQ(encodeDate(1, 1, 1), -693593.0);
  EXPECT_EQ(encodeDate(9999, 12, 31), 2958465.0);
  // Before the epoch the fraction still adds the time of day.
  EXPECT_EQ(iso(-1.25), "1899-12-29 06:00:00");
  EXPECT_EQ(at(1899, 12, 29, 6), -1.25);
  EXPECT_EQ(iso(at(2024, 2, 29, 23, 59, 59)), "2024-02-29 23:59:59");
}

TEST(DateTimeValue, RejectsDaysThatDoNotExistAndValuesOutsideTheCalendar) {
  TDateTime d = 7;
  EXPECT_FALSE(tryEncodeDate(2023, 2, 29, d));
  EXPECT_FALSE(tryEncodeDate(1900, 2, 29, d)); // a century is no leap year...
  EXPECT_TRUE(tryEncodeDate(2000, 2, 29, d));  // ...unless it is a fourth one
  EXPECT_FALSE(tryEncodeDate(0, 1, 1, d));
  EXPECT_FALSE(tryEncodeDate(10000, 1, 1, d));
  EXPECT_FALSE(tryEncodeDate(2024, 13, 1, d));
  EXPECT_FALSE(tryEncodeDate(2024, 4, 0, d));
  EXPECT_THROW(encodeDate(2024, 4, 31), ConvertError);
  EXPECT_THROW(encodeTime(24, 0, 0, 0), ConvertError);
  for (double bad : {kNaN, kInf, -kInf, 3e6, -7e5, 1e300})
    EXPECT_THROW(decodeDateTime(bad), ConvertError) << bad;
  EXPECT_NO_THROW(decodeDateTime(at(9999, 12, 31, 23, 59, 59, 999)));
}

TEST(DateTimeValue, MonthArithmeticKeepsTheDayWhereTheMonthHasItAndTheTime) {
  EXPECT_EQ(iso(incMonth(at(2024, 1, 31, 10, 20, 30))), "2024-02-29 10:20:30");
  EXPECT_EQ(iso(incMonth(at(2023, 1, 31))), "2023-02-28 00:00:00");
  EXPECT_EQ(iso(incMonth(at(2024, 12, 15))), "2025-01-15 00:00:00");
  EXPECT_EQ(iso(incMonth(at(2024, 3, 31), -1)), "2024-02-29 00:00:00");
  EXPECT_EQ(iso(incMonth(at(2024, 1, 1), -13)), "2022-12-01 00:00:00");
  EXPECT_THROW(incMonth(at(9999, 12, 1)), ConvertError);
  const DateTimeParts end = decodeDateTime(endOfTheMonth(at(2024, 2, 3, 8)));
  EXPECT_EQ(iso(endOfTheMonth(at(2024, 2, 3, 8))), "2024-02-29 23:59:59");
  EXPECT_EQ(end.millisecond, 999);
  EXPECT_EQ(dayOfWeek(at(2024, 3, 5)), 3); // a Tuesday
  EXPECT_EQ(dayOfWeek(at(1899, 12, 30)), 7);
  EXPECT_EQ(dayOfWeek(at(1, 1, 1)), 2);
}

TEST(DateTimeValue, ComesFromTheClocksLocalTime) {
  platform::ManualClock clock({2026, 12, 10, 9, 30, 15, 250, 5});
  EXPECT_EQ(nowDateTime(clock), at(2026, 12, 10, 9, 30, 15, 250));
  const DateTimeParts p = decodeDateTime(nowDateTime(clock));
  EXPECT_EQ(p.millisecond, 250);
  EXPECT_EQ(p.dayOfWeek, 5);
}

TEST(FormatDateTime, FollowsWindowsPictures) {
  const TDateTime v = at(2024, 3, 5, 14, 7, 9);
  struct Case { const char* picture; const char* expected; } cases[] = {
      {"dd/MM/yyyy", "05/03/2024"},
      {"d/M/yy", "5/3/24"},
      {"y", "24"},
      {"HH:mm:ss", "14:07:09"},
      {"H:m:s", "14:7:9"},
      {"hh:mm tt", "02:07 PM"},
      {"h t", "2 P"},
      {"dddd, d 'de' MMMM 'de' yyyy", "terça-feira, 5 de março de 2024"},
      {"ddd MMM", "ter mar"},
      {"'It''s' HH'h'", "It's 14h"},
      {"yyyy-MM-ddTHH", "2024-03-05T14"},
  };
  for (const auto& c : cases) EXPECT_EQ(formatDateTime(c.picture, v), c.expected) << c.picture;
  EXPECT_EQ(formatDateTime("hh tt", at(2024, 3, 5, 0, 30)), "12 AM");
  EXPECT_EQ(formatDateTime("yyyy", at(812, 1, 1)), "0812");
}

TEST(FormatDateTime, RunLogStampIsShortDateBlankLongTime) {
  EXPECT_EQ(formatShortDateLongTime(at(2026, 12, 10, 9, 5, 3), kBr), "10/12/2026 09:05:03");
  EXPECT_EQ(formatShortDateLongTime(at(2026, 12, 10, 21, 5, 3), pointFormats()), "12/10/2026 9:05:03 PM");
}

// ---- Dates and their texts -------------------------------------------------

TEST(DateToString, JoinsTheDigitsInTheOrderAndWithTheSeparatorAsked) {
  const TDate d = encodeDate(2024, 3, 5);
  struct Case { const char* sep; const char* format; const char* expected; } cases[] = {
      {"", "DDMMAAAA", "05032024"},   {"/", "AAAAMMDD", "2024/03/05"}, {"-", "MMDDAAAA", "03-05-2024"},
      {".", "DDMMAAAA", "05032024"},  {"//", "DDMMAAAA", "05032024"},  {"/", "DDMMYYYY", ""},
      {"/", "ddmmaaaa", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(H::dateToString(d, c.sep, c.format), c.expected) << c.sep << c.format;
  EXPECT_EQ(H::dateToString(encodeDate(24, 12, 1), "/", "DDMMAAAA"), "01/12/2024"); // a two-digit year
  EXPECT_EQ(H::dateToString(encodeDate(7, 12, 1), "/", "DDMMAAAA"), "01/12/7");
  EXPECT_THROW(H::dateToString(kNaN, "/", "DDMMAAAA"), ConvertError);
}

TEST(GetDateFromString, ReadsFixedPositionsAndFallsBackToToday) {
  platform::ManualClock clock({2026, 12, 10, 9, 30, 0, 0, 5});
  const TDateTime today = encodeDate(2026, 12, 10);
  struct Case { const char* text; TDateTime expected; } cases[] = {
      {"2024-03-05", encodeDate(2024, 3, 5)},
      {"2024/03/05", encodeDate(2024, 3, 5)},
      {"2024x03y05 and more", encodeDate(2024, 3, 5)},
      {"2024-02-29", encodeDate(2024, 2, 29)},
      {"2024-02-30", today},
      {"2023-02-29", today},
      {"", today},
      {"2024-3-5", today},
      {"abcd-03-05", today},
      {"0000-01-01", today},
      {"2024-03", today},
      {"2024-00-05", today},
      {"2024é03-05", encodeDate(2024, 3, 5)}, // one character at position 5, whatever its bytes
  };
  for (const auto& c : cases) EXPECT_EQ(H::getDateFromString(c.text, clock), c.expected) << c.text;
}

TEST(GetDateTimeFromString, ReadsWithTheGivenDateOrderAndSeparator) {
  EXPECT_EQ(iso(H::getDateTimeFromString("2024-03-05T10:20:30", "yyyy-MM-dd", "hh:nn:ss", "T", kBr)),
            "2024-03-05 10:20:30");
  EXPECT_EQ(iso(H::getDateTimeFromString("2024-03-05 10:20", "yyyy-MM-dd", "hh:nn", " ", kBr)),
            "2024-03-05 10:20:00");
  EXPECT_EQ(iso(H::getDateTimeFromString("05-03-2024@08:01:02", "dd-MM-yyyy", "hh:nn:ss", "@", kBr)),
            "2024-03-05 08:01:02");
  EXPECT_EQ(iso(H::getDateTimeFromString("2024-03-05", "yyyy-MM-dd", "hh:nn:ss", "T", kBr)),
            "2024-03-05 00:00:00");
  // The regional settings of the machine play no part in the separators.
  EXPECT_EQ(iso(H::getDateTimeFromString("2024-03-05T10:20:30", "yyyy-MM-dd", "hh:nn:ss", "T", pointFormats())),
            "2024-03-05 10:20:30");
}

TEST(GetDateTimeFromString, RaisesTheConversionErrorWithTheText) {
  struct Case { const char* text; const char* shown; } cases[] = {
      {"2024-02-30T10:00:00", "'2024-02-30T10:00:00' is not a valid date and time"},
      {"2024-03-05 25:00", "'2024-03-05T25:00' is not a valid date and time"},
      {"2024/03/05 10:00", "'2024/03/05T10:00' is not a valid date and time"},
      {"", "'' is not a valid date and time"},
      {"2024-03-05 10:00 x", "'2024-03-05T10:00Tx' is not a valid date and time"},
  };
  for (const auto& c : cases) {
    try {
      H::getDateTimeFromString(c.text, "yyyy-MM-dd", "hh:nn", " ", kBr);
      ADD_FAILURE() << c.text;
    } catch (const std::invalid_argument& e) {
      EXPECT_STREQ(e.what(), c.shown);
    }
  }
}

TEST(StrParaDateTime, NeedsSlashesAndColonsAndLeavesTheResultOnFailure) {
  struct Case { const char* text; bool ok; const char* expected; } cases[] = {
      {"01/02/2024 10:20:30", true, "2024-02-01 10:20:30"},
      {"01/02/2024 10:20", true, "2024-02-01 10:20:00"},
      {"01/02/2024 10:20:30.", true, "2024-02-01 10:20:30"},
      {"0-1/02/2024 1_0:2\\0", true, "2024-02-01 10:20:00"},
      {"01/02/2024", false, ""},
      {"10:20:30", false, ""},
      {"1/2/3/4 10:20", false, ""},
      {"01/02/2024 1:2:3:4", false, ""},
      {"", false, ""},
      {"31/02/2024 10:20", false, ""},
      {"01/02/2024 10:61", false, ""},
      {"ab/cd 10:20", false, ""},
  };
  for (const auto& c : cases) {
    TDateTime value = 123.5;
    EXPECT_EQ(H::strParaDateTime(c.text, value, kBr), c.ok) << c.text;
    if (c.ok) EXPECT_EQ(iso(value), c.expected) << c.text;
    else EXPECT_EQ(value, 123.5) << c.text;
  }
}

TEST(DateChecks, FollowTheRegionalDateOrder) {
  EXPECT_TRUE(H::strIsDate("05/03/2024", kBr));
  EXPECT_TRUE(H::strIsDate(" 5/3/2024 ", kBr));
  EXPECT_TRUE(H::strIsDate("05/03/24", kBr));
  EXPECT_TRUE(H::strIsDate("05/03", kBr)); // this year
  EXPECT_FALSE(H::strIsDate("31/04/2024", kBr));
  EXPECT_FALSE(H::strIsDate("2024-03-05", kBr));
  EXPECT_FALSE(H::strIsDate("05/03/2024 10:00", kBr));
  EXPECT_FALSE(H::strIsDate("", kBr));
  EXPECT_TRUE(H::strIsDate("12/31/2024", pointFormats()));
  EXPECT_FALSE(H::strIsDate("31/12/2024", pointFormats()));

  TDateTime v;
  ASSERT_TRUE(tryTextToDate("5/3/24", kBr, v));
  EXPECT_EQ(v, encodeDate(2024, 3, 5));

  EXPECT_TRUE(H::strIsDateTime("05/03/2024 10:20:30", kBr));
  EXPECT_TRUE(H::strIsDateTime("05/03/2024", kBr));
  EXPECT_TRUE(H::strIsDateTime("10:20", kBr));
  EXPECT_TRUE(H::strIsDateTime("05/03/2024 10:20:30,500", kBr));
  EXPECT_FALSE(H::strIsDateTime("05/03/2024 24:00", kBr));
  EXPECT_FALSE(H::strIsDateTime("05/03/2024 abc", kBr));
  EXPECT_TRUE(H::strIsDateTime("3/5/2024 2:05 PM", pointFormats()));
  ASSERT_TRUE(tryTextToDateTime("3/5/2024 12:05 AM", pointFormats(), v));
  EXPECT_EQ(iso(v), "2024-03-05 00:05:00");
  EXPECT_FALSE(H::strIsDateTime("3/5/2024 13:05 PM", pointFormats()));
}

// ---- Times -------------------------------------------------------------------

TEST(SecToTime, WritesHoursMinutesAndSeconds) {
  struct Case { int seconds; const char* expected; } cases[] = {
      {0, "00:00:00"}, {3725, "01:02:05"}, {59, "00:00:59"}, {86399, "23:59:59"},
      {360000, "100:00:00"}, {2147483647, "596523:14:07"}, {-3725, "-01:02:05"},
      {std::numeric_limits<int>::min(), "-596523:14:08"},
  };
  for (const auto& c : cases) EXPECT_EQ(H::secToTime(c.seconds), c.expected) << c.seconds;
}

TEST(EncodaHora, TakesTheSecondsModuloOneDay) {
  EXPECT_EQ(H::encodaHora(90061), encodeTime(1, 1, 1, 0));
  EXPECT_EQ(H::encodaHora(0), 0.0);
  EXPECT_EQ(H::encodaHora(86399), encodeTime(23, 59, 59, 0));
  EXPECT_EQ(H::encodaHora(86400), 0.0);
  EXPECT_EQ(H::encodaHora(4294967295u), encodeTime(6, 28, 15, 0));
}

TEST(CompararHora, ComparesAtTheChosenPrecision) {
  const TTime t0859 = encodeTime(8, 59, 0, 0), t0800 = encodeTime(8, 0, 0, 0);
  struct Case { TTime a, b; const char* kind; int expected; } cases[] = {
      {t0859, t0800, "H", 0},
      {t0859, t0800, "M", 1},
      {t0800, t0859, "M", -1},
      {t0859, t0800, "S", 1},
      {encodeTime(8, 0, 5, 0), encodeTime(8, 0, 4, 999), "S", 1},
      {encodeTime(8, 0, 4, 100), encodeTime(8, 0, 4, 900), "S", 0},
      {encodeTime(8, 0, 4, 100), encodeTime(8, 0, 4, 900), "T", -1},
      {t0800, t0800, "T", 0},
      {encodeTime(9, 0, 0, 0), encodeTime(8, 59, 59, 0), "S", 1},
      {encodeTime(7, 30, 0, 0), t0800, "H", -1},
  };
  for (const auto& c : cases) EXPECT_EQ(H::compararHora(c.a, c.b, c.kind), c.expected) << c.kind;
  for (const char* kind : {"X", "h", "", "HM"}) {
    try {
      H::compararHora(t0800, t0800, kind);
      ADD_FAILURE() << kind;
    } catch (const ConvertError& e) {
      EXPECT_EQ(std::string(e.what()), std::string("'") + kind + "' is not a valid integer value");
    }
  }
}

// ---- Numbers -------------------------------------------------------------------

TEST(CompararValores, ComparesTheValuesWrittenWithTheDecimalsAsked) {
  struct Case { double a, b; const char* casas; int expected; } cases[] = {
      {1.004, 1.001, "2", 0},
      {1.006, 1.001, "2", 1},
      {1.001, 1.006, "2", -1},
      {0.125, 0.13, "2", 0},   // the half goes away from zero, as the written text has it
      {-0.125, -0.13, "2", 0},
      {2.5, 3.4, "0", 0},
      {1.2341, 1.2344, "3", 0},
      {1.2341, 1.2344, "4", -1},
      {1e20, 1e20 + 1e5, "2", -1},
      {0.1 + 0.2, 0.3, "30", 1}, // more decimals than a double holds: the values as they are
  };
  for (const auto& c : cases)
    EXPECT_EQ(H::compararValores(c.a, c.b, c.casas, kBr), c.expected) << c.a << " " << c.b << " " << c.casas;
  EXPECT_EQ(H::compararValores(1.004, 1.001, "2", pointFormats()), 0);
  EXPECT_EQ(H::compararValores(kInf, 1, "2", kBr), 1);
  EXPECT_NO_THROW(H::compararValores(kNaN, 1, "2", kBr));
  for (const char* casas : {"x", "", "-1", "2f"}) EXPECT_THROW(H::compararValores(1, 2, casas, kBr), ConvertError);
}

TEST(Arredondar, LooksOnlyAtTheFirstDecimalBeyondAndSendsHalvesToEven) {
  struct Case { double value; int dec; double expected; } cases[] = {
      {2.3449, 2, 2.34}, {2.3461, 2, 2.35},
      {2.3459, 2, 2.34}, // the second decimal beyond plays no part
      {2.3451, 2, 2.34}, // a half goes to the even neighbour...
      {2.3551, 2, 2.36}, // ...both ways
      {-2.3551, 2, -2.36}, {-2.3461, 2, -2.35},
      {2.5, 0, 2.0}, {3.5, 0, 4.0}, {-2.5, 0, -2.0},
      {1234.0, -1, 1230.0}, {1255.0, -1, 1260.0}, {1245.0, -1, 1240.0},
      {0.0, 2, 0.0}, {1e300, 2, 1e300},
  };
  for (const auto& c : cases)
    EXPECT_DOUBLE_EQ(H::Arredondar(c.value, c.dec), c.expected) << c.value << " " << c.dec;
}

TEST(Arredondar, SurvivesValuesAndDecimalCountsOutOfRange) {
  EXPECT_TRUE(std::isnan(H::Arredondar(kNaN, 2)));
  EXPECT_EQ(H::Arredondar(kInf, 2), kInf);
  EXPECT_EQ(H::Arredondar(-kInf, 2), -kInf);
  EXPECT_EQ(H::Arredondar(1.5, 100000), 1.5);
  EXPECT_EQ(H::Arredondar(1.5, std::numeric_limits<int>::max()), 1.5);
  EXPECT_EQ(H::Arredondar(1.5, -100000), 0.0);
  EXPECT_EQ(H::Arredondar(1.5, std::numeric_limits<int>::min()), 0.0);
}

TEST(RountToPrecision, GoesUpToTheNextHalfUnit) {
  struct Case { double value, expected; } cases[] = {
      {2.0, 2.0}, {2.1, 2.5}, {2.5, 2.5}, {2.6, 3.0}, {2.99, 3.0}, {0.01, 0.5}, {0.0, 0.0},
      // A negative value is rounded by its magnitude and keeps its sign.
      {-2.1, -2.5}, {-2.5, -2.5}, {-2.6, -3.0}, {-3.0, -3.0},
  };
  for (const auto& c : cases) EXPECT_EQ(H::rountToPrecision(c.value), c.expected) << c.value;
  EXPECT_TRUE(std::isnan(H::rountToPrecision(kNaN)));
  EXPECT_EQ(H::rountToPrecision(kInf), kInf);
}

TEST(TruncDecimal, CutsTheTextAfterTheComma) {
  struct Case { double value; int casas; double expected; } cases[] = {
      {2.3449, 2, 2.34}, {2.3499, 2, 2.34}, {-2.3499, 2, -2.34}, {2.3, 5, 2.3}, {2.0, 2, 2.0},
      {12.75, 0, 12.0}, {12.75, -3, 12.0}, // never fewer than the whole part
      {0.1 + 0.2, 2, 0.3},                 // the text has 15 significant digits
      {1.5e-7, 1, 0.0},                    // a tiny value is no "1,5" whatever its text
      {1.5e-7, 7, 1e-7},
      {1e20, 2, 1e20},
  };
  for (const auto& c : cases)
    EXPECT_DOUBLE_EQ(H::truncDecimal(c.value, c.casas, kBr), c.expected) << c.value << " " << c.casas;
  // Where the decimal separator is a point the text has no comma to cut at.
  EXPECT_DOUBLE_EQ(H::truncDecimal(2.3449, 2, pointFormats()), 2.3449);
  EXPECT_TRUE(std::isnan(H::truncDecimal(kNaN, 2, kBr)));
  EXPECT_EQ(H::truncDecimal(-kInf, 2, kBr), -kInf);
}

TEST(TextToNumber, ConvertsWithTheRegionalSeparator) {
  EXPECT_DOUBLE_EQ(H::currencyToFloat("R$ -12,50", kBr), -12.5);
  EXPECT_DOUBLE_EQ(H::currencyToFloat("R$ 1.234,56", kBr), 1234.56);
  EXPECT_EQ(H::currencyToFloat("R$", kBr), 0.0);
  EXPECT_EQ(H::currencyToFloat("", kBr), 0.0);
  EXPECT_THROW(H::currencyToFloat("1,2,3", kBr), ConvertError);
  EXPECT_THROW(H::currencyToFloat("12-5", kBr), ConvertError);

  EXPECT_DOUBLE_EQ(H::myTextToFloat("1.234,56", kBr), 1234.56);
  EXPECT_EQ(H::myTextToFloat("", kBr), 0.0);
  EXPECT_EQ(H::myTextToFloat("", pointFormats()), 0.0);
  EXPECT_DOUBLE_EQ(H::myTextToFloat(" -1,5E3 ", kBr), -1500.0);
  try {
    H::myTextToFloat("12abc", kBr);
    ADD_FAILURE();
  } catch (const ConvertError& e) {
    EXPECT_STREQ(e.what(), "'12abc' is not a valid floating point value");
  }

  EXPECT_EQ(H::converterFloatSQLSimples("1.234,56"), "1234.56");
  EXPECT_EQ(H::converterFloatSQLSimples(""), "0.00");
  EXPECT_EQ(H::converterFloatSQLSimples("-7"), "-7");

  EXPECT_DOUBLE_EQ(H::converterComprimentoStringToFloat("1,5 m", kBr), 1.5);
  EXPECT_DOUBLE_EQ(H::converterComprimentoStringToFloat("-2,25", kBr), 2.25);
  EXPECT_EQ(H::converterComprimentoStringToFloat("1,5,6", kBr), 0.0);
  EXPECT_EQ(H::converterComprimentoStringToFloat("abc", kBr), 0.0);
  EXPECT_EQ(H::converterComprimentoStringToFloat("1,5", pointFormats()), 0.0);
}

TEST(StrIsFloat, AcceptsWhatTheConversionAccepts) {
  struct Case { const char* text; bool br; bool point; } cases[] = {
      {"1,5", true, false},  {"1.5", false, true}, {" -1,5 ", true, false}, {"+3", true, true},
      {",5", true, false},   {"5,", true, false},  {"1,5e-3", true, false}, {"1E5", true, true},
      {"1,5e", false, false}, {"", false, false}, {" ", false, false},     {",", false, false},
      {"1.234,5", false, false}, {"1e999", false, false}, {"--1", false, false}, {"NaN", false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(H::strIsFloat(c.text, kBr), c.br) << c.text;
    EXPECT_EQ(H::strIsFloat(c.text, pointFormats()), c.point) << c.text;
  }
}

} // namespace
} // namespace vt::utils
