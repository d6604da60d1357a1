#include <array>

#include "launcher/phases/phases.h"

namespace vt {

std::span<const Phase> runPhases() {
  static constexpr std::array<Phase, 5> kPhases = {
      phaseStart,
      phaseOpenLog,
      phaseSelfUpdate,
      phaseSwapFileRemoval,
      phaseSuiteUpdatePending,
  };
  return kPhases;
}

} // namespace vt
