#pragma once
// due dates and cheque numbers of the utility module (a facet of TdmUtils).

namespace vt::rules {

struct DueDateRules {
};

} // namespace vt::rules
