// The essential file's operations: its cipher, the plain text the write would
// encipher and the read of a stored text into rows. Nothing here touches
// Config.ini. A row is [HANDLE, FILENAME, DIRETORIO, DATAALT], DATAALT an ISO
// date-time text ("2023-03-15T14:05:09") or null in a company row.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/regional.h"
#include "terminal/essential_file.h"
#include "terminal/report_table.h"
#include "tools/dmutils/registry.h"
#include "utils/numbers_dates.h"

namespace vt::tools {

using nlohmann::json;

namespace {

// "yyyy-mm-ddThh:nn:ss", or "yyyy-mm-dd" for midnight.
bool parseIso(const std::string& text, utils::TDateTime& value) {
  int y, m, d, h = 0, n = 0, s = 0;
  char tail;
  utils::TDateTime date, time = 0;
  const bool dateOnly = text.size() == 10 && std::sscanf(text.c_str(), "%4d-%2d-%2d%c", &y, &m, &d, &tail) == 3;
  const bool dateTime =
      text.size() == 19 && text[10] == 'T' &&
      std::sscanf(text.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d%c", &y, &m, &d, &h, &n, &s, &tail) == 6;
  if (!dateOnly && !dateTime) return false;
  if (!utils::tryEncodeDate(y, m, d, date) || !utils::tryEncodeTime(h, n, s, 0, time)) return false;
  value = utils::composeDateTime(date, time);
  return true;
}

std::string isoText(utils::TDateTime value) {
  const utils::DateTimeParts p = utils::decodeDateTime(value);
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", p.year, p.month, p.day, p.hour, p.minute,
                p.second);
  return text;
}

ReportRow rowArg(const json& row, std::size_t number) {
  const std::string which = "row " + std::to_string(number);
  if (!row.is_array() || row.size() != 4)
    throw BadArguments(which + " must be [HANDLE, FILENAME, DIRETORIO, DATAALT]");
  if (!row[0].is_number_integer() || row[0].get<long long>() < INT32_MIN || row[0].get<long long>() > INT32_MAX)
    throw BadArguments(which + ": HANDLE must be a 32-bit integer");
  if (!row[1].is_string() || !row[2].is_string()) throw BadArguments(which + ": FILENAME and DIRETORIO must be texts");
  ReportRow result{static_cast<int>(row[0].get<long long>()), row[1].get<std::string>(), row[2].get<std::string>(),
                   std::nullopt};
  if (!row[3].is_null()) {
    utils::TDateTime date;
    if (!row[3].is_string() || !parseIso(row[3].get<std::string>(), date))
      throw BadArguments(which + ": DATAALT must be null or a date-time like \"2023-03-15T14:05:09\"");
    result.DATAALT = date;
  }
  return result;
}

json rowJson(const ReportRow& row) {
  return json::array({row.HANDLE, row.FILENAME, row.DIRETORIO, row.DATAALT ? json(isoText(*row.DATAALT)) : json()});
}

} // namespace

void registerEssentialFileOps(OpRegistry& registry) {
  registry.add("EncipherText", [](const json& args) {
    expectArgs(args, 1, 2);
    const std::string plain = argString(args, 0);
    int start = randomStartValue();
    if (args.size() == 2) {
      start = argInt32(args, 1);
      if (start < 0 || start > 255) throw BadArguments("argument 2 must be a start value from 0 to 255");
    }
    return result(encipherText(plain, start));
  });

  addText(registry, "DecipherText", [](const std::string& text) { return decipherText(text); });

  registry.add("criaArquivoBaseOnline", [](const json& args) {
    expectArgs(args, 1);
    if (!args[0].is_array()) throw BadArguments("argument 1 must be an array of rows");
    ReportTable table;
    table.CreateDataSet();
    for (std::size_t i = 0; i < args[0].size(); ++i) table.Append(rowArg(args[0][i], i + 1));
    std::string plain, error;
    const bool written = composeEssentialFile(table, platform::userRegionalFormats(), plain, error);
    return json{{"result", written}, {"out", {{"texto", plain}, {"AError", error}}}};
  });

  registry.add("lerArquivoBaseOnline", [](const json& args) {
    expectArgs(args, 1);
    ReportTable table;
    table.CreateDataSet();
    json log = json::array();
    const std::string error =
        readEssentialPlainTextInto(table, decipherText(argString(args, 0)), platform::userRegionalFormats(),
                                   [&log](std::string_view entry) { log.push_back(std::string(entry)); });
    json rows = json::array();
    for (const ReportRow& row : table.Rows()) rows.push_back(rowJson(row));
    return json{{"result", error}, {"out", {{"rows", rows}, {"log", log}}}};
  });
}

} // namespace vt::tools
