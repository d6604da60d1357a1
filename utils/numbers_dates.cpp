#include "utils/numbers_dates.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <vector>

#include "platform/clock.h"
#include "utils/numbers_dates_detail.h"
#include "utils/text.h"
#include "utils/utf8.h"

namespace vt::utils {
namespace {

using detail::fixedText;
using detail::formatFixed;
using detail::isDigit;
using detail::keepOnly;
using detail::notADateTime;
using detail::parseFloat;
using detail::scanDateTime;
using detail::toDecimalDigits;
using detail::twoDigits;

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

} // namespace

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
