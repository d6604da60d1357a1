#pragma once
// state and country codes of the utility module (a facet of TdmUtils).

namespace vt::rules {

struct CodesRules {
};

} // namespace vt::rules
