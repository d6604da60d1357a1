#include "platform/regional.h"

#include <windows.h>

#include "platform/encoding.h"

namespace vt::platform {
namespace {

std::string localeText(LCTYPE type, const char* fallback) {
  wchar_t buffer[128] = {};
  int n = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, buffer, 128);
  if (n <= 1) return fallback;
  return wideToUtf8(std::wstring_view(buffer, static_cast<size_t>(n - 1)));
}

char localeChar(LCTYPE type, char fallback) {
  std::string text = localeText(type, "");
  return (text.size() == 1) ? text[0] : fallback;
}

} // namespace

RegionalFormats brazilianFormats() { return RegionalFormats{}; }

RegionalFormats userRegionalFormats() {
  RegionalFormats f;
  f.shortDateFormat = localeText(LOCALE_SSHORTDATE, "dd/MM/yyyy");
  f.longTimeFormat = localeText(LOCALE_STIMEFORMAT, "HH:mm:ss");
  f.dateSeparator = localeChar(LOCALE_SDATE, '/');
  f.timeSeparator = localeChar(LOCALE_STIME, ':');
  f.decimalSeparator = localeChar(LOCALE_SDECIMAL, ',');
  f.thousandSeparator = localeChar(LOCALE_STHOUSAND, '.');
  return f;
}

} // namespace vt::platform
