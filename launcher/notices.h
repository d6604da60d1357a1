#pragma once
// The warning box every failure of the run shows.
#include <string_view>

namespace vt {

class TdmUtils;

// exibeMsg with the caption "Atenção", a single OK button, the focus on it.
void alertUser(TdmUtils& dmUtils, std::string_view message);

} // namespace vt
