#include "services/service_logs.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "platform/clock.h"
#include "platform/encoding.h"
#include "platform/files.h"
#include "platform/os_error.h"
#include "platform/path.h"
#include "platform/regional.h"
#include "utils/numbers_dates.h"
#include "utils/text.h"

namespace vt::services {

std::string logFileDate(const platform::Clock& clock) {
  const std::string date = utils::NumberDateHelpers::dateToString(utils::nowDateTime(clock), "/", "DDMMAAAA");
  return utils::TextHelpers::soNumericos(date);
}

std::string logTime(const platform::Clock& clock) {
  return utils::formatDateTime(platform::userRegionalFormats().longTimeFormat, utils::nowDateTime(clock));
}

std::string logDateAndTime(const platform::Clock& clock) {
  const platform::RegionalFormats formats = platform::userRegionalFormats();
  const utils::TDateTime now = utils::nowDateTime(clock);
  return utils::formatDateTime(formats.shortDateFormat, now) + " - " + utils::formatDateTime(formats.longTimeFormat, now);
}

void ensureFolder(std::string_view folder) {
  if (platform::directoryExists(folder)) return;
  std::error_code ec;
  const std::filesystem::path host = platform::toHost(folder);
  std::filesystem::create_directories(host, ec);
  std::error_code probe;
  if (!std::filesystem::is_directory(host, probe)) {
    const std::string reason = ec ? ec.message() : platform::OsError::messageFor(EEXIST);
    throw platform::OsError(ec ? ec.value() : EEXIST, "Cannot create folder \"" + std::string(folder) + "\". " + reason);
  }
}

void appendLogLine(std::string_view file, std::string_view line) {
  errno = 0;
  if (!platform::appendToFile(file, platform::utf8ToFileText(std::string(line) + "\r\n"))) {
    const long code = errno != 0 ? errno : 5;
    throw platform::OsError(code, "Cannot open file \"" + std::string(file) + "\". " +
                                      platform::OsError::messageFor(code));
  }
}

} // namespace vt::services
