#include "services/app_food_log.h"

#include <string>

#include "services/service_logs.h"
#include "utils/text.h"

namespace vt {

void TdmAppFoodLog::logAppFood(int AAppFood, std::string_view AIdPedido, std::string_view ADescricao) {
  try {
    const std::string logs(services::kLogsFolder);
    services::ensureFolder(logs);
    std::string file;
    if (AAppFood == 0) {
      services::ensureFolder(logs + "\\ifood");
      file = logs + "\\ifood\\LogIFood_" + services::logFileDate(clock_) + ".txt";
    } else if (AAppFood == 1) {
      services::ensureFolder(logs + "\\orbenta");
      file = logs + "\\orbenta\\LogOrbenta_" + services::logFileDate(clock_) + ".txt";
    } else {
      return; // no file is named for another integration
    }
    using utils::TextHelpers;
    const std::string line = TextHelpers::insereCaracter("D", " ", services::logDateAndTime(clock_), 26) +
                             TextHelpers::insereCaracter("D", " ", "Vantorim", 20) +
                             TextHelpers::insereCaracter("D", " ", AIdPedido, 17) + std::string(ADescricao);
    services::appendLogLine(file, line);
  } catch (...) {
    // The food-ordering log never fails its caller: the line is lost.
  }
}

} // namespace vt
