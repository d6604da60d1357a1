#pragma once
// the text and conversion helpers of the utility module (a facet of TdmUtils).

namespace vt::utils {

struct TextHelpers {
};

} // namespace vt::utils
