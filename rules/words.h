#pragma once
// amounts and dates in words of the utility module (a facet of TdmUtils).

namespace vt::rules {

struct WordsRules {
};

} // namespace vt::rules
