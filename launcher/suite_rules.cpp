#include "launcher/suite_rules.h"

#include "dmutils/dm_utils.h"
#include "terminal/utils_db_online.h"
#include "utils/text.h"

namespace vt {

std::string buildHandleList(ReportTable& table, const std::function<void()>& eachRow) {
  std::string list;
  int previous = 0;
  for (table.First(); !table.Eof(); table.Next()) {
    if (eachRow) eachRow();
    const int handle = table.Current().HANDLE;
    if (handle != previous) {
      list += std::to_string(handle) + ",";
      previous = handle;
    }
  }
  list += "***";
  return utils::replaceAll(list, ",***", "");
}

std::string releaseTarget(std::string_view scoVersao, int release) {
  std::string digits = TdmUtils::soNumericos(scoVersao);
  digits.resize(digits.size() < 2 ? 0 : digits.size() - 2);
  return digits + TdmUtils::insereCaracter("E", "0", std::to_string(release), 2);
}

} // namespace vt
