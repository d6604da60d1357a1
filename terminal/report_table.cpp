#include "terminal/report_table.h"

#include <stdexcept>
#include <utility>

#include "platform/encoding.h"

namespace vt {

void ReportTable::Close() {
  rows_.clear();
  index_ = 0;
  eof_ = true;
  active_ = false;
}

void ReportTable::CreateDataSet() {
  Close();
  active_ = true;
  changed_ = false;
}

void ReportTable::First() {
  index_ = 0;
  eof_ = rows_.empty();
}

void ReportTable::Next() {
  if (index_ + 1 < rows_.size()) ++index_;
  else eof_ = true;
}

void ReportTable::SetRecNo(int recNo) {
  if (recNo < 1 || recNo > RecordCount())
    throw std::out_of_range("report table: no row " + std::to_string(recNo));
  index_ = static_cast<std::size_t>(recNo - 1);
  eof_ = false;
}

const ReportRow& ReportTable::Current() const {
  static const ReportRow none;
  return rows_.empty() ? none : rows_[index_];
}

void ReportTable::Append(ReportRow row) {
  if (!active_) throw std::logic_error("report table: cannot add a row to a closed table");
  row.FILENAME = platform::firstCharacters(row.FILENAME, kTextFieldSize);
  row.DIRETORIO = platform::firstCharacters(row.DIRETORIO, kTextFieldSize);
  rows_.push_back(std::move(row));
  index_ = rows_.size() - 1;
  eof_ = false;
}

void ReportTable::SetDataAlt(utils::TDateTime value) {
  if (rows_.empty()) throw std::logic_error("report table: no current row to change");
  rows_[index_].DATAALT = value;
}

} // namespace vt
