#pragma once
// The rule for the names of custom report layouts. A layout lives at
// C:\Quorvelin\reports\<DIRETORIO>\personalizados\<FILENAME>.fr3, so a file
// name or folder that holds a path separator or a drive colon, or that is "."
// or "..", would reach outside that folder. Such a row is refused wherever
// report rows come in from outside: the essential file, its legacy form and
// the online report table.
#include <optional>
#include <string>
#include <string_view>

namespace vt {

// True when the value cannot name a layout or its folder: it contains "\",
// "/" or ":", or is exactly "." or "..". The empty text passes (a company row).
bool isRefusedReportName(std::string_view value);

// The run-log line for a row whose FILENAME or DIRETORIO is refused, naming
// the offending value; nothing when the row may be used.
std::optional<std::string> refusedReportValue(std::string_view filename, std::string_view diretorio);

} // namespace vt
