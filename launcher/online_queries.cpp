#include "launcher/online_queries.h"

namespace vt {

void runQuery(OnlineQuery& query, std::string_view sql) {
  query.Close();
  query.SQL.Clear();
  query.SQL.Add(sql);
  query.Open();
}

void runQuery(OnlineQuery& query, std::string_view sql, std::int64_t value, std::string_view param) {
  query.Close();
  query.SQL.Clear();
  query.SQL.Add(sql);
  query.ParamByName(param).AsInteger(value);
  query.Open();
}

std::string fieldText(const OnlineQuery& query, std::string_view column) { return query.FieldAsString(column); }

} // namespace vt
