#pragma once
// Values that travel between the online queries and the connection: bound
// parameter values and whole results.
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace vt {

// A parameter's value: none yet, an integer or a text.
using ParamValue = std::variant<std::monostate, std::int64_t, std::string>;

// How a column's text is read.
enum class FieldKind { Text, Integer, Float, Date, DateTime, Time };

struct ResultColumn {
  std::string name;
  FieldKind kind = FieldKind::Text;
};

// A cell as the server sends it in text form; nullopt is NULL.
using ResultCell = std::optional<std::string>;

struct ResultSet {
  std::vector<ResultColumn> columns;
  std::vector<std::vector<ResultCell>> rows;
};

} // namespace vt
