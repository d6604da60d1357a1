#include <array>

#include "launcher/phases/phases.h"

namespace vt {

std::span<const Phase> runPhases() {
  static constexpr std::array kPhases = {
      phaseStart,
      phaseOpenLog,
      phaseSelfUpdate,
      phaseSwapFileRemoval,
      phaseLocalMySql,
      phaseMonitorServices,
      phaseRetiredPrograms,
      phaseReportsBackup,
      phaseInterruptedInstallation,
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
