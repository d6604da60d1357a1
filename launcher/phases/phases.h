#pragma once
// The phases of the run, in their fixed order. Each takes the main window and
// answers true to go on with the next phase, false when the run has ended
// (by the abort protocol, a restart or its normal end).
#include <span>

namespace vt {

class TfrmVantorim;

using Phase = bool (*)(TfrmVantorim&);

bool phaseStart(TfrmVantorim& form);              // "Iniciando..."
bool phaseOpenLog(TfrmVantorim& form);            // the day's run log
bool phaseSelfUpdate(TfrmVantorim& form);         // the launcher's own version
bool phaseSwapFileRemoval(TfrmVantorim& form);    // what an earlier self-update left
bool phaseSuiteUpdatePending(TfrmVantorim& form); // ends the run until the suite update joins it

std::span<const Phase> runPhases();

} // namespace vt
