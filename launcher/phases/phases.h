#pragma once
// The phases of the run, in their fixed order. Each takes the run and answers
// true to go on with the next phase, false when the run has ended (by the
// abort protocol, a restart or its normal end).
#include <span>

namespace vt {

class VantorimRun;

using Phase = bool (*)(VantorimRun&);

bool phaseStart(VantorimRun& run);                // "Iniciando..."
bool phaseOpenLog(VantorimRun& run);              // the day's run log
bool phaseSelfUpdate(VantorimRun& run);           // the launcher's own version
bool phaseSwapFileRemoval(VantorimRun& run);      // what an earlier self-update left
bool phaseLocalMySql(VantorimRun& run);           // the local MySQL services and the suite's databases
bool phaseMonitorServices(VantorimRun& run);      // the monitor, iFood and Orbenta services
bool phaseRetiredPrograms(VantorimRun& run);      // retired programs, the heidi folder, leftover files
bool phaseReportsBackup(VantorimRun& run);        // a dated reports backup left by a stopped swap
bool phaseInterruptedInstallation(VantorimRun& run); // the journal of an update a stopped run left
bool phaseBaseApplication(VantorimRun& run);      // base application, report table, reports folder, legacy file
bool phaseRegistration(VantorimRun& run);         // the essential file read, or the first-run registration
bool phaseRegisteredCompanies(VantorimRun& run);  // "Conferindo empresas": the handle list
bool phaseVersionSurvey(VantorimRun& run);        // "Versões dos aplicativos"
bool phaseUpdateConnection(VantorimRun& run);     // "Conectando online" for the update check
bool phaseUpdateCheck(VantorimRun& run);          // "Conferindo aplicativos", the update and the redundancy pass
bool phaseCustomReports(VantorimRun& run);        // "Conferindo personalizados"
bool phaseHandOver(VantorimRun& run);             // "Guardando os dados" and the start of the suite

std::span<const Phase> runPhases();

// Showing the window, before the run: internet, the install root and the
// MySQL client library, then the start flag (phases/startup_checks.cpp).
void runStartupChecks(VantorimRun& run);

} // namespace vt
