#include "launcher/run.h"

#include "dmutils/dm_utils.h"
#include "launcher/frm_vantorim.h"
#include "launcher/notices.h"
#include "launcher/phases/phases.h"
#include "online/dm_online.h"
#include "platform/clock.h"
#include "platform/instance_lock.h"
#include "terminal/utils_db_online.h"

namespace vt {

ScopedOnlineSession::~ScopedOnlineSession() {
  if (done_) return;
  try {
    online_.desconectarBancoOnline();
  } catch (...) {
    // Leaving by an error already: the disconnect's own failure adds nothing.
  }
}

namespace {

// The module's own answer is its contract: empty when the connection is open.
std::optional<std::string> failureOf(std::string reason) {
  if (reason.empty()) return std::nullopt;
  return reason;
}

} // namespace

std::optional<std::string> ScopedOnlineSession::connect() { return failureOf(online_.conectarBancoOnline()); }

std::optional<std::string> ScopedOnlineSession::connectAlternative() {
  return failureOf(online_.conectarBancoOnlineAlternativo());
}

void ScopedOnlineSession::disconnect() {
  if (done_) return;
  done_ = true;
  online_.desconectarBancoOnline();
}

VantorimRun::VantorimRun(const RunModules& m, const LauncherSettings& settings)
    : dmUtils(m.dmUtils), dmOnline(m.dmOnline), dmForms(m.dmForms), form(m.frmVantorim),
      dmUtilsDbOnline(m.dmUtilsDbOnline), clock(m.clock), input(m.input), dmServMonitor(m.dmServMonitor),
      dmServIFood(m.dmServIFood), dmServOrbenta(m.dmServOrbenta) {
  state.launcherFolder = folderOf(settings.exePath);
  state.exeName = settings.exePath.substr(state.launcherFolder.size());
  state.stepReached = settings.stepReached;
  // What the terminal-data module has to say goes to the run log.
  dmUtilsDbOnline.setLogSink([this](std::string_view text) { form.WriteLogLine(text); });
}

void VantorimRun::execute() {
  // A session a stretch still holds is closed on every way out of the run.
  struct EndSession {
    VantorimRun& run;
    ~EndSession() {
      run.endSession();
      // A connection a phase opened by itself (the hand-over reads the
      // company's connection on the update check's session) is closed too
      // when an error leaves the run: the window may stay open for long.
      if (run.dmOnline.connected()) {
        try {
          run.dmOnline.desconectarBancoOnline();
        } catch (...) {
          // Leaving by an error already.
        }
      }
    }
  } endSession{*this};
  for (Phase phase : runPhases()) {
    if (!phase(*this)) return;
  }
}

ScopedOnlineSession& VantorimRun::beginSession() {
  session_.reset();
  return session_.emplace(dmOnline);
}

ScopedOnlineSession& VantorimRun::session() {
  if (!session_) return beginSession();
  return *session_;
}

void VantorimRun::ShowStatus(std::string_view text, int64_t minimum, int64_t maximum, int64_t position) {
  form.ShowStatus(text, minimum, maximum, position);
}

void VantorimRun::WriteLogLine(std::string_view text) { form.WriteLogLine(text); }

bool VantorimRun::DownloadFile(std::string_view fileName, std::string_view handleText, std::string_view folder,
                               std::string_view localFile) {
  return form.DownloadFile(fileName, handleText, folder, localFile);
}

void VantorimRun::releaseInstanceLock() {
  if (instanceLock_) instanceLock_->release();
}

void VantorimRun::pause(std::chrono::milliseconds duration) { clock.pause(duration); }

void VantorimRun::alert(std::string_view message) { alertUser(dmUtils, message); }

bool VantorimRun::proceed(const StepOutcome& outcome) {
  if (outcome.kind() == StepOutcome::Kind::GoOn) return true;
  if (outcome.kind() == StepOutcome::Kind::Ended) return false;
  ScopedOnlineSession* session = session_ ? &*session_ : nullptr;
  auto disconnect = [&] {
    if (session)
      session->disconnect();
    else
      dmOnline.desconectarBancoOnline();
  };
  const ExtraDisconnect where = outcome.where();
  if (!outcome.logLine().empty()) WriteLogLine(outcome.logLine());
  if (where == ExtraDisconnect::BeforeMessage) disconnect();
  if (!outcome.userTold()) alert(outcome.message());
  if (where == ExtraDisconnect::AfterMessage || where == ExtraDisconnect::BeforeShutdown) disconnect();
  form.Shutdown(false);
  if (session) session->closedByShutdown();
  form.requestTermination();
  return false;
}

} // namespace vt
