#include <array>

#include "launcher/phases/phases.h"

namespace vt {

std::span<const Phase> runPhases() {
  static constexpr std::array kPhases = {
      phaseStart,
      phaseOpenLog,
      phaseSelfUpdate,
      phaseSwapFileRemoval,
      // The clean-up of local installations (the local MySQL, the monitor
      // services, the retired programs and leftovers) joins here with the
      // service control modules; until then the run passes over it.
      phaseBaseApplication,
      phaseRegistration,
      phaseRegisteredCompanies,
      phaseVersionSurvey,
      phaseUpdateConnection,
      phaseUpdateCheck,
      phaseCustomReports,
      phaseHandOver,
  };
  return kPhases;
}

} // namespace vt
