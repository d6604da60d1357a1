#include "tests/launcher/suite_run_support.h"

#include <chrono>
#include <filesystem>
#include <thread>

#include "dmutils/dm_utils.h"
#include "online/dm_online.h"
#include "platform/regional.h"
#include "utils/text.h"
#include "terminal/essential_file.h"
#include "terminal/utils_db_online.h"
#include "tests/fixtures/pe_builder.h"
#include "tests/fixtures/start_recorder.h"
#include "tests/fixtures/zip_writer.h"
#include "test_server_values.h"
#include "tests/launcher/test_database.h"
#include "test_implanter_password.h"

namespace vt::test {

const platform::FileVersion SuiteRun::kLauncherVersion{1, 2, 3, 4};

namespace {

// Each suite that makes whole runs keeps its tables in a database of its own,
// so suites that run at once do not share them.
#ifndef VT_SUITE_DATABASE_SUFFIX
#define VT_SUITE_DATABASE_SUFFIX "_suite"
#endif
const std::string kSuiteDatabase = std::string(VT_TEST_PRIMARY_DB) + VT_SUITE_DATABASE_SUFFIX;

std::string quotedSql(const std::string& text) {
  std::string out = "'";
  for (char c : text) {
    if (c == '\'' || c == '\\') out += c;
    out += c;
  }
  return out + "'";
}

} // namespace

utils::TDateTime isoDateTime(const std::string& text) {
  // "yyyy-mm-dd hh:nn:ss"
  const int y = std::stoi(text.substr(0, 4)), m = std::stoi(text.substr(5, 2)), d = std::stoi(text.substr(8, 2));
  int h = 0, n = 0, s = 0;
  if (text.size() >= 19) h = std::stoi(text.substr(11, 2)), n = std::stoi(text.substr(14, 2)), s = std::stoi(text.substr(17, 2));
  return utils::composeDateTime(utils::encodeDate(y, m, d), utils::encodeTime(h, n, s, 0));
}

std::string implanterPasswordInCapitals() { return utils::upperCase(VT_TEST_IMPLANTER_PASSWORD); }

void runOnSideConnection(SuiteRun& t, const std::string& script) {
  // The same drive's client library, with credentials of its own.
  FixedCredentials credentials = t.f->credentials;
  credentials.port = t.databasePort;
  TdmOnline side(credentials, "C:\\Quorvelin\\libmySQL.dll", AlternativeServer{"alt", "alt", "x", "127.0.0.1"});
  ASSERT_EQ(side.conectarBancoOnline(), "");
  std::string ret;
  ASSERT_TRUE(side.executaScript(script, ret)) << ret;
  side.desconectarBancoOnline();
}

void SuiteRun::SetUp() {
  if (databasePort.empty()) databasePort = VT_TEST_MARIADB_PORT;
  FixedCredentials primary = testDatabase(VT_TEST_PRIMARY_DB), suite = testDatabase(kSuiteDatabase);
  primary.port = suite.port = databasePort;
  {
    // The suite's own database, made once on the primary one's connection.
    LauncherFixture maker("C:\\Quorvelin\\Vantorim.exe", "http://127.0.0.1:9/", primary, true);
    ASSERT_EQ(maker.dmOnline.conectarBancoOnline(), "");
    std::string ret;
    ASSERT_TRUE(maker.dmOnline.executaScript("create database if not exists `" + kSuiteDatabase + "`;", ret)) << ret;
    maker.dmOnline.desconectarBancoOnline();
  }
  f = std::make_unique<LauncherFixture>("C:\\Quorvelin\\Vantorim.exe", server.url(folder_ + "/"), suite, true);
  f->drive.write("C:\\Quorvelin\\Vantorim.exe", executable(kLauncherVersion));
  sql("drop table if exists tabscoappversoes;"
      "drop table if exists tabclientes;"
      "drop table if exists tabscoclientesmodulos;"
      "drop table if exists tabscoreportsonline;"
      "create table tabscoappversoes (CODIGO int primary key, VANTORIM varchar(30));"
      "create table tabclientes (HANDLE int, RAZAOSOCIAL varchar(100), NOMEFANT varchar(100), "
      "RELEASE_VANTORIM int, SCO_VERSAO varchar(30), SEGMENTO_EMPRESA varchar(40), CONEXAOONLINE varchar(200));"
      "create table tabscoclientesmodulos (CODCLI int, CODMODULO int);"
      "create table tabscoreportsonline (CODIGO int primary key, HANDLE int, FILENAME varchar(255), "
      "DIRETORIO varchar(255), DATAALT datetime);");
  publishLauncher("V1.02.03.04");
}

void SuiteRun::TearDown() { f.reset(); }

void SuiteRun::sql(const std::string& script) {
  ASSERT_EQ(f->dmOnline.conectarBancoOnline(), "");
  std::string ret;
  ASSERT_TRUE(f->dmOnline.executaScript(script, ret)) << ret;
  f->dmOnline.desconectarBancoOnline();
  f->credentials.calls = 0;
}

void SuiteRun::addCompany(const OnlineCompany& c) {
  sql("insert into tabclientes values (" + std::to_string(c.handle) + "," + quotedSql(c.razaoSocial) + "," +
      quotedSql(c.nomeFantasia) + "," + std::to_string(c.release) + "," + quotedSql(c.scoVersao) + "," +
      quotedSql(c.segment) + "," + quotedSql(c.conexao) + ");");
}

void SuiteRun::addModules(int handle, const std::vector<int>& codes) {
  std::string script;
  for (int code : codes)
    script += "insert into tabscoclientesmodulos values (" + std::to_string(handle) + "," + std::to_string(code) + ");";
  if (!script.empty()) sql(script);
}

void SuiteRun::addOnlineLayout(const OnlineLayout& l) {
  sql("insert into tabscoreportsonline values (" + std::to_string(l.codigo) + "," + std::to_string(l.handle) + "," +
      quotedSql(l.fileName) + "," + quotedSql(l.folder) + "," + quotedSql(l.changed) + ");");
}

void SuiteRun::publishLauncher(const std::string& version) {
  sql("delete from tabscoappversoes; insert into tabscoappversoes values (1, " + quotedSql(version) + ");");
}

std::string SuiteRun::executable(platform::FileVersion version) { return recordingExecutable(version); }

void SuiteRun::servePackage(const std::string& packageFolder, const std::string& app, platform::FileVersion version) {
  ZipWriter zip;
  ZipEntryOptions runnable;
  runnable.unixMode = 0100755;
  zip.add(app + ".exe", executable(version), runnable);
  zip.add("leia-me-" + app + ".txt", "pacote de " + app);
  server.put(folder_ + "/Quorvelin/" + packageFolder + "/" + app + ".zip", zip.finish());
}

void SuiteRun::serveReports(const std::string& packageFolder, const std::map<std::string, std::string>& files) {
  ZipWriter zip;
  for (const auto& [path, bytes] : files) zip.add("reports/" + path, bytes);
  server.put(folder_ + "/Quorvelin/" + packageFolder + "/reports.zip", zip.finish());
}

void SuiteRun::serveLayout(int handle, const std::string& folder, const std::string& fileName,
                           const std::string& content) {
  server.put(folder_ + "/nuvem/reports/" + std::to_string(handle) + "/" + folder + "/" + fileName, content);
}

size_t SuiteRun::getsOf(const std::string& relative) const {
  size_t gets = 0;
  for (const auto& r : server.requestsTo(serverPath(relative)))
    if (r.method == "GET") ++gets;
  return gets;
}

void SuiteRun::install(const std::string& app, platform::FileVersion version) {
  f->drive.write("C:\\Quorvelin\\" + app, executable(version));
  std::filesystem::permissions(f->drive.host("C:\\Quorvelin\\" + app), std::filesystem::perms::owner_all);
}

void SuiteRun::setBaseApplication(const std::string& name) {
  f->dmUtils.setToConfig("CONEXAO", "AplicativoBasesExterno", name, kConfigPath);
}

void SuiteRun::registerTerminal(const std::vector<ReportRow>& rows) {
  const std::string plain = essentialPlainText(rows, platform::userRegionalFormats());
  f->dmUtils.setToConfig("CONFIGURACAO", "BancoOnLine", encipherText(plain, 77), kConfigPath);
}

std::string SuiteRun::bancoOnLine() const { return config("CONFIGURACAO", "BancoOnLine"); }

std::string SuiteRun::config(const std::string& section, const std::string& key) const {
  return f->dmUtils.getFromConfig(section, key, kConfigPath);
}

std::vector<ReportRow> SuiteRun::registeredRows() const {
  const DecodedEssentialFile decoded =
      parseEssentialPlainText(decipherText(bancoOnLine()), platform::userRegionalFormats());
  return decoded.rows;
}

std::string SuiteRun::installedVersion(const std::string& app) const {
  return TdmUtils::GetExeVersion("C:\\Quorvelin\\" + app);
}

std::vector<std::string> SuiteRun::started(size_t atLeast) const {
  const std::string marks = "C:\\Quorvelin\\iniciados.txt";
  std::vector<std::string> names;
  // Up to 10 s: a program started under Wine takes a while to run.
  for (int i = 0; i < 1000; ++i) {
    names.clear();
    if (f->drive.exists(marks)) {
      const std::string text = f->drive.read(marks);
      for (size_t at = 0; at < text.size();) {
        size_t end = text.find('\n', at);
        std::string line = text.substr(at, end - at);
        names.push_back(std::filesystem::path(line).filename().string());
        at = end == std::string::npos ? text.size() : end + 1;
      }
    }
    if (names.size() >= atLeast) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return names;
}

void SuiteRun::runLauncher() {
  f->credentials.calls = 0;
  f->run.execute();
}

std::vector<std::string> SuiteRun::log() const { return f->logEntries(); }

std::vector<std::string> SuiteRun::lastLog(size_t count) const {
  auto all = log();
  if (all.size() < count) return all;
  return {all.end() - static_cast<long>(count), all.end()};
}

bool SuiteRun::logHas(const std::string& entry) const {
  for (const auto& line : log())
    if (line == entry) return true;
  return false;
}

} // namespace vt::test
