#pragma once
// A front end for tests: records the status texts shown, the repaint points
// and the termination requests.
#include <string>
#include <vector>

#include "launcher/window_view.h"

namespace vt::test {

struct RecordingView final : WindowView {
  void statusChanged(const WindowState& s) override { statuses.push_back(s.status); }
  void processMessages(const WindowState&) override { ++repaints; }
  void downloadBegan(const WindowState& s) override { downloadMaxima.push_back(s.pgbDownload.max); }
  void showException(const std::string& text) override { exceptions.push_back(text); }
  void requestTermination() override { ++terminations; }

  std::vector<std::string> statuses;
  std::vector<int64_t> downloadMaxima;
  std::vector<std::string> exceptions;
  int repaints = 0;
  int terminations = 0;
};

} // namespace vt::test
