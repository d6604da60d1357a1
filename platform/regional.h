#pragma once
// The user's regional formats. Windows reads them from the user's locale; the
// POSIX port uses the Brazilian ones the terminals are set to.
#include <string>

namespace vt::platform {

struct RegionalFormats {
  std::string shortDateFormat = "dd/MM/yyyy"; // Windows picture ("dd/MM/yyyy")
  std::string longTimeFormat = "HH:mm:ss";    // Windows picture ("HH:mm:ss")
  char dateSeparator = '/';
  char timeSeparator = ':';
  char decimalSeparator = ',';
  char thousandSeparator = '.';
};

// The Brazilian formats, also what tests use to pin results.
RegionalFormats brazilianFormats();

// The formats of the running user, read once per call (cheap; no caching so a
// change in the control panel is seen by the next run step, as on Windows).
RegionalFormats userRegionalFormats();

} // namespace vt::platform
