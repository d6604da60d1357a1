#pragma once
// fiscal and sales rules of the utility module (a facet of TdmUtils).

namespace vt::rules {

struct FiscalRules {
};

} // namespace vt::rules
