#include "launcher/online_queries.h"

#include <string>

#include "launcher/run.h"

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

StepOutcome tableReadable(VantorimRun& run, std::string_view table, std::string message) {
  const std::string name(table);
  run.WriteLogLine("Confere se tabela " + name + " no banco online está acessível");
  runQuery(run.dmOnline.qryOneLine, "show tables like '" + name + "'");
  if (run.dmOnline.qryOneLine.RecordCount() > 0) return StepOutcome::goOn();
  return StepOutcome::abort("A tabela " + name + " no banco online não está acessível", std::move(message),
                            ExtraDisconnect::AfterMessage);
}

} // namespace vt
