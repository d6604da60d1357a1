#pragma once
// A front end for tests: records the status texts shown, the repaint points
// and the termination requests.
#include <functional>
#include <string>
#include <vector>

#include "launcher/window_view.h"

namespace vt::test {

struct RecordingView final : WindowView {
  void statusChanged(const WindowState& s) override {
    statuses.push_back(s.status);
    if (onStatus) onStatus(s.status);
  }
  void logAppended(const WindowState&, const std::string& line) override {
    if (onLog) onLog(line);
  }
  void processMessages(const WindowState&) override { ++repaints; }
  void downloadBegan(const WindowState& s) override { downloadMaxima.push_back(s.pgbDownload.max); }
  void showException(const std::string& text) override { exceptions.push_back(text); }
  void requestTermination() override { ++terminations; }

  // Hooks that let a test change the world while the run goes on.
  std::function<void(const std::string& status)> onStatus;
  std::function<void(const std::string& line)> onLog; // "- <entry>\r\n"

  std::vector<std::string> statuses;
  std::vector<int64_t> downloadMaxima;
  std::vector<std::string> exceptions;
  int repaints = 0;
  int terminations = 0;
};

} // namespace vt::test
