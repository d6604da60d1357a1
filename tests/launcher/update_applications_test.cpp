// UpdateApplications end to end on a temporary drive: the real online
// database (MariaDB on loopback, a database of this suite's own), the real
// download server (loopback), real zip packages holding real executables with
// version resources.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>

#include "dmutils/dm_utils.h"
#include "launcher/phases/phases.h"
#include "launcher/update_applications.h"
#include "online/dm_online.h"
#include "launcher/online_queries.h"
#include "platform/files.h"
#include "tests/fixtures/pe_builder.h"
#include "tests/fixtures/zip_writer.h"
#include "tests/launcher/launcher_fixture.h"
#include "tests/support/http_test_server.h"
#include "test_server_values.h"
#include "tests/launcher/test_database.h"

namespace vt {
namespace {

using Lines = std::vector<std::string>;
using std::chrono::milliseconds;

constexpr int kCompany = 1200;
const std::string kRoot = "C:\\Quorvelin\\";
const std::string kDatabase = std::string(VT_TEST_PRIMARY_DB) + "_update";

std::string executable(platform::FileVersion version) {
  test::PeOptions pe;
  pe.fileVersion = version;
  return test::buildPe(pe).bytes;
}
const std::string kNewBuild = executable({2, 3, 10, 5});  // the prescribed V2.03.10.05
const std::string kOldBuild = executable({2, 2, 0, 0});
const std::string kOlderBuild = executable({2, 1, 0, 0});

std::string appPackage(const std::string& name, const std::string& exe = kNewBuild) {
  return test::makeZip({{name + ".exe", exe}, {"notas/" + name + ".txt", "notas da versão"}});
}

// The reports package: a standard layout, a custom one in the package's own
// personalizados folder (the old layout must win) and a folder only the
// package has.
std::string reportsPackage() {
  return test::makeZip({{"reports/venda/padrao.fr3", "padrão novo"},
                        {"reports/venda/personalizados/vendas.fr3", "vendas do pacote"},
                        {"reports/compras/personalizados/pedido.fr3", "pedido do pacote"}});
}

struct Client {
  int handle;
  std::optional<std::string> version;  // nullopt: NULL
  std::string segment;
};

struct UpdateApplicationsTest : ::testing::Test {
  test::HttpTestServer server;
  std::string folder = test::HttpTestServer::uniqueFolder();
  std::unique_ptr<test::LauncherFixture> f;

  void SetUp() override {
    f.reset();  // one drive at a time
    f = std::make_unique<test::LauncherFixture>("C:\\Quorvelin\\Vantorim.exe", server.url(folder + "/"),
                                                test::testDatabase(kDatabase), true);
    createDatabaseOnce();
    f->drive.write(kRoot + "dwd\\.keep", "");
  }

  // A case of a table: a fresh drive and server folder of its own.
  void restart(size_t caseIndex) {
    folder = test::HttpTestServer::uniqueFolder() + "-" + std::to_string(caseIndex);
    SetUp();
  }

  // The suite's database, made anew when the suite starts.
  void createDatabaseOnce() {
    static bool created = false;
    if (created) return;
    std::string ret;
    f->credentials.name = VT_TEST_PRIMARY_DB;
    ASSERT_EQ(f->dmOnline.conectarBancoOnline(), "");
    ASSERT_TRUE(f->dmOnline.executaScript("drop database if exists " + kDatabase + "; create database " + kDatabase +
                                              " character set utf8mb4 collate utf8mb4_general_ci;",
                                          ret))
        << ret;
    f->credentials.name = kDatabase;
    ASSERT_EQ(f->dmOnline.conectarBancoOnline(), "");
    ASSERT_TRUE(f->dmOnline.executaScript(
        "create table tabclientes (HANDLE int primary key, SCO_VERSAO varchar(30), SEGMENTO_EMPRESA varchar(60));"
        "create table tabscoclientesmodulos (CODCLI int, CODMODULO int);",
        ret))
        << ret;
    f->dmOnline.desconectarBancoOnline();
    created = true;
  }

  // The online rows; the session is closed again, so the update's first
  // statement opens it.
  void seed(const std::vector<Client>& clients, const std::vector<std::pair<int, int>>& modules) {
    std::string script = "delete from tabclientes; delete from tabscoclientesmodulos;";
    for (const Client& c : clients)
      script += "insert into tabclientes values (" + std::to_string(c.handle) + ", " +
                (c.version ? "'" + *c.version + "'" : "null") + ", '" + c.segment + "');";
    for (auto [client, module] : modules)
      script += "insert into tabscoclientesmodulos values (" + std::to_string(client) + ", " +
                std::to_string(module) + ");";
    std::string ret;
    ASSERT_EQ(f->dmOnline.conectarBancoOnline(), "");
    ASSERT_TRUE(f->dmOnline.executaScript(script, ret)) << ret;
    f->dmOnline.desconectarBancoOnline();
  }
  // The company on the reference version, with the point-of-sale and services modules.
  void seedCompany(const std::string& segment = "VAREJO", std::vector<int> modules = {7, 9}) {
    std::vector<std::pair<int, int>> rows;
    for (int m : modules) rows.emplace_back(kCompany, m);
    seed({{53, "V2.03.10.05", ""}, {kCompany, "V2.03.10.05", segment}}, rows);
  }

  void serve(const std::string& packageFolder, const std::string& file, const std::string& bytes) {
    server.put(folder + "/Quorvelin/" + packageFolder + "/" + file, bytes);
  }
  void serveApps(const std::vector<std::string>& names, const std::string& packageFolder = "upd") {
    for (const auto& name : names) serve(packageFolder, name + ".zip", appPackage(name));
  }
  std::vector<std::string> methods(const std::string& packageFolder, const std::string& file) const {
    std::vector<std::string> out;
    for (const auto& r : server.requestsTo("/" + folder + "/Quorvelin/" + packageFolder + "/" + file))
      out.push_back(r.method);
    return out;
  }

  // A terminal on the previous version: three applications and a reports
  // folder with a custom layout of the shop.
  void installPreviousSuite() {
    for (const char* name : {"Quorvelin", "Pendrak", "Caspelo"})
      f->drive.write(kRoot + name + ".exe", kOldBuild);
    f->drive.write(kRoot + "reports\\venda\\padrao.fr3", "padrão antigo");
    f->drive.write(kRoot + "reports\\venda\\personalizados\\vendas.fr3", "layout da loja");
  }

  bool update(bool redundancy = false, int release = 0, int handle = kCompany) {
    return UpdateApplications(f->run, kRoot, handle, redundancy ? UpdatePass::Redundancy : UpdatePass::First, release);
  }

  std::string versionOf(const std::string& relative) const { return TdmUtils::GetExeVersion(kRoot + relative); }
  bool exists(const std::string& relative) const { return platform::pathExists(kRoot + relative); }
  std::string read(const std::string& relative) const { return f->drive.read(kRoot + relative); }

  Lines logEntries() const { return f->logEntries(); }
  bool logged(const std::string& entry) const {
    const Lines log = logEntries();
    return std::find(log.begin(), log.end(), "- " + entry) != log.end();
  }
  std::vector<long long> pauses() const {
    std::vector<long long> out;
    for (auto p : f->clock.pauses()) out.push_back(p.count());
    return out;
  }
  // The folders of the install root whose names begin with "reports".
  Lines reportsFolders() const {
    Lines out;
    for (const auto& e : platform::listDirectory(kRoot, "reports*"))
      if (e.isDirectory) out.push_back(e.name);
    std::sort(out.begin(), out.end());
    return out;
  }
  // The dated backup name of a swap that ended `afterMs` ago.
  std::string backupName(long long afterMs) const {
    const platform::LocalTime t = platform::addMilliseconds(f->clock.now(), -afterMs);
    char name[32];
    std::snprintf(name, sizeof name, "reports%02d%02d%04d%02d%02d%02d", t.day, t.month, t.year, t.hour, t.minute,
                  t.second);
    return name;
  }
};

TEST_F(UpdateApplicationsTest, AWholeUpdateReplacesTheExecutablesAndSwapsTheReportsKeepingTheLayouts) {
  seedCompany();
  installPreviousSuite();
  f->drive.write(kRoot + "Zentrix.exe", kOldBuild);   // module 18 no longer licensed
  f->drive.write(kRoot + "Torsilde.exe", kOldBuild);  // not a lumber company
  f->drive.write(kRoot + "reports\\etiquetas\\etiqueta.fr3", "etiqueta");  // no personalizados folder
  f->drive.write(kRoot + "boletobancario\\bancos\\001.ini", "banco");
  serveApps({"Quorvelin", "Pendrak", "Caspelo", "Mirendal"});
  serve("upd", "reports.zip", reportsPackage());
  // The caller's query is left as it was.
  ASSERT_EQ(f->dmOnline.conectarBancoOnline(), "");
  runQuery(f->dmOnline.qryOneLine, "select HANDLE from tabclientes where HANDLE = 53");

  EXPECT_TRUE(update());

  for (const char* exe : {"Quorvelin.exe", "Pendrak.exe", "Caspelo.exe", "Mirendal.exe"})
    EXPECT_EQ(versionOf(exe), "V2.03.10.05") << exe;
  EXPECT_FALSE(exists("Zentrix.exe"));
  EXPECT_FALSE(exists("Torsilde.exe"));
  EXPECT_TRUE(platform::listDirectory(kRoot, "trocandoPorVersaoOnline_*").empty());
  EXPECT_FALSE(exists("boletobancario\\bancos"));
  EXPECT_TRUE(exists("dwd\\notas\\Caspelo.txt"));  // extracted, not installed
  EXPECT_FALSE(exists("notas"));

  EXPECT_EQ(read("reports\\venda\\personalizados\\vendas.fr3"), "layout da loja");
  EXPECT_EQ(read("reports\\venda\\padrao.fr3"), "padrão novo");
  EXPECT_EQ(read("reports\\compras\\personalizados\\pedido.fr3"), "pedido do pacote");
  EXPECT_FALSE(exists("reports\\etiquetas"));  // the old folder's own files went with it
  EXPECT_EQ(reportsFolders(), Lines{"reports"});
  EXPECT_FALSE(exists("dwd\\reports"));

  for (const char* file : {"Quorvelin.zip", "Pendrak.zip", "Caspelo.zip", "Mirendal.zip", "reports.zip"})
    EXPECT_EQ(methods("upd", file), (Lines{"HEAD", "GET"})) << file;
  EXPECT_TRUE(methods("upd_anterior", "Quorvelin.zip").empty());
  EXPECT_TRUE(f->ui.shown.empty());

  EXPECT_TRUE(f->dmOnline.qryOneLine.Active());
  EXPECT_EQ(f->dmOnline.qryOneLine.FieldAsInteger("HANDLE"), 53);
  EXPECT_FALSE(f->dmOnline.qryTwoLine.Active());

  // 1 s per package, 0.5 s per removal check, 2 s per rename and 1 s per
  // copy (Mirendal was not installed), 2 s before the swap, 6 s per move.
  EXPECT_EQ(pauses(), (std::vector<long long>{1000, 1000, 1000, 1000, 500, 500, 500, 2000, 1000, 2000, 1000, 2000,
                                              1000, 1000, 2000, 6000, 6000}));
  EXPECT_EQ(f->clock.totalPaused(), milliseconds(29500));

  const std::string backup = kRoot + backupName(12000);
  EXPECT_EQ(logEntries(),
            (Lines{"- compara a versao base (2031005) com a versão do cliente (2031005) são iguais, serão baixados os "
                   "arquivos atuais",
                   "- baixando Quorvelin.exe",
                   "- Baixando arquivo C:\\Quorvelin\\dwd\\Quorvelin.zip do FTP da Quorvelin",
                   "- descompactando Quorvelin.exe",
                   "- baixando Pendrak.exe",
                   "- Baixando arquivo C:\\Quorvelin\\dwd\\Pendrak.zip do FTP da Quorvelin",
                   "- descompactando Pendrak.exe",
                   "- baixando Caspelo.exe",
                   "- Baixando arquivo C:\\Quorvelin\\dwd\\Caspelo.zip do FTP da Quorvelin",
                   "- descompactando Caspelo.exe",
                   "- baixando Mirendal.exe",
                   "- Baixando arquivo C:\\Quorvelin\\dwd\\Mirendal.zip do FTP da Quorvelin",
                   "- descompactando Mirendal.exe",
                   "- Confere se Zentrix.exe ainda existe",
                   "- Zentrix.exe excluído na atualização",
                   "- Confere se Dostravo.exe ainda existe",
                   "- Confere se Torsilde.exe ainda existe",
                   "- Torsilde.exe excluído na atualização",
                   "- Baixando arquivo C:\\Quorvelin\\dwd\\reports.zip do FTP da Quorvelin",
                   "- Descompactando nova reports",
                   "- Trocando arquivos entre as duas reports",
                   "- Criado diretório ausente: " + backup + "\\etiquetas\\personalizados"}));
  EXPECT_EQ(f->view.statuses,
            (Lines{"Baixando Quorvelin.exe", "descompactando Quorvelin.exe", "Baixando Pendrak.exe",
                   "descompactando Pendrak.exe", "Baixando Caspelo.exe", "descompactando Caspelo.exe",
                   "Baixando Mirendal.exe", "descompactando Mirendal.exe", "Substituindo Quorvelin",
                   "Substituindo Pendrak", "Substituindo Caspelo", "Substituindo Mirendal", "Baixando reports",
                   "Descompactando nova reports", "Trocando reports", "Renomeando reports atual",
                   "Copiando nova reports", "Retornando os personalizáveis"}));
}

TEST_F(UpdateApplicationsTest, AStagedExecutableAtThePrescribedVersionIsInstalledWithoutADownload) {
  seedCompany();
  installPreviousSuite();
  f->drive.write(kRoot + "dwd\\Caspelo.exe", kNewBuild);
  f->drive.write(kRoot + "dwd\\Mirendal.exe", kOldBuild);  // staged, but not at the prescribed version
  serveApps({"Quorvelin", "Pendrak", "Caspelo", "Mirendal"});
  serve("upd", "reports.zip", reportsPackage());

  EXPECT_TRUE(update());

  EXPECT_TRUE(methods("upd", "Caspelo.zip").empty());
  EXPECT_EQ(methods("upd", "Mirendal.zip"), (Lines{"HEAD", "GET"}));
  for (const char* exe : {"Quorvelin.exe", "Pendrak.exe", "Caspelo.exe", "Mirendal.exe"})
    EXPECT_EQ(versionOf(exe), "V2.03.10.05") << exe;
  // The staged application comes after the downloaded ones.
  const Lines statuses = f->view.statuses;
  const Lines replaced(std::find(statuses.begin(), statuses.end(), "Substituindo Quorvelin"),
                       std::find(statuses.begin(), statuses.end(), "Baixando reports"));
  EXPECT_EQ(replaced, (Lines{"Substituindo Quorvelin", "Substituindo Pendrak", "Substituindo Mirendal",
                             "Substituindo Caspelo"}));
}

TEST_F(UpdateApplicationsTest, APackageTheServerLacksStopsTheDownloadsButTheRestOfTheUpdateRuns) {
  seedCompany();
  installPreviousSuite();
  f->drive.write(kRoot + "dwd\\Caspelo.exe", kOlderBuild);  // left by an earlier run
  f->drive.write(kRoot + "boletobancario\\bancos\\001.ini", "banco");
  serveApps({"Quorvelin", "Caspelo", "Mirendal"});  // no Pendrak.zip
  serve("upd", "reports.zip", reportsPackage());

  EXPECT_FALSE(update());

  ASSERT_EQ(f->ui.shown.size(), 1u);
  const std::string& text = f->ui.shown[0].text;
  EXPECT_EQ(text.rfind("Erro ao realizar o download do arquivo Pendrak.zip. Possíveis causas:", 0), 0u) << text;
  EXPECT_NE(text.find("404"), std::string::npos) << text;
  EXPECT_EQ(f->ui.shown[0].caption, "Atenção");
  // No further package is fetched.
  EXPECT_TRUE(methods("upd", "Caspelo.zip").empty());
  EXPECT_TRUE(methods("upd", "Mirendal.zip").empty());
  // What is staged is installed, an older build included; the applications
  // the company uses are spared, the others removed; the reports are swapped.
  EXPECT_EQ(versionOf("Quorvelin.exe"), "V2.03.10.05");
  EXPECT_EQ(versionOf("Pendrak.exe"), "V2.02.00.00");
  EXPECT_EQ(versionOf("Caspelo.exe"), "V2.01.00.00");
  EXPECT_FALSE(exists("Mirendal.exe"));
  EXPECT_FALSE(logged("Confere se Caspelo.exe ainda existe"));
  EXPECT_FALSE(logged("Confere se Mirendal.exe ainda existe"));
  EXPECT_TRUE(logged("Confere se Zentrix.exe ainda existe"));
  EXPECT_FALSE(exists("boletobancario\\bancos"));
  EXPECT_EQ(read("reports\\venda\\padrao.fr3"), "padrão novo");
  EXPECT_EQ(read("reports\\venda\\personalizados\\vendas.fr3"), "layout da loja");
  // The package that failed waits nowhere: no 1-second pause after it.
  EXPECT_EQ(pauses().front(), 1000);
  EXPECT_EQ(pauses()[1], 500);
}

TEST_F(UpdateApplicationsTest, AnExecutableThatCannotBeRenamedEndsTheReplacementsOnly) {
  seedCompany();
  installPreviousSuite();
  // A folder holds the swap name: the rename of Pendrak.exe fails.
  ASSERT_TRUE(platform::createDirectories(kRoot + "trocandoPorVersaoOnline_Pendrak.exe"));
  f->drive.write(kRoot + "boletobancario\\bancos\\001.ini", "banco");
  serveApps({"Quorvelin", "Pendrak", "Caspelo", "Mirendal"});
  serve("upd", "reports.zip", reportsPackage());

  EXPECT_FALSE(update());

  EXPECT_TRUE(f->ui.shown.empty());
  EXPECT_EQ(versionOf("Quorvelin.exe"), "V2.03.10.05");
  EXPECT_EQ(versionOf("Pendrak.exe"), "V2.02.00.00");
  EXPECT_EQ(versionOf("Caspelo.exe"), "V2.02.00.00");
  EXPECT_FALSE(exists("Mirendal.exe"));
  EXPECT_TRUE(exists("dwd\\Caspelo.exe"));
  EXPECT_FALSE(exists("trocandoPorVersaoOnline_Quorvelin.exe"));
  // The replacements stop at Pendrak; the folder clean-up and the reports still run.
  EXPECT_EQ(std::count(f->view.statuses.begin(), f->view.statuses.end(), "Substituindo Caspelo"), 0);
  EXPECT_EQ(f->view.statuses.back(), "Retornando os personalizáveis");
  EXPECT_FALSE(exists("boletobancario\\bancos"));
  EXPECT_EQ(read("reports\\venda\\personalizados\\vendas.fr3"), "layout da loja");
  EXPECT_EQ(f->clock.totalPaused(), milliseconds(4 * 1000 + 3 * 500 + 3000 + 14000));

  // The journal names what was left half-installed; once the swap name is
  // free, the next run finishes it before it compares the versions.
  EXPECT_TRUE(exists("dwd\\instalacao_pendente.txt"));
  ASSERT_TRUE(std::filesystem::remove(f->drive.host(kRoot + "trocandoPorVersaoOnline_Pendrak.exe")));
  f->form.clearLog();
  EXPECT_TRUE(phaseInterruptedInstallation(f->run));
  for (const char* app : {"Quorvelin.exe", "Pendrak.exe", "Caspelo.exe"}) EXPECT_EQ(versionOf(app), "V2.03.10.05") << app;
  EXPECT_FALSE(exists("dwd\\instalacao_pendente.txt"));
  EXPECT_TRUE(logged("Conclui a instalação interrompida dos aplicativos baixados"));
  EXPECT_TRUE(logged("Instala Pendrak.exe a partir de C:\\Quorvelin\\dwd\\Pendrak.exe"));
  EXPECT_FALSE(logged("Instala Quorvelin.exe a partir de C:\\Quorvelin\\dwd\\Quorvelin.exe"));
}

TEST_F(UpdateApplicationsTest, AJournalWhoseStagedExecutablesAreGoneIsDropped) {
  f->drive.write(kRoot + "dwd\\instalacao_pendente.txt", "Quorvelin\r\nPendrak\r\n");
  f->drive.write(kRoot + "Quorvelin.exe", kOldBuild);
  EXPECT_TRUE(phaseInterruptedInstallation(f->run));
  EXPECT_FALSE(exists("dwd\\instalacao_pendente.txt"));
  EXPECT_EQ(versionOf("Quorvelin.exe"), "V2.02.00.00");
  EXPECT_TRUE(logged("Instalação interrompida descartada: os executáveis baixados não existem mais"));
}

TEST_F(UpdateApplicationsTest, AnExecutableThatCannotBeCopiedKeepsThePreviousOne) {
  seedCompany("VAREJO", {});
  installPreviousSuite();
  serveApps({"Quorvelin", "Pendrak"});
  // A folder holds the temporary name the new Quorvelin.exe is copied to.
  ASSERT_TRUE(platform::createDirectories(kRoot + "dwd\\novo_Quorvelin.exe"));

  EXPECT_TRUE(update(true));

  EXPECT_EQ(versionOf("Quorvelin.exe"), "V2.02.00.00");
  EXPECT_FALSE(exists("trocandoPorVersaoOnline_Quorvelin.exe"));
  EXPECT_TRUE(logged("Não foi possível copiar a nova versão de Quorvelin.exe; a versão anterior foi mantida"));
  EXPECT_EQ(versionOf("Pendrak.exe"), "V2.03.10.05");
  // The journal stays: the next run tries Quorvelin.exe again before it compares the versions.
  EXPECT_TRUE(exists("dwd\\instalacao_pendente.txt"));
}

TEST_F(UpdateApplicationsTest, APackageWithAnEntryOutsideTheDownloadFolderIsRefusedWhole) {
  seedCompany();
  installPreviousSuite();
  serveApps({"Quorvelin", "Pendrak", "Mirendal"});
  serve("upd", "Caspelo.zip", test::makeZip({{"Caspelo.exe", kNewBuild}, {"../fora.exe", kNewBuild}}));
  serve("upd", "reports.zip", reportsPackage());

  EXPECT_FALSE(update());

  ASSERT_EQ(f->ui.shown.size(), 1u);
  EXPECT_EQ(f->ui.shown[0].text,
            "Houve problemas ao tentar descompactar o arquivo Caspelo.zip. Isso pode ter acontecido pelo arquivo ter "
            "sido baixado corrompido ou haver restrições de seu sistema operacional as ações do atualizador. Tente "
            "novamente o processo de atualização dando permissões gerais ao Vantorim e o executando como "
            "administrador.");
  EXPECT_EQ(f->ui.shown[0].caption, "Atenção");
  EXPECT_FALSE(exists("fora.exe"));
  EXPECT_FALSE(exists("dwd\\Caspelo.exe"));
  EXPECT_EQ(versionOf("Caspelo.exe"), "V2.02.00.00");
  EXPECT_TRUE(methods("upd", "Mirendal.zip").empty());
  EXPECT_FALSE(logged("descompactando Caspelo.exe"));
  EXPECT_EQ(versionOf("Pendrak.exe"), "V2.03.10.05");
}

TEST_F(UpdateApplicationsTest, EveryPackageThatDoesNotExtractIsDeletedSoTheNextUpdateFetchesItAgain) {
  const char* apps[] = {"Quorvelin", "Pendrak", "Caspelo"};
  for (const char* const& broken : apps) {
    restart(static_cast<size_t>(&broken - apps));
    seedCompany("VAREJO", {7});
    installPreviousSuite();
    serveApps({"Quorvelin", "Pendrak", "Caspelo"});
    serve("upd", std::string(broken) + ".zip", "isto não é um zip");
    serve("upd", "reports.zip", reportsPackage());

    EXPECT_FALSE(update()) << broken;
    EXPECT_FALSE(exists("dwd\\" + std::string(broken) + ".zip")) << broken;
    EXPECT_TRUE(logged("O arquivo C:\\Quorvelin\\dwd\\" + std::string(broken) +
                       ".zip foi excluído para ser baixado novamente na próxima atualização"))
        << broken;

    serveApps({broken});
    f->ui.shown.clear();
    EXPECT_TRUE(update()) << broken;
    EXPECT_TRUE(f->ui.shown.empty()) << broken;
    for (const char* app : apps) EXPECT_EQ(versionOf(std::string(app) + ".exe"), "V2.03.10.05") << broken << app;
  }
}

TEST_F(UpdateApplicationsTest, AReportsPackageThatDoesNotExtractLeavesTheReportsFolderWhole) {
  struct Case {
    const char* what;
    std::string package;
  };
  // A package whose second entry is damaged: its first entry is written
  // before the damage is found.
  std::string noise(4000, '\0');
  for (size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>((i * 2654435761u) >> 13);
  test::ZipWriter damaged;
  damaged.add("reports/venda/padrao.fr3", "padrão novo");
  damaged.add("reports/venda/personalizados/vendas.fr3", noise);
  std::string damagedBytes = damaged.finish();
  damagedBytes[damaged.placed()[1].dataOffset + 10] ^= 0x5A;
  const Case cases[] = {
      {"damaged", damagedBytes},
      {"an entry outside the folder", test::makeZip({{"reports/venda/padrao.fr3", "x"}, {"../fora.fr3", "x"}})},
  };
  for (const Case& c : cases) {
    restart(&c - cases);
    seedCompany("VAREJO", {});
    installPreviousSuite();
    for (const char* name : {"Quorvelin", "Pendrak"}) f->drive.write(kRoot + "dwd\\" + name + ".exe", kNewBuild);
    serve("upd", "reports.zip", c.package);

    EXPECT_FALSE(update()) << c.what;

    ASSERT_EQ(f->ui.shown.size(), 1u) << c.what;
    EXPECT_EQ(f->ui.shown[0].text,
              "Houve problemas ao tentar descompactar o arquivo reports.zip. Isso pode ter acontecido pelo arquivo "
              "ter sido baixado corrompido ou haver restrições de seu sistema operacional as ações do atualizador. "
              "Tente novamente o processo de atualização dando permissões gerais ao Vantorim e o executando como "
              "administrador.")
        << c.what;
    EXPECT_EQ(methods("upd", "reports.zip").size(), 2u) << c.what;
    EXPECT_EQ(read("reports\\venda\\padrao.fr3"), "padrão antigo") << c.what;
    EXPECT_EQ(read("reports\\venda\\personalizados\\vendas.fr3"), "layout da loja") << c.what;
    EXPECT_EQ(reportsFolders(), Lines{"reports"}) << c.what;
    EXPECT_FALSE(exists("dwd\\reports")) << c.what;
    EXPECT_FALSE(exists("fora.fr3")) << c.what;
    // The swap's wait still comes; the broken package is not kept for the next run.
    EXPECT_EQ(f->view.statuses.back(), "Trocando reports") << c.what;
    EXPECT_EQ(pauses().back(), 2000) << c.what;
    EXPECT_FALSE(exists("dwd\\reports.zip")) << c.what;
    EXPECT_TRUE(logged("O arquivo C:\\Quorvelin\\dwd\\reports.zip foi excluído para ser baixado novamente na "
                       "próxima atualização"))
        << c.what;

    // The next update fetches the package again.
    serve("upd", "reports.zip", reportsPackage());
    f->ui.shown.clear();
    EXPECT_TRUE(update()) << c.what;
    EXPECT_EQ(read("reports\\venda\\padrao.fr3"), "padrão novo") << c.what;
    EXPECT_EQ(read("reports\\venda\\personalizados\\vendas.fr3"), "layout da loja") << c.what;
  }
}

TEST_F(UpdateApplicationsTest, AReportsPackageAnEarlierRunLeftBrokenIsFetchedAgainOnce) {
  struct Case {
    const char* what;
    std::string leftover;
    std::string served;  // empty: the server has none
  };
  const std::string good = reportsPackage();
  const Case cases[] = {
      {"empty, left by a failed download", "", good},
      {"cut short by a power cut", good.substr(0, good.size() / 2), good},
      {"broken, and the server has none", "", ""},
  };
  for (const Case& c : cases) {
    restart(&c - cases);
    seedCompany("VAREJO", {});
    installPreviousSuite();
    for (const char* name : {"Quorvelin", "Pendrak"}) f->drive.write(kRoot + "dwd\\" + name + ".exe", kNewBuild);
    f->drive.write(kRoot + "dwd\\reports.zip", c.leftover);
    if (!c.served.empty()) serve("upd", "reports.zip", c.served);

    EXPECT_EQ(update(), !c.served.empty()) << c.what;

    EXPECT_TRUE(logged("O arquivo C:\\Quorvelin\\dwd\\reports.zip foi excluído para ser baixado novamente na "
                       "próxima atualização"))
        << c.what;
    EXPECT_EQ(methods("upd", "reports.zip").size(), c.served.empty() ? 1u : 2u) << c.what;  // HEAD, then GET
    EXPECT_EQ(read("reports\\venda\\personalizados\\vendas.fr3"), "layout da loja") << c.what;
    if (c.served.empty()) {
      ASSERT_EQ(f->ui.shown.size(), 1u) << c.what;
      EXPECT_EQ(f->ui.shown[0].text.rfind("Erro ao realizar o download do arquivo reports.zip.", 0), 0u) << c.what;
      EXPECT_EQ(read("reports\\venda\\padrao.fr3"), "padrão antigo") << c.what;
      EXPECT_FALSE(exists("dwd\\reports.zip")) << c.what;
    } else {
      EXPECT_TRUE(f->ui.shown.empty()) << c.what;
      EXPECT_EQ(read("reports\\venda\\padrao.fr3"), "padrão novo") << c.what;
    }
  }
}

TEST_F(UpdateApplicationsTest, AFailedReportsDownloadEndsTheUpdateAtOnce) {
  seedCompany("VAREJO", {});
  installPreviousSuite();
  serveApps({"Quorvelin", "Pendrak"});  // no reports.zip

  EXPECT_FALSE(update());

  ASSERT_EQ(f->ui.shown.size(), 1u);
  EXPECT_EQ(f->ui.shown[0].text.rfind("Erro ao realizar o download do arquivo reports.zip.", 0), 0u);
  EXPECT_EQ(versionOf("Quorvelin.exe"), "V2.03.10.05");
  EXPECT_EQ(read("reports\\venda\\padrao.fr3"), "padrão antigo");
  EXPECT_EQ(f->view.statuses.back(), "Baixando reports");
  EXPECT_FALSE(logged("Descompactando nova reports"));
  // The empty file the failed download left is not reused by the next update.
  EXPECT_FALSE(exists("dwd\\reports.zip"));
}

TEST_F(UpdateApplicationsTest, ARedundancyPassFetchesAndInstallsButLeavesTheReportsAlone) {
  seedCompany("VAREJO", {});
  installPreviousSuite();
  f->drive.write(kRoot + "boletobancario\\bancos\\001.ini", "banco");
  serveApps({"Quorvelin", "Pendrak"});
  serve("upd", "reports.zip", reportsPackage());

  EXPECT_TRUE(update(true));

  EXPECT_TRUE(logged("baixando em redundância Quorvelin.exe"));
  EXPECT_TRUE(logged("baixando em redundância Pendrak.exe"));
  EXPECT_FALSE(logged("baixando Quorvelin.exe"));
  EXPECT_EQ(versionOf("Quorvelin.exe"), "V2.03.10.05");
  EXPECT_EQ(versionOf("Pendrak.exe"), "V2.03.10.05");
  EXPECT_FALSE(exists("Caspelo.exe"));  // no module 7
  EXPECT_FALSE(exists("boletobancario\\bancos"));
  EXPECT_TRUE(methods("upd", "reports.zip").empty());
  EXPECT_EQ(read("reports\\venda\\padrao.fr3"), "padrão antigo");
  EXPECT_EQ(reportsFolders(), Lines{"reports"});
  EXPECT_EQ(f->view.statuses.back(), "Substituindo Pendrak");
  EXPECT_EQ(f->clock.totalPaused(), milliseconds(2 * 1000 + 5 * 500 + 2 * 3000));
}

TEST_F(UpdateApplicationsTest, LayoutsReachTheNewFolderWhenThePackageLacksTheirFolders) {
  seedCompany("VAREJO", {});
  installPreviousSuite();
  f->drive.write(kRoot + "reports\\financeiro\\personalizados\\caixa.fr3", "caixa da loja");
  f->drive.write(kRoot + "reports\\financeiro\\personalizados\\notas.txt", "não é layout");
  for (const char* name : {"Quorvelin", "Pendrak"}) f->drive.write(kRoot + "dwd\\" + name + ".exe", kNewBuild);
  // Neither venda\personalizados nor financeiro at all.
  serve("upd", "reports.zip", test::makeZip({{"reports/venda/padrao.fr3", "padrão novo"}}));

  EXPECT_TRUE(update());

  EXPECT_EQ(read("reports\\venda\\padrao.fr3"), "padrão novo");
  EXPECT_EQ(read("reports\\venda\\personalizados\\vendas.fr3"), "layout da loja");
  EXPECT_EQ(read("reports\\financeiro\\personalizados\\caixa.fr3"), "caixa da loja");
  EXPECT_FALSE(exists("reports\\financeiro\\personalizados\\notas.txt"));
  EXPECT_EQ(reportsFolders(), Lines{"reports"});
}

TEST_F(UpdateApplicationsTest, WithoutAReportsFolderThePackagesOneIsInstalled) {
  seedCompany("VAREJO", {});
  for (const char* name : {"Quorvelin", "Pendrak"}) f->drive.write(kRoot + "dwd\\" + name + ".exe", kNewBuild);
  serve("upd", "reports.zip", reportsPackage());

  EXPECT_TRUE(update());

  EXPECT_EQ(versionOf("Quorvelin.exe"), "V2.03.10.05");  // nothing was installed before
  EXPECT_EQ(read("reports\\venda\\personalizados\\vendas.fr3"), "vendas do pacote");
  EXPECT_EQ(reportsFolders(), Lines{"reports"});
  EXPECT_EQ(f->view.statuses.back(), "Copiando nova reports");
}

TEST_F(UpdateApplicationsTest, TheBackupStaysWhenALayoutCannotBeCopied) {
  seedCompany("VAREJO", {});
  installPreviousSuite();
  f->drive.write(kRoot + "reports\\compras\\personalizados\\pedido.fr3", "pedido da loja");
  for (const char* name : {"Quorvelin", "Pendrak"}) f->drive.write(kRoot + "dwd\\" + name + ".exe", kNewBuild);
  // A folder of the package takes the layout's name: that copy fails.
  test::ZipWriter zip;
  zip.add("reports/venda/padrao.fr3", "padrão novo");
  zip.addDirectory("reports/venda/personalizados/vendas.fr3/");
  serve("upd", "reports.zip", zip.finish());

  EXPECT_TRUE(update());

  const std::string backup = backupName(12000);
  EXPECT_EQ(reportsFolders(), (Lines{"reports", backup}));
  EXPECT_EQ(read(backup + "\\venda\\personalizados\\vendas.fr3"), "layout da loja");
  EXPECT_EQ(read("reports\\compras\\personalizados\\pedido.fr3"), "pedido da loja");
  EXPECT_EQ(logEntries().back(),
            "- A pasta " + kRoot + backup + " foi mantida: nem todos os personalizados foram copiados");
}

TEST_F(UpdateApplicationsTest, TheOldReportsTakeTheirNameBackWhenTheNewOnesCannotBeMovedIn) {
  seedCompany("VAREJO", {});
  installPreviousSuite();
  for (const char* name : {"Quorvelin", "Pendrak"}) f->drive.write(kRoot + "dwd\\" + name + ".exe", kNewBuild);
  serve("upd", "reports.zip", reportsPackage());
  // While the update waits after renaming the current folder, the new one goes.
  f->clock.onPause = [&](int index) {
    if (f->clock.pauses()[index].count() == 6000 && exists("dwd\\reports"))
      std::filesystem::remove_all(f->drive.host(kRoot + "dwd\\reports"));
  };

  EXPECT_TRUE(update());

  EXPECT_EQ(reportsFolders(), Lines{"reports"});
  EXPECT_EQ(read("reports\\venda\\padrao.fr3"), "padrão antigo");
  EXPECT_EQ(read("reports\\venda\\personalizados\\vendas.fr3"), "layout da loja");
  EXPECT_TRUE(logged("A nova reports não pôde ser copiada; a pasta " + kRoot + backupName(12000) +
                     " voltou a se chamar " + kRoot + "reports"));
}

TEST_F(UpdateApplicationsTest, TheModulesAndTheSegmentDecideWhatIsFetchedAndWhatIsRemoved) {
  seed({{53, "V2.03.10.05", ""}, {kCompany, "V2.03.10.05", "madeireira"}}, {{kCompany, 9}, {kCompany, 9}});
  installPreviousSuite();
  f->drive.write(kRoot + "Torsilde.exe", kOldBuild);
  serveApps({"Quorvelin", "Pendrak", "Mirendal", "Torsilde"});

  EXPECT_TRUE(update(true));

  EXPECT_EQ(methods("upd", "Mirendal.zip"), (Lines{"HEAD", "GET", "HEAD", "GET"}));
  EXPECT_TRUE(methods("upd", "Torsilde.zip").empty());
  EXPECT_EQ(versionOf("Mirendal.exe"), "V2.03.10.05");
  EXPECT_FALSE(exists("Caspelo.exe"));
  EXPECT_FALSE(exists("Torsilde.exe"));
  const Lines log = logEntries();
  const auto at = std::find(log.begin(), log.end(), "- Confere se Caspelo.exe ainda existe");
  ASSERT_NE(at, log.end());
  EXPECT_EQ(*(at + 1), "- Caspelo.exe excluído na atualização");
  EXPECT_TRUE(logged("Torsilde.exe excluído na atualização"));
  EXPECT_FALSE(logged("Confere se Mirendal.exe ainda existe"));
}

TEST_F(UpdateApplicationsTest, ThePackagesComeFromTheFolderTheVersionsAndTheReleaseChoose) {
  struct Case {
    std::optional<std::string> reference;  // nullopt: no row for handle 53
    std::string client;
    int release;
    std::string folder;
    Lines log;
  };
  const std::string stars(28, '*');
  const Case cases[] = {
      {"V2.03.10.05", "2.03.10", 0, "upd",
       {"- compara a versao base (2031005) com a versão do cliente (20310) são iguais, serão baixados os arquivos "
        "atuais"}},
      {"V2.03.10.05", "V2.04.10.05", 0, "upd_anterior",
       {"- compara a versao base (2031005) com a versão do cliente (2041005) são diferentes, serão baixados os "
        "arquivos da versão do cliente"}},
      {std::nullopt, "V2.03.10.05", 0, "upd_anterior",
       {"- compara a versao base (0) com a versão do cliente (2031005) são diferentes, serão baixados os arquivos "
        "da versão do cliente"}},
      {"V2.03.10.05", "V2.03.10.05", 7, "upd_onlinerelease/07",
       {"- compara a versao base (2031005) com a versão do cliente (2031005) são iguais, serão baixados os arquivos "
        "atuais",
        "- " + stars, "- identificada versão release, os projetos serão baixados de: upd_onlinerelease/07",
        "- " + stars}},
      {"V2.03.10.05", "V2.04.10.05", 123, "upd_onlinerelease/123",
       {"- compara a versao base (2031005) com a versão do cliente (2041005) são diferentes, serão baixados os "
        "arquivos da versão do cliente",
        "- " + stars, "- identificada versão release, os projetos serão baixados de: upd_onlinerelease/123",
        "- " + stars}},
  };
  for (const Case& c : cases) {
    restart(&c - cases);
    std::vector<Client> clients{{kCompany, c.client, ""}};
    if (c.reference) clients.push_back({53, *c.reference, ""});
    seed(clients, {});
    serveApps({"Quorvelin", "Pendrak"}, c.folder);

    EXPECT_TRUE(update(true, c.release)) << c.folder;

    EXPECT_EQ(methods(c.folder, "Quorvelin.zip"), (Lines{"HEAD", "GET"})) << c.folder;
    EXPECT_EQ(methods(c.folder, "Pendrak.zip"), (Lines{"HEAD", "GET"})) << c.folder;
    const Lines log = logEntries();
    EXPECT_EQ(Lines(log.begin(), log.begin() + static_cast<long>(c.log.size())), c.log) << c.folder;
    EXPECT_EQ(log[c.log.size()], "- baixando em redundância Quorvelin.exe") << c.folder;
  }
}

TEST_F(UpdateApplicationsTest, ACompanyWithoutARowFetchesTheFixedApplicationsAndAnUnreadableVersionIsAnError) {
  seed({{53, "V2.03.10.05", ""}}, {});
  serveApps({"Quorvelin", "Pendrak"}, "upd_anterior");
  EXPECT_TRUE(update(true, 0, 4321));
  EXPECT_EQ(methods("upd_anterior", "Quorvelin.zip"), (Lines{"HEAD", "GET"}));
  EXPECT_TRUE(logged("compara a versao base (2031005) com a versão do cliente (0) são diferentes, serão baixados os "
                     "arquivos da versão do cliente"));

  // Its digits, 9999999999, are no 32-bit integer.
  seed({{53, "V2.03.10.05", ""}, {77, "V99.99.99.99.99", ""}}, {});
  EXPECT_THROW(update(true, 0, 77), utils::ConvertError);
}

} // namespace
} // namespace vt
