// The report table: rows in insertion order, the cursor the run's walks rely
// on, the edit of a row's date and the changed flag.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "terminal/report_table.h"
#include "utils/numbers_dates.h"

namespace vt {
namespace {

using utils::encodeDate;

ReportTable tableOf(const std::vector<ReportRow>& rows) {
  ReportTable table;
  table.CreateDataSet();
  for (const ReportRow& row : rows) table.Append(row);
  return table;
}

TEST(ReportTable, AWalkVisitsTheRowsInInsertionOrderAndEndsOnTheLastRow) {
  ReportTable table = tableOf({{5, "a", "venda", encodeDate(2023, 1, 1)}, {7, "", "", std::nullopt},
                               {5, "b", "nfe", encodeDate(2023, 2, 1)}});
  std::vector<int> handles;
  std::vector<int> numbers;
  for (table.First(); !table.Eof(); table.Next()) {
    handles.push_back(table.Current().HANDLE);
    numbers.push_back(table.RecNo());
  }
  EXPECT_EQ(handles, (std::vector<int>{5, 7, 5}));
  EXPECT_EQ(numbers, (std::vector<int>{1, 2, 3}));
  // The walk that reached the end leaves the last row current.
  EXPECT_EQ(table.RecNo(), 3);
  EXPECT_EQ(table.Current().FILENAME, "b");
  // A second Next at the end stays there.
  table.Next();
  EXPECT_TRUE(table.Eof());
  EXPECT_EQ(table.RecNo(), 3);
}

TEST(ReportTable, AnAppendedRowBecomesTheCurrentRowEvenAfterAWalkOrAMove) {
  ReportTable table = tableOf({{5, "", "", std::nullopt}, {7, "", "", std::nullopt}});
  for (table.First(); !table.Eof(); table.Next()) {
  }
  table.Append({9, "c", "venda", encodeDate(2024, 1, 2)});
  EXPECT_FALSE(table.Eof());
  EXPECT_EQ(table.RecNo(), 3);
  EXPECT_EQ(table.Current().HANDLE, 9);
  table.SetRecNo(1);
  table.Append({11, "", "", std::nullopt});
  EXPECT_EQ(table.RecNo(), 4);
  EXPECT_EQ(table.Current().HANDLE, 11);
  EXPECT_THROW(table.SetRecNo(5), std::out_of_range);
  EXPECT_THROW(table.SetRecNo(0), std::out_of_range);
}

TEST(ReportTable, AnEmptyTableIsAtItsEndWithANullCurrentRow) {
  ReportTable table;
  table.CreateDataSet();
  table.First();
  EXPECT_TRUE(table.Eof());
  EXPECT_EQ(table.RecNo(), 0);
  EXPECT_EQ(table.RecordCount(), 0);
  EXPECT_EQ(table.Current(), ReportRow{});
  EXPECT_THROW(table.SetDataAlt(encodeDate(2024, 1, 1)), std::logic_error);
}

TEST(ReportTable, SetDataAltChangesOnlyTheCurrentRow) {
  ReportTable table = tableOf({{5, "a", "venda", encodeDate(2023, 1, 1)}, {5, "b", "venda", encodeDate(2023, 1, 1)}});
  table.First();
  table.SetDataAlt(encodeDate(2024, 6, 30));
  EXPECT_EQ(table.Rows()[0].DATAALT, encodeDate(2024, 6, 30));
  EXPECT_EQ(table.Rows()[1].DATAALT, encodeDate(2023, 1, 1));
  EXPECT_EQ(table.RecNo(), 1);
}

TEST(ReportTable, ClosingDropsTheRowsAndCreatingStartsEmptyWithTheFlagCleared) {
  ReportTable table = tableOf({{5, "a", "venda", encodeDate(2023, 1, 1)}});
  table.SetChanged(true);
  table.Close();
  EXPECT_FALSE(table.Active());
  EXPECT_EQ(table.RecordCount(), 0);
  EXPECT_THROW(table.Append({1, "", "", std::nullopt}), std::logic_error);
  table.CreateDataSet();
  EXPECT_TRUE(table.Active());
  EXPECT_FALSE(table.Changed());
  EXPECT_TRUE(table.IsEmpty());
}

TEST(ReportTable, TextFieldsKeepAtMost255CharactersNotBytes) {
  std::string accented;
  for (int i = 0; i < 300; ++i) accented += "ç"; // two bytes each
  ReportTable table = tableOf({{5, accented, std::string(256, 'd'), encodeDate(2023, 1, 1)}});
  EXPECT_EQ(table.Current().FILENAME.size(), 255u * 2);
  EXPECT_EQ(table.Current().FILENAME.substr(0, 4), "çç");
  EXPECT_EQ(table.Current().DIRETORIO, std::string(255, 'd'));
}

} // namespace
} // namespace vt
