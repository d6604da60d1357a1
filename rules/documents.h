#pragma once
// the document, product code, e-mail and plate validation of the utility module (a facet of TdmUtils).

namespace vt::rules {

struct DocumentRules {
};

} // namespace vt::rules
