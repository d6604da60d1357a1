#pragma once
// the number, date and time helpers of the utility module (a facet of TdmUtils).

namespace vt::utils {

struct NumberDateHelpers {
};

} // namespace vt::utils
