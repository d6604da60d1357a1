#pragma once
// the state registration number validation of the utility module (a facet of TdmUtils).

namespace vt::rules {

struct StateRegistrationRules {
};

} // namespace vt::rules
