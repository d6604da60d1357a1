#pragma once
// Small decisions of the suite update, kept apart so they read (and are
// tested) on their own.
#include <functional>
#include <string>
#include <string_view>

namespace vt {

class ReportTable;

// The distinct handles of consecutive rows of the table, in decimal, joined
// by "," ("7,12,7" for rows 7, 12, 7); "***" for an empty table. A company
// with handle 0 never enters it. `eachRow` runs once per row walked; the walk
// leaves the table on its last row.
std::string buildHandleList(ReportTable& table, const std::function<void()>& eachRow = {});

// The version a company with release number `release` (above 0) must run:
// the digits of its SCO_VERSAO without their last two, followed by the
// release in decimal, at least two digits ("2.03.10.00" and 5 give "2031005").
std::string releaseTarget(std::string_view scoVersao, int release);

} // namespace vt
