#pragma once
// The run: one pass of the launcher from the run log to the hand-over to the
// suite, as the list of its phases in order (phases/run_phases.cpp). The run
// object owns what the phases hand each other (the base application, the
// release number, the handle list, the installed version) and reaches the
// modules; the main window keeps the window's state and its routines.
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

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

// What one phase tells the phases after it.
struct RunState {
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

// Where an abort's extra disconnect of the online session goes.
enum class ExtraDisconnect {
  None,           // the closing routine's own disconnect is enough
  BeforeMessage,  // between the log line and the message
  AfterMessage,   // between the message and the closing routine
  BeforeShutdown, // right before the closing routine (ends without a message)
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

  // conectarBancoOnline / conectarBancoOnlineAlternativo: empty on success,
  // otherwise the reason.
  std::string connect();
  std::string connectAlternative();
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
  explicit VantorimRun(const RunModules& modules);
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
  void WriteLogLine(std::string_view text);
  bool DownloadFile(std::string_view fileName, std::string_view handleText, std::string_view folder,
                    std::string_view localFile);
  void pause(std::chrono::milliseconds duration);
  const std::string& launcherFolder() const;
  const std::string& exeName() const;

  // The abort protocol: the log line (none when empty), the warning box
  // "Atenção" (none when empty), the extra disconnect where the failure puts
  // it (the session's own when one is given), Shutdown(false) and the
  // termination request. Returns false, so a phase can `return abortRun(...)`.
  bool abortRun(std::string_view logLine, std::string_view message, ExtraDisconnect where = ExtraDisconnect::None,
                ScopedOnlineSession* session = nullptr);
  // An end that has already told the user: Shutdown(false) and the
  // termination request, after the extra disconnect when one is asked.
  bool endRun(ExtraDisconnect where = ExtraDisconnect::None, ScopedOnlineSession* session = nullptr) {
    return abortRun("", "", where, session);
  }

  // The online session of a stretch that spans phases (the update check
  // holds it from its connection to its end). It is closed when the stretch
  // ends it, and otherwise when the run returns, an unexpected error included.
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
