// The console front end: the plain lines a file or a pipe receives, and on a
// terminal the download line redrawn in place.
#include <gtest/gtest.h>

#include <chrono>
#include <sstream>
#include <string>
#include <vector>

#include "dialogs/forms.h"
#include "dmutils/dm_utils.h"
#include "launcher/frm_vantorim.h"
#include "online/dm_online.h"
#include "platform/clock.h"
#include "tests/launcher/launcher_fixture.h"
#include "tests/support/http_test_server.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/temp_drive.h"
#include "ui/console_view.h"

namespace vt {
namespace {

using namespace std::chrono_literals;
using TimePoint = std::chrono::steady_clock::time_point;

const std::string kRedraw = "\r\x1b[K";

// A clock the test moves by hand.
struct HandClock {
  TimePoint now{};
  ConsoleView::Clock function() {
    return [this] { return now; };
  }
};

// The events of one transfer as the window sends them, with the time each
// arrives.
struct Step {
  enum Kind { kBegin, kBar, kEnd, kLog, kStatus } kind;
  int64_t value; // the total, the count, or nothing
  std::chrono::milliseconds at;
  std::string text = {};
};

std::string render(bool terminal, const std::vector<Step>& steps) {
  std::ostringstream out;
  HandClock clock;
  ConsoleView view(out, terminal, clock.function());
  WindowState state;
  for (const Step& s : steps) {
    clock.now = TimePoint{} + s.at;
    switch (s.kind) {
    case Step::kBegin:
      state.pgbDownload.max = s.value;
      view.downloadBegan(state);
      view.downloadBarChanged(state);
      break;
    case Step::kBar:
      state.pgbDownload.position = s.value;
      view.downloadBarChanged(state);
      break;
    case Step::kEnd:
      view.downloadEnded(state);
      state.pgbDownload.position = 0;
      view.downloadBarChanged(state);
      break;
    case Step::kLog:
      view.logAppended(state, "- " + s.text + "\r\n");
      break;
    case Step::kStatus:
      state.status = s.text;
      view.statusChanged(state);
      break;
    }
  }
  return out.str();
}

TEST(ConsoleView, ADownloadIsOneLineOnATerminalAndThePlainLinesElsewhere) {
  struct Case {
    const char* what;
    std::vector<Step> steps;
    std::string plain;
    std::string terminal;
  };
  const Case cases[] = {
      {"a whole transfer: redrawn at most every 100 ms, ended with its last count",
       {{Step::kLog, 0, 0ms, "Baixando arquivo C:\\Quorvelin\\dwd\\Caspelo.zip do FTP da Quorvelin"},
        {Step::kBegin, 4000, 0ms},
        {Step::kBar, 1000, 50ms},   // too soon after the first drawing
        {Step::kBar, 2000, 200ms},  // drawn
        {Step::kBar, 3000, 250ms},  // too soon
        {Step::kBar, 4000, 400ms},  // drawn
        {Step::kEnd, 0, 400ms},  // the last count is already there
        {Step::kStatus, 0, 500ms, "descompactando Caspelo.exe"}},
       "- Baixando arquivo C:\\Quorvelin\\dwd\\Caspelo.zip do FTP da Quorvelin\n"
       "download: 4000 bytes\n"
       "status: descompactando Caspelo.exe\n",
       "- Baixando arquivo C:\\Quorvelin\\dwd\\Caspelo.zip do FTP da Quorvelin\n" + kRedraw +
           "download: 0 / 4000 bytes (0%)" + kRedraw + "download: 2000 / 4000 bytes (50%), 10.0 kB/s" + kRedraw +
           "download: 4000 / 4000 bytes (100%), 10.0 kB/s\n"
           "status: descompactando Caspelo.exe\n"},
      {"a transfer that breaks off: the failure line starts a line of its own",
       {{Step::kBegin, 100000, 0ms},
        {Step::kBar, 50000, 1000ms},
        {Step::kLog, 0, 1500ms, "Falha para baixar o arquivo Caspelo.zip. Erro informado: x"}},
       "download: 100000 bytes\n"
       "- Falha para baixar o arquivo Caspelo.zip. Erro informado: x\n",
       kRedraw + "download: 0 / 100000 bytes (0%)" + kRedraw + "download: 50000 / 100000 bytes (50%), 50.0 kB/s\n" +
           "- Falha para baixar o arquivo Caspelo.zip. Erro informado: x\n"},
      {"two transfers one after the other: each line of its own",
       {{Step::kBegin, 10, 0ms}, {Step::kEnd, 0, 0ms}, {Step::kBegin, 20, 1000ms}, {Step::kBar, 20, 2000ms},
        {Step::kEnd, 0, 2000ms}},
       "download: 10 bytes\ndownload: 20 bytes\n",
       kRedraw + "download: 0 / 10 bytes (0%)\n" + kRedraw + "download: 0 / 20 bytes (0%)" + kRedraw +
           "download: 20 / 20 bytes (100%), 20 B/s\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(render(false, c.steps), c.plain) << c.what;
    EXPECT_EQ(render(true, c.steps), c.terminal) << c.what;
  }
}

TEST(ConsoleView, WithoutADownloadATerminalGetsThePlainLines) {
  std::ostringstream plain, terminal;
  for (std::ostringstream* out : {&plain, &terminal}) {
    ConsoleView view(*out, out == &terminal);
    WindowState state;
    state.status = "Iniciando...";
    view.statusChanged(state);
    state.warningVisible = true;
    view.warningChanged(state);
    state.warningVisible = false;
    view.warningChanged(state);
    view.logAppended(state, "- Encerra a aplicação\r\n");
    view.showException("Unable to write to C:\\Quorvelin\\Config.ini");
  }
  EXPECT_EQ(plain.str(), "status: Iniciando...\n"
                         "aviso: Não utilize o PC até o fim do processo\n"
                         "- Encerra a aplicação\n"
                         "erro: Unable to write to C:\\Quorvelin\\Config.ini\n");
  EXPECT_EQ(terminal.str(), plain.str());
}

TEST(ConsoleView, TheProgressTextGivesTheCountsTheShareAndTheRate) {
  struct Case {
    int64_t received, total;
    std::chrono::milliseconds elapsed;
    const char* text;
  };
  const Case cases[] = {
      {0, 7673926, 0ms, "0 / 7673926 bytes (0%)"},  // no time yet: no rate
      {999, 1000, 1000ms, "999 / 1000 bytes (99%), 999 B/s"},
      {1500, 3000, 1000ms, "1500 / 3000 bytes (50%), 1.5 kB/s"},
      {7673926, 7673926, 2000ms, "7673926 / 7673926 bytes (100%), 3.8 MB/s"},
      // A file past 2 GiB: the counts do not overflow.
      {3000000000, 4000000000, 10000ms, "3000000000 / 4000000000 bytes (75%), 300.0 MB/s"},
  };
  for (const Case& c : cases) EXPECT_EQ(downloadProgressText(c.received, c.total, c.elapsed), c.text);
}

// DownloadFile of the main window with the console front end, from the test
// HTTP server on loopback.
struct ConsoleDownload {
  explicit ConsoleDownload(bool terminal)
      : view(out, terminal, [this] { return viewTime += 1s; }),
        dmOnline(credentials, "C:\\Quorvelin\\libmySQL.dll", AlternativeServer{"alt", "alt", "x", "127.0.0.1"}),
        form(dmUtils, dmOnline, clock, view, server.url()) {
    dmUtils.attachForms(dmForms);
    dmForms.attachUtils(dmUtils);
    drive.write("C:\\Quorvelin\\dwd\\.keep", "");
  }
  test::HttpTestServer server;
  std::string folder = test::HttpTestServer::uniqueFolder();
  test::TempDrive drive;
  test::ScriptedMessageUi ui;
  platform::ManualClock clock;
  std::ostringstream out;
  TimePoint viewTime{}; // each reading of the view's clock is a second later: every change is drawn
  ConsoleView view;
  test::FixedCredentials credentials = test::closedServer();
  TdmUtils dmUtils{clock, ui};
  TdmOnline dmOnline;
  TdmForms dmForms;
  TfrmVantorim form;
};

TEST(ConsoleView, ARealDownloadOnATerminalRedrawsItsLineUpToTheWholeFile) {
  ConsoleDownload d(true);
  const std::string body(300000, 'q');
  d.server.put(d.folder + "/upd/Caspelo.zip", body);
  // The server sends the file in 8 pieces, 120 ms apart (the HTTP client
  // reports its progress every 250 ms).
  ASSERT_TRUE(d.form.DownloadFile("Caspelo.zip", "", "_/slow/120/" + d.folder + "/upd/", "C:\\Quorvelin\\dwd\\Caspelo.zip"));
  EXPECT_EQ(d.drive.read("C:\\Quorvelin\\dwd\\Caspelo.zip"), body);
  const std::string text = d.out.str();
  const std::string logLine = "- Baixando arquivo C:\\Quorvelin\\dwd\\Caspelo.zip do FTP da Quorvelin\n";
  ASSERT_EQ(text.rfind(logLine, 0), 0u) << text;
  // After the log line: one line, drawn again and again, ended once.
  const std::string line = text.substr(logLine.size());
  ASSERT_FALSE(line.empty());
  EXPECT_EQ(line.back(), '\n') << line;
  EXPECT_EQ(line.find('\n'), line.size() - 1) << line;
  std::vector<int64_t> counts;
  for (size_t at = line.find(kRedraw); at != std::string::npos; at = line.find(kRedraw, at + 1)) {
    const size_t start = at + kRedraw.size();
    ASSERT_EQ(line.compare(start, 10, "download: "), 0) << line;
    counts.push_back(std::stoll(line.substr(start + 10)));
    const size_t end = std::min(line.find(kRedraw, start), line.size() - 1);
    EXPECT_NE(line.substr(start, end - start).find(" / 300000 bytes ("), std::string::npos) << line;
  }
  ASSERT_GE(counts.size(), 3u) << line;  // the start, pieces on the way, the end
  EXPECT_EQ(counts.front(), 0);
  EXPECT_EQ(counts.back(), 300000);
  for (size_t i = 1; i < counts.size(); ++i) EXPECT_LE(counts[i - 1], counts[i]) << line;
  EXPECT_NE(line.find("download: 300000 / 300000 bytes (100%), "), std::string::npos) << line;
  // Something strictly between the start and the end was drawn.
  bool between = false;
  for (int64_t c : counts) between = between || (c > 0 && c < 300000);
  EXPECT_TRUE(between) << line;
}

TEST(ConsoleView, ARealDownloadToAPipeKeepsThePlainLines) {
  ConsoleDownload d(false);
  d.server.put(d.folder + "/upd/Caspelo.zip", std::string(300000, 'q'));
  d.server.put(d.folder + "/upd/Pendrak.zip", "p");
  ASSERT_TRUE(d.form.DownloadFile("Caspelo.zip", "", "_/slow/120/" + d.folder + "/upd/", "C:\\Quorvelin\\dwd\\Caspelo.zip"));
  // A file announced without a length: the not-found box, shown by the message front end.
  EXPECT_FALSE(d.form.DownloadFile("Pendrak.zip", "", "_/no-length/" + d.folder + "/upd/", "C:\\Quorvelin\\dwd\\Pendrak.zip"));
  EXPECT_EQ(d.out.str(), "- Baixando arquivo C:\\Quorvelin\\dwd\\Caspelo.zip do FTP da Quorvelin\n"
                         "download: 300000 bytes\n"
                         "- Baixando arquivo C:\\Quorvelin\\dwd\\Pendrak.zip do FTP da Quorvelin\n");
}

} // namespace
} // namespace vt
