#pragma once
// The state registration number validation of the utility module (a facet of
// TdmUtils): checks a Brazilian state tax registration number (inscrição
// estadual) against the state that issued it.
#include <string_view>

namespace vt::rules {

struct StateRegistrationRules {
  // True when AInscEst (as typed, punctuation allowed) is a valid number of
  // the state AUf (two upper-case letters), or is the word "ISENTO" in any
  // letter case. Never allocates.
  static bool validaIE(std::string_view AInscEst, std::string_view AUf);
};

} // namespace vt::rules
