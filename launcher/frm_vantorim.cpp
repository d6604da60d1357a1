#include "launcher/frm_vantorim.h"

#include <algorithm>

#include "dmutils/dm_utils.h"
#include "launcher/phases/phases.h"
#include "launcher/run.h"
#include "online/dm_online.h"
#include "platform/encoding.h"
#include "platform/files.h"
#include "terminal/utils_db_online.h"
#include "utils/numbers_dates.h"

namespace vt {

TfrmVantorim::TfrmVantorim(TdmUtils& utils, TdmOnline& online, platform::Clock& runClock, WindowView& view,
                           std::string serverBaseAddress)
    : dmUtils(utils), dmOnline(online), clock(runClock), view_(view), serverBaseAddress_(std::move(serverBaseAddress)) {}

void TfrmVantorim::FormShow() {
  if (!run_) return;
  try {
    runStartupChecks(*run_);
  } catch (const std::exception& e) {
    // As the platform's default handler does: the error's text in a box, the
    // rest of the event skipped. A failed check has already asked to end.
    view_.showException(e.what());
  }
}

void TfrmVantorim::FormActivate() {
  if (state_.caption.empty() || state_.tag != 1) return;
  // The platform may activate the window again while the run is in progress
  // (after a modal dialog closes): the run starts once per process.
  if (runStarted_) return;
  runStarted_ = true;
  try {
    if (run_) run_->execute();
  } catch (const std::exception& e) {
    // An error no phase catches leaves the run: its text is shown, no later
    // phase runs, and the window stays until the user closes it.
    view_.showException(e.what());
  }
}

void TfrmVantorim::FormClose() {
  try {
    Shutdown(false);
  } catch (const std::exception& e) {
    view_.showException(e.what());
  }
}

void TfrmVantorim::ShowStatus(std::string_view text, int64_t minimum, int64_t maximum, int64_t position) {
  dmUtils.bringApplicationToFront();
  ProgressBarState& bar = state_.pgbLauncher;
  bar.min = minimum;
  if (maximum != 0) {
    bar.max = maximum;
    bar.position = position;
  } else {
    bar.position += position;
  }
  // The bar keeps its position within its range.
  bar.position = std::clamp(bar.position, std::min(bar.min, bar.max), std::max(bar.min, bar.max));
  view_.launcherBarChanged(state_);
  if (!text.empty()) {
    state_.status = std::string(text);
    view_.statusChanged(state_);
  }
  view_.processMessages(state_);
}

std::string TfrmVantorim::dateTimeText() const {
  return utils::formatShortDateLongTime(utils::nowDateTime(clock));
}

void TfrmVantorim::WriteLogLine(std::string_view text) {
  try {
    const std::string line = "- " + std::string(text) + "\r\n";
    state_.memLog += line;
    view_.logAppended(state_, line);
    const std::string& logPath = run_ ? run_->state.logPath : std::string();
    if (!logPath.empty()) {
      // The file must exist: a deleted day's file is not created again.
      platform::appendToExistingFile(logPath,
                                     platform::utf8ToFileText(dateTimeText() + " " + std::string(text) + "\r\n"));
    }
  } catch (...) {
    // The log never fails the run.
  }
}

void TfrmVantorim::setCaption(std::string caption) {
  state_.caption = std::move(caption);
  view_.captionChanged(state_);
}

void TfrmVantorim::clearLog() {
  state_.memLog.clear();
  view_.logCleared(state_);
}

void TfrmVantorim::Shutdown(bool cleanDownloads) {
  WriteLogLine("Encerra a aplicação");
  if (cleanDownloads && dmUtilsDbOnline_) dmUtilsDbOnline_->limpaDwd();
  dmOnline.desconectarBancoOnline();
  ShowStatus("Encerrando", 0, 0, 0);
  if (dmUtilsDbOnline_ && dmUtilsDbOnline_->cdsDados.Active()) dmUtilsDbOnline_->cdsDados.Close();
}

void TfrmVantorim::requestTermination() {
  terminationRequested_ = true;
  view_.requestTermination();
}

void TfrmVantorim::showWarning(bool visible) {
  state_.warningVisible = visible;
  view_.warningChanged(state_);
}

void TfrmVantorim::setWaitCursor(bool waiting) {
  state_.waitCursor = waiting;
  view_.cursorChanged(state_);
}

void TfrmVantorim::processMessages() { view_.processMessages(state_); }

// The bar takes the low 32 bits of the counts, as the progress control does.
static int64_t low32(int64_t value) { return static_cast<int32_t>(static_cast<uint32_t>(value & 0xFFFFFFFF)); }

void TfrmVantorim::idhDownloadWorkBegin(int64_t AWorkCountMax) {
  state_.pgbDownload.max = low32(AWorkCountMax);
  view_.downloadBegan(state_);
  view_.downloadBarChanged(state_);
}

void TfrmVantorim::idhDownloadWork(int64_t AWorkCount) {
  state_.pgbDownload.position = low32(AWorkCount);
  view_.downloadBarChanged(state_);
}

void TfrmVantorim::idhDownloadWorkEnd() {
  view_.downloadEnded(state_);
  state_.pgbDownload.position = 0;
  view_.downloadBarChanged(state_);
}

} // namespace vt
