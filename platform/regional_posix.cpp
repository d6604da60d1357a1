#include "platform/regional.h"

namespace vt::platform {

RegionalFormats brazilianFormats() { return RegionalFormats{}; }

RegionalFormats userRegionalFormats() { return brazilianFormats(); }

} // namespace vt::platform
