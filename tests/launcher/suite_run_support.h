#pragma once
// A terminal and the maker's servers for whole runs of the launcher: a
// temporary drive with C:\Quorvelin\, the online tables in a database of this
// suite on the test MariaDB server, and the packages and layouts on the test
// HTTP server, all built from real parts (zip packages holding executables
// with version resources).
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/pe_version.h"
#include "terminal/report_table.h"
#include "tests/launcher/launcher_fixture.h"
#include "tests/support/http_test_server.h"
#include "tests/support/scripted_ui.h"

namespace vt::test {

// A row of tabclientes.
struct OnlineCompany {
  int handle = 0;
  std::string scoVersao;
  int release = 0;
  std::string segment = "VAREJO";
  std::string conexao = "servidor-online:3306/quorvelin";
  std::string razaoSocial = "Comércio Exemplo Ltda";
  std::string nomeFantasia = "Loja Exemplo";
};

// A row of tabscoreportsonline.
struct OnlineLayout {
  int codigo = 0;
  int handle = 0;
  std::string fileName, folder;
  std::string changed; // "2024-05-02 10:00:00"
};

class SuiteRun : public ::testing::Test {
public:
  void SetUp() override;
  void TearDown() override;

  // --- The online tables ---
  void addCompany(const OnlineCompany& company);
  void addModules(int handle, const std::vector<int>& codes);
  void addOnlineLayout(const OnlineLayout& layout);
  void publishLauncher(const std::string& version); // tabscoappversoes
  void sql(const std::string& script);

  // --- The download server ---
  // The package <app>.zip in Quorvelin/<packageFolder>/ with <app>.exe at
  // that version (runnable, recording its start in iniciados.txt).
  void servePackage(const std::string& packageFolder, const std::string& app, platform::FileVersion version);
  // reports.zip in Quorvelin/<packageFolder>/: "reports/<path>" for each file.
  void serveReports(const std::string& packageFolder, const std::map<std::string, std::string>& files);
  void serveLayout(int handle, const std::string& folder, const std::string& fileName, const std::string& content);
  std::string serverPath(const std::string& relative) const { return "/" + folder_ + "/" + relative; }
  size_t getsOf(const std::string& relative) const;

  // --- The terminal ---
  static std::string executable(platform::FileVersion version);
  void install(const std::string& app, platform::FileVersion version);
  void setBaseApplication(const std::string& name);
  // Writes "BancoOnLine" for these rows (dates as "yyyy-mm-dd hh:nn:ss").
  void registerTerminal(const std::vector<ReportRow>& rows);
  std::string bancoOnLine() const;
  std::string config(const std::string& section, const std::string& key) const;
  // The rows "BancoOnLine" holds now.
  std::vector<ReportRow> registeredRows() const;
  std::string installedVersion(const std::string& app) const;
  // The programs the run started (their recorded starts), waiting a little for them.
  std::vector<std::string> started(size_t atLeast = 1) const;

  // --- The run ---
  void runLauncher();
  std::vector<std::string> log() const; // the on-screen log's entries, "- " included
  std::vector<std::string> lastLog(size_t count) const;
  bool logHas(const std::string& entry) const;

  HttpTestServer server;
  std::string folder_ = HttpTestServer::uniqueFolder();
  // The port of the MariaDB server that holds the run's database: the tests'
  // shared server unless a fixture sets a private one before SetUp.
  std::string databasePort;
  std::unique_ptr<LauncherFixture> f;
  static const platform::FileVersion kLauncherVersion;
};

utils::TDateTime isoDateTime(const std::string& text);

// The implanter password of this build, typed in capitals (the registration
// lower-cases what is typed).
std::string implanterPasswordInCapitals();

// Runs statements on a connection of its own, beside the run's session.
void runOnSideConnection(SuiteRun& t, const std::string& script);

} // namespace vt::test
