// Whole runs whose online database stops between two queries: a MariaDB
// server of these tests' own (the shared one serves the other suites) is shut
// down or killed at a point of the run, and the run leaves by the
// unexpected-error path with its session closed and nothing written that it
// had not finished.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <signal.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "online/dm_online.h"
#include "platform/files.h"
#include "terminal/essential_file.h"
#include "tests/launcher/suite_run_support.h"

namespace vt {
namespace {

using test::isoDateTime;

const platform::FileVersion kOld{2, 3, 10, 0};
const platform::FileVersion kNew{2, 3, 11, 0};

// The private server: its own state folder and port, the same databases and
// users as the shared one.
class PrivateServer {
public:
  static bool start() { return command("--start --port " VT_PRIVATE_MARIADB_PORT " --setup-sql '" VT_TEST_SETUP_SQL "'"); }
  // A clean shutdown: the server closes its connections.
  static bool shutDown() { return command("--stop"); }
  // The server process ends at once, as a crash or a power cut would end it.
  static bool kill() {
    std::ifstream in(std::string(VT_PRIVATE_MARIADB_STATE_DIR) + "/server.pid");
    pid_t pid = 0;
    if (!(in >> pid) || pid <= 0) return false;
    if (::kill(pid, SIGKILL) != 0) return false;
    for (int i = 0; i < 500 && ::kill(pid, 0) == 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    return ::kill(pid, 0) != 0;
  }

private:
  static bool command(const std::string& arguments) {
    const std::string line = "'" VT_PYTHON3 "' '" VT_MARIADB_SERVER_SCRIPT "' --state-dir '" VT_PRIVATE_MARIADB_STATE_DIR
                             "' " + arguments + " >>'" VT_PRIVATE_MARIADB_STATE_DIR "-commands.log' 2>&1";
    return std::system(line.c_str()) == 0;
  }
};

// A registered terminal whose company was moved to a new version: the run
// would replace its three applications, fetch its reports, register a new
// layout, rewrite the essential file and start the point-of-sale program.
struct StopPoint {
  const char* where;
  std::string logEntry;    // the server stops as this entry is written, before the query after it
  bool kill;               // killed rather than shut down
  bool updateFinished;     // the application update and the table were done before the stop
};

void PrintTo(const StopPoint& point, std::ostream* out) { *out << point.where; }

class StoppedDatabase : public test::SuiteRun, public ::testing::WithParamInterface<StopPoint> {
protected:
  static void TearDownTestSuite() { PrivateServer::shutDown(); }

  void SetUp() override {
    // Each run stops the server: it is started again for the next one.
    ASSERT_TRUE(PrivateServer::start()) << "see " VT_PRIVATE_MARIADB_STATE_DIR "-commands.log";
    databasePort = VT_PRIVATE_MARIADB_PORT;
    SuiteRun::SetUp();
  }

  // The run as the window's activation starts it, its unexpected error
  // caught as the window catches it: the error's text.
  std::string runUntilItFails() {
    try {
      runLauncher();
    } catch (const std::exception& e) {
      return e.what();
    }
    return "";
  }
};

TEST_P(StoppedDatabase, TheRunLeavesByTheUnexpectedErrorPathAndWritesNothingItHadNotFinished) {
  const StopPoint& point = GetParam();
  addCompany({53, "2.03.11.00"});
  addCompany({12, "2.03.11.00", 0, "VAREJO", "nuvem-12.quorvelin:3306/loja12"});
  addModules(12, {7});
  for (const char* app : {"Quorvelin", "Pendrak", "Caspelo"}) {
    install(std::string(app) + ".exe", kOld);
    servePackage("upd", app, kNew);
  }
  serveReports("upd", {{"venda/padrao.fr3", "padrão novo"}, {"venda/personalizados/vendas.fr3", "de fábrica"}});
  f->drive.write("C:\\Quorvelin\\reports\\venda\\personalizados\\vendas.fr3", "vendas do cliente");
  setBaseApplication("Caspelo");
  registerTerminal({ReportRow{12, "", "", std::nullopt}});
  f->drive.write("C:\\Quorvelin\\dwd\\deixado.txt", "de uma execução anterior");
  const std::string before = bancoOnLine();
  // A new layout online changes the table, so the hand-over rewrites it.
  addOnlineLayout({1, 12, "pedido", "venda", "2024-06-02 00:00:00"});
  serveLayout(12, "venda", "pedido.fr3", "pedido novo");

  bool stopped = false;
  f->view.onLog = [&](const std::string& line) {
    if (stopped || line != point.logEntry) return;
    stopped = true;
    EXPECT_TRUE(point.kill ? PrivateServer::kill() : PrivateServer::shutDown());
  };
  const std::string error = runUntilItFails();

  ASSERT_TRUE(stopped) << "the run never wrote the entry; its log: " << ::testing::PrintToString(log()) << " "
                       << (f->ui.shown.empty() ? "" : f->ui.shown[0].text) << error;
  EXPECT_NE(error, "") << "an error no phase catches leaves the run";
  EXPECT_TRUE(f->ui.shown.empty()) << "no phase's message: " << f->ui.shown[0].text;
  EXPECT_FALSE(f->form.terminationRequested());
  EXPECT_FALSE(f->dmOnline.connected()) << "the session is closed on the way out";
  EXPECT_EQ(lastLog(1), std::vector<std::string>{point.logEntry.substr(0, point.logEntry.size() - 2)})
      << "no later step ran";
  if (point.updateFinished) {
    EXPECT_EQ(installedVersion("Caspelo.exe"), "V2.03.11.00");
    EXPECT_EQ(f->drive.read("C:\\Quorvelin\\reports\\venda\\personalizados\\pedido.fr3"), "pedido novo");
    EXPECT_NE(bancoOnLine(), before) << "the table the run had finished is saved";
  } else {
    for (const char* app : {"Quorvelin", "Pendrak", "Caspelo"})
      EXPECT_EQ(installedVersion(std::string(app) + ".exe"), "V2.03.10.00") << app;
    EXPECT_EQ(getsOf("Quorvelin/upd/Quorvelin.zip"), 0u);
    EXPECT_EQ(bancoOnLine(), before);
  }
  // Nothing of the hand-over: no connection written, the download folder
  // not emptied, nothing started.
  EXPECT_EQ(config("CONEXAO", "CaminhoExterno"), "");
  EXPECT_TRUE(f->drive.exists("C:\\Quorvelin\\dwd\\deixado.txt"));
  EXPECT_FALSE(f->drive.exists("C:\\Quorvelin\\iniciados.txt"));

  // The user closes the window: the closing routine runs, the download
  // folder is still left alone.
  f->form.FormClose();
  EXPECT_EQ(lastLog(1), std::vector<std::string>{"- Encerra a aplicação"});
  EXPECT_EQ(f->form.state().status, "Encerrando");
  EXPECT_TRUE(f->drive.exists("C:\\Quorvelin\\dwd\\deixado.txt"));
}

INSTANTIATE_TEST_SUITE_P(
    BetweenTwoQueries, StoppedDatabase,
    ::testing::Values(
        StopPoint{"the self-update, before the version table's check",
                  "- Confere se tabela tabscoappversoes no banco online está acessível\r\n", false, false},
        StopPoint{"the update check, before the application update's queries (killed)",
                  "- As versões estão diferentes, os aplicativos terão que ser atualizados\r\n", true, false},
        StopPoint{"the hand-over, before the company's connection is read",
                  "- Recriando o arquivo essencial para conferência das próximas execuções do Vantorim\r\n", false,
                  true}));

} // namespace
} // namespace vt
#endif
