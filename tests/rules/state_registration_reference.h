#pragma once
// The reference form of validaIE, for the differential test only.
#include <string_view>

namespace vt::rules::reference {

bool validaIE(std::string_view AInscEst, std::string_view AUf);

} // namespace vt::rules::reference
