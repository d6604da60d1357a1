#pragma once
// The run: one pass of the launcher from the run log to the hand-over to the
// suite, as the list of its phases in order (phases/run_phases.cpp). The run
// object owns the run's state (where the launcher lives, the run log's file,
// the company being updated, what the phases hand each other) and reaches the
// modules; the main window only shows the run and keeps its routines.
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "launcher/settings.h"
#include "launcher/step_outcome.h"

namespace vt::platform {
class Clock;
class InputUi;
class InstanceLock;
} // namespace vt::platform

namespace vt {

class TdmUtils;
class TdmOnline;
class TdmForms;
class TdmUtilsDbOnline;
class TfrmVantorim;
class TdmServMonitor;
class TdmServIFood;
class TdmServOrbenta;

// The run's state: what it is given at the start, and what one phase tells
// the phases after it.
struct RunState {
  // The folder of the running executable with a trailing backslash, and the
  // executable's own file name.
  std::string launcherFolder;
  std::string exeName;
  // The day's run log file; empty until the run log is opened.
  std::string logPath;
  // The test hook of the steps that change the install root (install_steps.h).
  std::function<void(std::string_view step)> stepReached;
  // The HANDLE of the company the run works on: the one registered on a first
  // run, then the company the update check reached (the one it updated, or
  // the last one checked).
  int company = 0;
  // Config.ini "AplicativoBasesExterno": exactly "Caspelo" hands over to the
  // point-of-sale application, anything else to the main application.
  std::string baseApplication;
  // The reports folder holds its "venda" subfolder (used by a first-run registration).
  bool reportsPresent = true;
  // RELEASE_VANTORIM of the company being updated; above 0 names a release build.
  int releaseNumber = 0;
  // The registered companies' handles, "7,12" (or "***" for none).
  std::string handleList;
  // The common file version of the installed applications; empty when none is installed.
  std::string installedVersion;
};

// The online session of one stretch of the run. It disconnects exactly once:
// where the stretch asks for it, or on the way out (an unexpected error
// included) when the stretch did not.
class ScopedOnlineSession {
public:
  explicit ScopedOnlineSession(TdmOnline& online) : online_(online) {}
  ~ScopedOnlineSession();
  ScopedOnlineSession(const ScopedOnlineSession&) = delete;
  ScopedOnlineSession& operator=(const ScopedOnlineSession&) = delete;

  // conectarBancoOnline / conectarBancoOnlineAlternativo: nothing when the
  // connection is open, otherwise the reason.
  std::optional<std::string> connect();
  std::optional<std::string> connectAlternative();
  // The session's one disconnect; later calls and the destructor do nothing.
  void disconnect();
  // The closing routine has disconnected: nothing is owed any more.
  void closedByShutdown() { done_ = true; }
  bool pending() const { return !done_; }

private:
  TdmOnline& online_;
  bool done_ = false;
};

struct RunModules {
  TdmUtils& dmUtils;
  TdmOnline& dmOnline;
  TdmForms& dmForms;
  TfrmVantorim& frmVantorim;
  TdmUtilsDbOnline& dmUtilsDbOnline;
  platform::Clock& clock;
  platform::InputUi& input; // the platform's text-input dialog
  // The service control modules, for the clean-up of local installations.
  TdmServMonitor& dmServMonitor;
  TdmServIFood& dmServIFood;
  TdmServOrbenta& dmServOrbenta;
};

class VantorimRun {
public:
  VantorimRun(const RunModules& modules, const LauncherSettings& settings);
  VantorimRun(const VantorimRun&) = delete;
  VantorimRun& operator=(const VantorimRun&) = delete;

  TdmUtils& dmUtils;
  TdmOnline& dmOnline;
  TdmForms& dmForms;
  TfrmVantorim& form;
  TdmUtilsDbOnline& dmUtilsDbOnline;
  platform::Clock& clock;
  platform::InputUi& input;
  TdmServMonitor& dmServMonitor;
  TdmServIFood& dmServIFood;
  TdmServOrbenta& dmServOrbenta;

  RunState state;

  // The phases in order, until one of them ends the run. Errors no phase
  // catches pass on to the caller (the window's activation).
  void execute();

  // The main window's routines, for the phases.
  void ShowStatus(std::string_view text, int64_t minimum, int64_t maximum, int64_t position);
  // The run's bar moved on by `by`, the status line left as it is.
  void advance(int64_t by) { ShowStatus("", 0, 0, by); }
  void WriteLogLine(std::string_view text);
  bool DownloadFile(std::string_view fileName, std::string_view handleText, std::string_view folder,
                    std::string_view localFile);
  // The warning box "Atenção" with its one button.
  void alert(std::string_view message);
  void pause(std::chrono::milliseconds duration);
  const std::string& launcherFolder() const { return state.launcherFolder; }
  const std::string& exeName() const { return state.exeName; }

  // True when the step's outcome lets the run go on. Otherwise the run ends
  // as the outcome says, and false: an abort runs the abort protocol (the log
  // line when there is one, the warning box "Atenção" when there is a
  // message, the extra disconnect where the failure puts it (the session's
  // own while one is held), Shutdown(false) and the termination request); a
  // run that ended by itself has nothing left to do.
  bool proceed(const StepOutcome& outcome);

  // The online session of a stretch of the run (the update check holds it
  // from its connection to its end). It is closed when the stretch ends it,
  // and otherwise when the run returns, an unexpected error included. An
  // abort while it is held disconnects through it.
  ScopedOnlineSession& beginSession();
  ScopedOnlineSession& session();
  void endSession() { session_.reset(); }

  // The one-launcher-at-a-time lock the program holds for its run. A
  // self-update lets it go right before it starts the new build, which
  // would otherwise find it held and end at once.
  void attachInstanceLock(platform::InstanceLock& lock) { instanceLock_ = &lock; }
  void releaseInstanceLock();

private:
  std::optional<ScopedOnlineSession> session_;
  platform::InstanceLock* instanceLock_ = nullptr;
};

} // namespace vt
