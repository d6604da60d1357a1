#pragma once
// The phases of the run, in their fixed order. Each takes the run and answers
// true to go on with the next phase, false when the run has ended (by the
// abort protocol, a restart or its normal end).
#include <span>

namespace vt {

class VantorimRun;

using Phase = bool (*)(VantorimRun&);

bool phaseStart(VantorimRun& run);              // "Iniciando..."
bool phaseOpenLog(VantorimRun& run);            // the day's run log
bool phaseSelfUpdate(VantorimRun& run);         // the launcher's own version
bool phaseSwapFileRemoval(VantorimRun& run);    // what an earlier self-update left
bool phaseSuiteUpdatePending(VantorimRun& run); // ends the run until the suite update joins it

std::span<const Phase> runPhases();

} // namespace vt
