#pragma once
// A query on the online connection (qryOneLine, qryTwoLine). It holds one
// statement at a time; opening it runs the statement and reads the whole
// result into memory, which the caller then walks row by row.
//
//   query.Close();
//   query.SQL.Clear();
//   query.SQL.Add("select SCO_VERSAO from tabclientes where HANDLE = :vp1");
//   query.ParamByName("vp1").AsInteger(handle);
//   query.Open();
//   if (query.RecordCount() > 0) version = query.FieldByName("SCO_VERSAO").AsString();
//
// Named parameters (":vp1") are real parameters of a prepared statement,
// never text put into the statement. Opening a query on a closed connection
// opens the connection with the parameters it holds. Every error of the
// statement reaches the caller as OnlineError.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "online/online_error.h"
#include "online/online_values.h"
#include "utils/numbers_dates.h"

namespace vt {

class OnlineConnection;
class OnlineQuery;

// The statement text, as lines.
class SqlLines {
public:
  void Clear();
  void Add(std::string_view line);
  std::string Text() const;  // the lines joined by line breaks
  int Count() const { return static_cast<int>(lines_.size()); }

private:
  friend class OnlineQuery;
  explicit SqlLines(OnlineQuery& owner) : owner_(owner) {}
  OnlineQuery& owner_;
  std::vector<std::string> lines_;
};

class OnlineParam {
public:
  const std::string& Name() const { return name_; }
  void AsInteger(std::int64_t value) { value_ = value; }
  // A text in the integer syntax (blanks before it, a sign, decimal digits, or
  // hexadecimal after "$", "x", "0x"), as the handle typed by a person:
  // utils::ConvertError "'<text>' is not a valid integer value" otherwise.
  void AsInteger(std::string_view text);
  void AsString(std::string value) { value_ = std::move(value); }
  void Clear() { value_ = std::monostate{}; }
  const ParamValue& Value() const { return value_; }

private:
  friend class OnlineQuery;
  explicit OnlineParam(std::string name) : name_(std::move(name)) {}
  std::string name_;
  ParamValue value_;
};

// One column of the current row. A query without rows reads every column as
// NULL: empty text, 0, date-time 0. The server's zero date ("0000-00-00")
// is NULL too.
class OnlineField {
public:
  OnlineField(ResultColumn column, ResultCell value);

  const std::string& FieldName() const { return column_.name; }
  FieldKind Kind() const { return column_.kind; }
  bool IsNull() const { return !value_.has_value(); }

  // Numbers and texts as the server writes them; dates and times in the
  // user's regional short date and long time (the time left out at
  // midnight, as the system writes date-times everywhere).
  std::string AsString() const;
  // Whole numbers; a decimal column is rounded. utils::ConvertError for a
  // text that is not an integer or a value outside 32 (AsLargeInt: 64) bits.
  int AsInteger() const;
  std::int64_t AsLargeInt() const;
  // Date, date-time and time columns, and texts "yyyy-mm-dd[ hh:nn:ss]" or in
  // the regional date format; utils::ConvertError otherwise.
  utils::TDateTime AsDateTime() const;

private:
  ResultColumn column_;
  ResultCell value_;
};

class OnlineQuery {
public:
  explicit OnlineQuery(OnlineConnection& connection);
  ~OnlineQuery();
  OnlineQuery(const OnlineQuery&) = delete;
  OnlineQuery& operator=(const OnlineQuery&) = delete;

  // The statement. Changing it closes the query and makes its parameters anew
  // (without values) from the ":name" marks of the new text.
  SqlLines SQL;

  // A parameter of the statement by name (letter case ignored); OnlineError
  // when the statement has none of that name.
  OnlineParam& ParamByName(std::string_view name);
  int ParamCount() const { return static_cast<int>(params_.size()); }

  // Runs the statement and reads its whole result; the current row is the
  // first. Nothing when the query is open. OnlineError on any failure,
  // including a parameter without value and a connection that cannot open.
  void Open();
  void Close();
  bool Active() const { return active_; }

  int RecordCount() const { return static_cast<int>(result_.rows.size()); }
  int FieldCount() const { return static_cast<int>(result_.columns.size()); }
  void First();
  // The next row; at the last row, Eof becomes true and the row stays.
  void Next();
  bool Eof() const { return eof_; }
  int RecNo() const { return active_ && !result_.rows.empty() ? current_ + 1 : 0; }

  // A column of the current row by name (letter case ignored); OnlineError
  // when the query is closed or has no such column.
  OnlineField FieldByName(std::string_view name) const;
  std::string FieldAsString(std::string_view name) const { return FieldByName(name).AsString(); }
  int FieldAsInteger(std::string_view name) const { return FieldByName(name).AsInteger(); }
  utils::TDateTime FieldAsDateTime(std::string_view name) const { return FieldByName(name).AsDateTime(); }

private:
  friend class SqlLines;
  friend class OnlineConnection;
  void sqlChanged();
  void connectionGone() { connection_ = nullptr; }

  OnlineConnection* connection_;
  std::vector<OnlineParam> params_;
  ResultSet result_;
  bool active_ = false;
  bool eof_ = true;
  int current_ = 0;
};

} // namespace vt
