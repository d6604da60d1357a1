#include "online/online_query.h"

#include "utils/text.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "online/online_connection.h"
#include "online/sql_text.h"
#include "platform/regional.h"

namespace vt {
namespace {

bool sameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t k = 0; k < a.size(); ++k) {
    char x = a[k], y = b[k];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

utils::ConvertError notAnInteger(std::string_view text) {
  return utils::ConvertError("'" + std::string(text) + "' is not a valid integer value");
}

// The integer syntax of the system (blanks before, a sign, decimal digits or
// hexadecimal after "$", "x", "X", "0x", "0X"; nothing after), 64-bit.
std::optional<std::int64_t> parseInteger(std::string_view text) {
  return utils::parseIntegerText(text, std::numeric_limits<std::int64_t>::min(), std::numeric_limits<std::int64_t>::max());
}

bool readNumber(std::string_view text, std::size_t& pos, std::size_t digits, int& value) {
  if (pos + digits > text.size()) return false;
  const auto [end, ec] = std::from_chars(text.data() + pos, text.data() + pos + digits, value);
  if (ec != std::errc() || end != text.data() + pos + digits) return false;
  pos += digits;
  return true;
}

bool expect(std::string_view text, std::size_t& pos, char c) {
  if (pos >= text.size() || text[pos] != c) return false;
  ++pos;
  return true;
}

// Seconds and their fraction "ss[.ffffff]" up to the end of the text.
bool readSeconds(std::string_view text, std::size_t& pos, int& second, double& fraction) {
  if (!readNumber(text, pos, 2, second)) return false;
  fraction = 0;
  if (pos < text.size() && text[pos] == '.') {
    ++pos;
    double scale = 0.1;
    if (pos == text.size()) return false;
    for (; pos < text.size(); ++pos, scale /= 10) {
      if (text[pos] < '0' || text[pos] > '9') return false;
      fraction += (text[pos] - '0') * scale;
    }
  }
  return pos == text.size();
}

// "yyyy-mm-dd[ hh:nn:ss[.ffffff]]", the server's form. A zero date gives 0.
std::optional<utils::TDateTime> parseServerDateTime(std::string_view text) {
  std::size_t pos = 0;
  int year, month, day;
  if (!readNumber(text, pos, 4, year) || !expect(text, pos, '-') || !readNumber(text, pos, 2, month) ||
      !expect(text, pos, '-') || !readNumber(text, pos, 2, day))
    return std::nullopt;
  if (year == 0 && month == 0 && day == 0) return 0.0;
  utils::TDateTime date;
  if (!utils::tryEncodeDate(year, month, day, date)) return std::nullopt;
  if (pos == text.size()) return date;
  int hour, minute, second;
  double fraction;
  if (!expect(text, pos, ' ') || !readNumber(text, pos, 2, hour) || !expect(text, pos, ':') ||
      !readNumber(text, pos, 2, minute) || !expect(text, pos, ':') || !readSeconds(text, pos, second, fraction))
    return std::nullopt;
  utils::TDateTime time;
  if (!utils::tryEncodeTime(hour, minute, second, static_cast<int>(std::lround(fraction * 1000)) % 1000, time))
    return std::nullopt;
  return utils::composeDateTime(date, time);
}

// "[-]h...h:nn:ss[.ffffff]", the server's time (it may pass 24 hours).
std::optional<utils::TDateTime> parseServerTime(std::string_view text) {
  std::size_t pos = 0;
  const bool negative = expect(text, pos, '-');
  const std::size_t colon = text.find(':', pos);
  if (colon == std::string_view::npos || colon == pos) return std::nullopt;
  int hours, minutes, seconds;
  double fraction;
  if (!readNumber(text, pos, colon - pos, hours) || !expect(text, pos, ':') || !readNumber(text, pos, 2, minutes) ||
      !expect(text, pos, ':') || !readSeconds(text, pos, seconds, fraction))
    return std::nullopt;
  const double value = (hours * 3600.0 + minutes * 60.0 + seconds + fraction) / 86400.0;
  return negative ? -value : value;
}

} // namespace

// ---- SqlLines ---------------------------------------------------------------

void SqlLines::Clear() {
  lines_.clear();
  owner_.sqlChanged();
}

void SqlLines::Add(std::string_view line) {
  lines_.emplace_back(line);
  owner_.sqlChanged();
}

std::string SqlLines::Text() const {
  std::string text;
  for (const std::string& line : lines_) {
    text += line;
    text += '\n';
  }
  return text;
}

// ---- OnlineParam ------------------------------------------------------------

void OnlineParam::AsInteger(std::string_view text) {
  const std::optional<std::int64_t> value = parseInteger(text);
  if (!value || *value < std::numeric_limits<std::int32_t>::min() || *value > std::numeric_limits<std::int32_t>::max())
    throw notAnInteger(text);
  value_ = *value;
}

// ---- OnlineField ------------------------------------------------------------

OnlineField::OnlineField(ResultColumn column, ResultCell value)
    : column_(std::move(column)), value_(std::move(value)) {
  const bool dated = column_.kind == FieldKind::Date || column_.kind == FieldKind::DateTime;
  if (dated && value_ && value_->starts_with("0000-00-00")) value_.reset();  // the server's zero date
}

std::string OnlineField::AsString() const {
  if (!value_) return {};
  switch (column_.kind) {
    case FieldKind::Date:
    case FieldKind::DateTime:
    case FieldKind::Time: {
      const utils::TDateTime value = AsDateTime();
      const platform::RegionalFormats formats = platform::userRegionalFormats();
      if (column_.kind == FieldKind::Time) return utils::formatDateTime(formats.longTimeFormat, value);
      return utils::dateTimeToText(value, formats); // a Date column's time is midnight

    }
    default:
      return *value_;
  }
}

std::int64_t OnlineField::AsLargeInt() const {
  if (!value_) return 0;
  const std::string& text = *value_;
  if (column_.kind == FieldKind::Float) {
    double number = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (ec != std::errc() || end != text.data() + text.size() || !(std::fabs(number) < 9.2e18)) throw notAnInteger(text);
    return std::llround(number);
  }
  if (column_.kind == FieldKind::Date || column_.kind == FieldKind::DateTime || column_.kind == FieldKind::Time)
    throw notAnInteger(text);
  const std::optional<std::int64_t> value = parseInteger(text);
  if (!value) throw notAnInteger(text);
  return *value;
}

int OnlineField::AsInteger() const {
  const std::int64_t value = AsLargeInt();
  if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
    throw notAnInteger(*value_);
  return static_cast<int>(value);
}

utils::TDateTime OnlineField::AsDateTime() const {
  if (!value_) return 0;
  const std::string& text = *value_;
  const auto notADateTime = [&] { return utils::ConvertError("'" + text + "' is not a valid date and time"); };
  switch (column_.kind) {
    case FieldKind::Integer:
    case FieldKind::Float:
      throw notADateTime();
    case FieldKind::Time:
      if (auto value = parseServerTime(text)) return *value;
      throw notADateTime();
    default:
      break;
  }
  if (auto value = parseServerDateTime(text)) return *value;
  utils::TDateTime value;
  if (column_.kind == FieldKind::Text && utils::tryTextToDateTime(text, platform::userRegionalFormats(), value))
    return value;
  throw notADateTime();
}

// ---- OnlineQuery ------------------------------------------------------------

OnlineQuery::OnlineQuery(OnlineConnection& connection) : SQL(*this), connection_(&connection) {
  connection.attach(this);
}

OnlineQuery::~OnlineQuery() {
  if (connection_) connection_->detach(this);
}

void OnlineQuery::sqlChanged() {
  Close();
  params_.clear();
  for (std::string& name : online_detail::toPlaceholders(SQL.Text()).parameters) {
    bool known = false;
    for (const OnlineParam& param : params_) known = known || sameName(param.Name(), name);
    if (!known) params_.push_back(OnlineParam(std::move(name)));
  }
}

OnlineParam& OnlineQuery::ParamByName(std::string_view name) {
  for (OnlineParam& param : params_)
    if (sameName(param.Name(), name)) return param;
  throw OnlineError("Parâmetro '" + std::string(name) + "' não encontrado");
}

void OnlineQuery::Open() {
  if (active_) return;
  if (!connection_) throw OnlineError("A consulta não tem conexão");
  online_detail::ParameterisedStatement statement = online_detail::toPlaceholders(SQL.Text());
  std::vector<ParamValue> values;
  for (const std::string& name : statement.parameters) {
    const OnlineParam& param = ParamByName(name);
    if (std::holds_alternative<std::monostate>(param.Value()))
      throw OnlineError("Parâmetro '" + param.Name() + "' sem valor");
    values.push_back(param.Value());
  }
  result_ = connection_->run(statement.text, values);
  active_ = true;
  First();
}

void OnlineQuery::Close() {
  active_ = false;
  result_ = ResultSet{};
  eof_ = true;
  current_ = 0;
}

void OnlineQuery::First() {
  current_ = 0;
  eof_ = result_.rows.empty();
}

void OnlineQuery::Next() {
  if (current_ + 1 < RecordCount()) {
    ++current_;
  } else {
    eof_ = true;
  }
}

OnlineField OnlineQuery::FieldByName(std::string_view name) const {
  if (!active_) throw OnlineError("A consulta não está aberta: campo '" + std::string(name) + "'");
  for (std::size_t c = 0; c < result_.columns.size(); ++c) {
    if (!sameName(result_.columns[c].name, name)) continue;
    ResultCell value = result_.rows.empty() ? ResultCell{} : result_.rows[static_cast<std::size_t>(current_)][c];
    return OnlineField(result_.columns[c], std::move(value));
  }
  throw OnlineError("Campo '" + std::string(name) + "' não encontrado");
}

} // namespace vt
