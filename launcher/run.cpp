#include "launcher/run.h"

#include "dmutils/dm_utils.h"
#include "launcher/frm_vantorim.h"
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

std::string ScopedOnlineSession::connect() { return online_.conectarBancoOnline(); }

std::string ScopedOnlineSession::connectAlternative() { return online_.conectarBancoOnlineAlternativo(); }

void ScopedOnlineSession::disconnect() {
  if (done_) return;
  done_ = true;
  online_.desconectarBancoOnline();
}

VantorimRun::VantorimRun(const RunModules& m)
    : dmUtils(m.dmUtils), dmOnline(m.dmOnline), dmForms(m.dmForms), form(m.frmVantorim),
      dmUtilsDbOnline(m.dmUtilsDbOnline), clock(m.clock), input(m.input), dmServMonitor(m.dmServMonitor),
      dmServIFood(m.dmServIFood), dmServOrbenta(m.dmServOrbenta) {
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

const std::string& VantorimRun::launcherFolder() const { return form.launcherFolder(); }

const std::string& VantorimRun::exeName() const { return form.exeName(); }

bool VantorimRun::abortRun(std::string_view logLine, std::string_view message, ExtraDisconnect where,
                           ScopedOnlineSession* session) {
  auto disconnect = [&] {
    if (session)
      session->disconnect();
    else
      dmOnline.desconectarBancoOnline();
  };
  if (!logLine.empty()) WriteLogLine(logLine);
  if (where == ExtraDisconnect::BeforeMessage) disconnect();
  if (!message.empty()) dmUtils.exibeMsg(message, "Atenção", false, true);
  if (where == ExtraDisconnect::AfterMessage || where == ExtraDisconnect::BeforeShutdown) disconnect();
  form.Shutdown(false);
  if (session) session->closedByShutdown();
  form.requestTermination();
  return false;
}

} // namespace vt
