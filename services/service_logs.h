#pragma once
// What the two service logs share: the day's file name and the append of one
// line in the system's code page, ended by CR LF.
#include <string>
#include <string_view>

namespace vt::platform {
class Clock;
}

namespace vt::services {

// The install root the service logs live under (not the launcher folder).
inline constexpr std::string_view kLogsFolder = "C:\\Quorvelin\\logs";

// Today's date as the file names carry it: "05032024" for 5 March 2024.
std::string logFileDate(const platform::Clock& clock);
// The time of day in the user's long time format ("14:05:09").
std::string logTime(const platform::Clock& clock);
// The date in the user's short date format, " - ", the long time.
std::string logDateAndTime(const platform::Clock& clock);

// Creates the folder with its parents; throws OsError when it cannot.
void ensureFolder(std::string_view folder);
// Appends the line and CR LF, creating the file; throws OsError when the
// file cannot be opened or written.
void appendLogLine(std::string_view file, std::string_view line);

} // namespace vt::services
