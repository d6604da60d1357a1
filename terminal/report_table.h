#pragma once
// The report table (cdsDados of the terminal-data module): the registered
// client companies and their custom report layouts, carried in memory from the
// reading of the essential file through the update to its rewrite.
//
// It is a small dataset: four fields (HANDLE, FILENAME, DIRETORIO, DATAALT),
// no key and no index, rows in the order they were added, a handle may have
// many rows. A cursor names the current row, as the run's walks expect: a walk
// that reaches the end leaves it on the last row, and an appended row becomes
// the current one. The changed flag says whether the essential file must be
// written back.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "utils/numbers_dates.h"

namespace vt {

struct ReportRow {
  int HANDLE = 0;
  std::string FILENAME;  // layout name without ".fr3"; empty in a company row
  std::string DIRETORIO; // report folder below reports\ ; empty in a company row
  std::optional<utils::TDateTime> DATAALT; // last change of the layout; may be null in a company row

  bool operator==(const ReportRow&) const = default;
};

class ReportTable {
public:
  // FILENAME and DIRETORIO hold at most this many characters; longer texts
  // are cut to it when a row is added, as a text field of that size does.
  static constexpr std::size_t kTextFieldSize = 255;

  bool Active() const { return active_; }
  void Open() { active_ = true; }
  // Closing drops the rows: the table lives only in memory.
  void Close();
  // Empties the table, opens it and clears the changed flag.
  void CreateDataSet();

  int RecordCount() const { return static_cast<int>(rows_.size()); }
  bool IsEmpty() const { return rows_.empty(); }

  // Cursor. RecNo counts from 1 (0 when the table is empty). Eof is true on an
  // empty table and after Next on the last row, which stays the current row.
  void First();
  void Next();
  bool Eof() const { return eof_; }
  int RecNo() const { return rows_.empty() ? 0 : static_cast<int>(index_) + 1; }
  // Moves to the row with that number (1..RecordCount); std::out_of_range otherwise.
  void SetRecNo(int recNo);

  // The current row; a row of null fields (HANDLE 0, empty texts, no date)
  // when the table is empty.
  const ReportRow& Current() const;

  // Adds a row at the end; it becomes the current row. std::logic_error on a
  // closed table.
  void Append(ReportRow row);
  // Changes DATAALT of the current row. std::logic_error when there is none.
  void SetDataAlt(utils::TDateTime value);

  bool Changed() const { return changed_; }
  void SetChanged(bool changed) { changed_ = changed; }

  // Every row in table order, for walks that must not move the cursor.
  const std::vector<ReportRow>& Rows() const { return rows_; }

private:
  std::vector<ReportRow> rows_;
  std::size_t index_ = 0;
  bool eof_ = true;
  bool active_ = false;
  bool changed_ = false;
};

} // namespace vt
