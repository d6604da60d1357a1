#pragma once
// TfrmVantorim, the launcher's main window: the start-up checks (FormShow),
// the run (FormActivate), the status line, the run log, the closing routine
// and the downloads. Its state is drawn by a front end (WindowView); the
// run's own state (where the launcher lives, the run log's file) is the
// run's (launcher/run.h).
#include <cstdint>
#include <string>
#include <string_view>

#include "launcher/window_view.h"

namespace vt::platform {
class Clock;
}

namespace vt {

class TdmUtils;
class TdmOnline;
class TdmUtilsDbOnline;
class VantorimRun;

class TfrmVantorim {
public:
  // `serverBaseAddress`: the maker's download web server, for DownloadFile.
  TfrmVantorim(TdmUtils& dmUtils, TdmOnline& dmOnline, platform::Clock& clock, WindowView& view,
               std::string serverBaseAddress);
  TfrmVantorim(const TfrmVantorim&) = delete;
  TfrmVantorim& operator=(const TfrmVantorim&) = delete;

  // The terminal-data module is created after the window; the application joins them.
  void attachDbOnline(TdmUtilsDbOnline& dmUtilsDbOnline) { dmUtilsDbOnline_ = &dmUtilsDbOnline; }
  // The run whose start-up checks showing the window runs, which the first
  // activation starts, and whose run log the window writes.
  void attachRun(VantorimRun& run) { run_ = &run; }

  // --- Window events ---
  void FormShow();
  void FormActivate(); // the run; starts at most once per process
  void FormClose();

  // --- Routines every phase uses ---
  void ShowStatus(std::string_view text, int64_t minimum, int64_t maximum, int64_t position);
  void WriteLogLine(std::string_view text);
  void Shutdown(bool cleanDownloads);
  bool DownloadFile(std::string_view fileName, std::string_view handleText, std::string_view folder,
                    std::string_view localFile);

  // The HTTP client's progress events.
  void idhDownloadWorkBegin(int64_t AWorkCountMax);
  void idhDownloadWork(int64_t AWorkCount);
  void idhDownloadWorkEnd();

  // The platform's quit request: the process ends once control returns to
  // the message loop; the caller goes on until it returns.
  void requestTermination();

  void showWarning(bool visible);
  // The application's mouse cursor: the wait cursor, or the default one.
  void setWaitCursor(bool waiting);
  // Pending window messages are processed (the window repaints).
  void processMessages();

  // --- State ---
  const WindowState& state() const { return state_; }
  void setCaption(std::string caption);
  // The start flag the start-up checks set once they have run.
  void setStartFlag(int tag) { state_.tag = tag; }
  void clearLog();
  bool terminationRequested() const { return terminationRequested_; }
  bool runStarted() const { return runStarted_; }

  // The current date and time as the run log writes them.
  std::string dateTimeText() const;

  TdmUtils& dmUtils;
  TdmOnline& dmOnline;
  platform::Clock& clock;
  TdmUtilsDbOnline& dmUtilsDbOnline() { return *dmUtilsDbOnline_; }

  // The window's timer component. It has no handler: switching it on or off,
  // or changing its interval, has no effect on anything.
  struct Timer {
    bool Enabled = true;
    unsigned Interval = 1000;
  } tmrTimeOut;

private:
  WindowView& view_;
  std::string serverBaseAddress_;
  TdmUtilsDbOnline* dmUtilsDbOnline_ = nullptr;
  VantorimRun* run_ = nullptr;
  WindowState state_;
  bool terminationRequested_ = false;
  bool runStarted_ = false;
};

} // namespace vt
