#pragma once
// Rows of the report table for tests: short builders and a readable print.
#include <iomanip>
#include <ostream>
#include <string>

#include "terminal/report_table.h"
#include "utils/numbers_dates.h"

namespace vt {

inline void PrintTo(const ReportRow& row, std::ostream* os) {
  *os << "{" << row.HANDLE << ", \"" << row.FILENAME << "\", \"" << row.DIRETORIO << "\", ";
  if (row.DATAALT)
    *os << utils::formatDateTime("dd/MM/yyyy HH:mm:ss", *row.DATAALT) << " (" << std::setprecision(17)
        << *row.DATAALT << ")";
  else
    *os << "null";
  *os << "}";
}

namespace test {

// The value the online query and the date reading give for that moment.
inline utils::TDateTime at(int y, int m, int d, int h = 0, int n = 0, int s = 0) {
  return utils::composeDateTime(utils::encodeDate(y, m, d), utils::encodeTime(h, n, s, 0));
}
inline ReportRow company(int handle) { return ReportRow{handle, "", "", std::nullopt}; }
inline ReportRow report(int handle, std::string file, std::string folder, utils::TDateTime date) {
  return ReportRow{handle, std::move(file), std::move(folder), date};
}

} // namespace test
} // namespace vt
