#include "launcher/update_plan.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "utils/numbers_dates.h"
#include "utils/text.h"

namespace vt {

int versionValue(bool rowFound, std::string_view versionText) {
  if (!rowFound || versionText.empty()) return 0;
  const std::string digits = utils::TextHelpers::soNumericos(versionText);
  const auto value = utils::parseIntegerText(digits, std::numeric_limits<int32_t>::min(),
                                             std::numeric_limits<int32_t>::max());
  if (!value) throw utils::ConvertError("'" + digits + "' is not a valid integer value");
  return static_cast<int>(*value);
}

std::string versionPrefix(int value) { return std::to_string(value).substr(0, 5); }

PackageFolder choosePackageFolder(int referenceValue, int clientValue, int releaseNumber) {
  PackageFolder choice;
  choice.samePrefix = versionPrefix(referenceValue) == versionPrefix(clientValue);
  choice.folder = choice.samePrefix ? "upd" : "upd_anterior";
  if (releaseNumber > 0) {
    choice.release = true;
    choice.folder =
        "upd_onlinerelease/" + utils::TextHelpers::insereCaracter("E", "0", std::to_string(releaseNumber), 2);
  }
  return choice;
}

std::vector<std::string> applicationsTaken(std::string_view segment, const std::vector<int>& moduleCodes) {
  std::vector<std::string> taken{"Quorvelin", "Pendrak"};
  if (segment == "MADEIREIRA") taken.push_back("Torsilde");
  for (int code : moduleCodes) {
    switch (code) {
    case 7: taken.push_back("Caspelo"); break;
    case 9: taken.push_back("Mirendal"); break;
    case 17: taken.push_back("Dostravo"); break;
    case 18: taken.push_back("Zentrix"); break;
    default: break;
    }
  }
  return taken;
}

std::vector<std::string> applicationsToRemove(const std::vector<std::string>& installList) {
  std::vector<std::string> removed;
  for (const char* name : {"Zentrix", "Caspelo", "Mirendal", "Dostravo", "Torsilde"}) {
    if (std::find(installList.begin(), installList.end(), name) == installList.end()) removed.push_back(name);
  }
  return removed;
}

} // namespace vt
