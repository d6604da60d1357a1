// The clean-up of local installations phase by phase on a temporary drive:
// the local MySQL services (through the Linux build's net.exe on the
// simulated service manager), the monitor services with their uninstallers,
// the retired programs, the heidi folder and the leftover files.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "launcher/local_cleanup.h"
#include "launcher/phases/phases.h"
#include "platform/message_box.h"
#include "tests/fixtures/pe_builder.h"
#include "tests/services/cleanup_support.h"
#include "tests/services/simulated_services.h"

namespace vt {
namespace {

using namespace std::chrono_literals;
using test::logEntries;
using test::pausesOf;

namespace fs = std::filesystem;

std::vector<std::string> sorted(std::vector<std::string> v) {
  std::sort(v.begin(), v.end());
  return v;
}

std::vector<std::string> folderNames(const test::TempDrive& drive, const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(drive.host(folder))) names.push_back(e.path().filename().string());
  return sorted(names);
}

#ifndef _WIN32

using test::registerService;
using test::serviceRegistered;
using test::serviceState;

const std::string kDataX86 = "C:\\Program Files (x86)\\MySQL\\MySQL Server 5.7\\data";
const std::string kData = "C:\\Program Files\\MySQL\\MySQL Server 5.7\\data";

struct LocalMySql : ::testing::Test {
  test::LauncherFixture f;
  LocalMySql() {
    test::placeNetExe(f);
    // net.exe runs on its own: it waits at its start until the run yields
    // between two tests of the state, and the test lets it stop the service
    // and waits until it has ended.
    f.clock.onYield = [this] { test::letNetExeRun(f); };
  }
  void databases(const std::string& folder, std::initializer_list<const char*> names) {
    for (const char* name : names) fs::create_directories(f.drive.host(folder + "\\" + name));
  }
  std::string question(const std::string& name) const {
    return "Não estou conseguindo parar o serviço \"" + name +
           "\".\r\nTente fazer isso pelo gerenciador de tarefas.\r\nPara continuar selecione \"Sim\" para cancelar "
           "\"Não\"";
  }
};

TEST_F(LocalMySql, OnlyMySQL57RunningIsStoppedAndTheDataFolderIsProcessedOnce) {
  registerService(f.drive, {"MySQL57", 4});
  databases(kData, {"quorvelin", "QuorvelinDados", "mysql", "performance_schema"});
  f.drive.write(kData + "\\quorvelin_arquivo.ibd", "não é um banco");

  EXPECT_TRUE(phaseLocalMySql(f.run));

  EXPECT_EQ(serviceState(f.drive, "MySQL57"), 1); // stopped by net.exe
  EXPECT_FALSE(serviceRegistered(f.drive, "MySQL"));
  const auto log = logEntries(f);
  ASSERT_EQ(log.size(), 5u);
  EXPECT_EQ(log[0], "Confere se serviço do MySQL existe e está rodando localmente");
  EXPECT_EQ(log[1], "renomeia bancos iniciados como \"quorvelin\" no diretório data do MySQL57");
  EXPECT_EQ(log[2], "Tenta encontrar bancos iniciados com \"quorvelin\" no diretório \"" + kData + "\" para renomeá-los");
  EXPECT_EQ(sorted({log[3], log[4]}),
            (std::vector<std::string>{"Banco \"QuorvelinDados\" renomeado", "Banco \"quorvelin\" renomeado"}));
  EXPECT_EQ(folderNames(f.drive, kData), (std::vector<std::string>{"_quorvelin", "_quorvelinDados", "mysql",
                                                                   "performance_schema", "quorvelin_arquivo.ibd"}));
  EXPECT_TRUE(f.ui.shown.empty());
  EXPECT_EQ(pausesOf(f), std::vector<long long>{1000}); // one test after the stop request
}

TEST_F(LocalMySql, BothRunningAreStoppedAndTheSecondPassRenamesNothingTwice) {
  registerService(f.drive, {"MySQL", 4});
  registerService(f.drive, {"MySQL57", 4});
  // The 32-bit server's folder comes first; the other one is not touched.
  databases(kDataX86, {"QUORVELIN_loja", "_quorvelin_old", "backup_quorvelin"});
  databases(kData, {"quorvelin"});

  EXPECT_TRUE(phaseLocalMySql(f.run));

  EXPECT_EQ(serviceState(f.drive, "MySQL"), 1);
  EXPECT_EQ(serviceState(f.drive, "MySQL57"), 1);
  const std::string scan =
      "Tenta encontrar bancos iniciados com \"quorvelin\" no diretório \"" + kDataX86 + "\" para renomeá-los";
  EXPECT_EQ(logEntries(f), (std::vector<std::string>{
                               "Confere se serviço do MySQL existe e está rodando localmente",
                               "renomeia bancos iniciados como \"quorvelin\" no diretório data do MySQL",
                               scan,
                               "Banco \"QUORVELIN_loja\" renomeado",
                               "renomeia bancos iniciados como \"quorvelin\" no diretório data do MySQL57",
                               scan,
                           }));
  EXPECT_EQ(folderNames(f.drive, kDataX86),
            (std::vector<std::string>{"_quorvelin_loja", "_quorvelin_old", "backup_quorvelin"}));
  EXPECT_EQ(folderNames(f.drive, kData), std::vector<std::string>{"quorvelin"});
}

TEST_F(LocalMySql, AServiceThatWillNotStopAsksWhetherToGoOn) {
  struct Case {
    const char* what;
    bool answer;
  } cases[] = {{"Não ends the run without the closing routine", false}, {"Sim goes on with the rename", true}};
  for (const auto& c : cases) {
    test::LauncherFixture g;
    test::placeNetExe(g);
    g.clock.onYield = [&g] { test::letNetExeRun(g); };
    registerService(g.drive, {"MySQL57", 4, true});
    fs::create_directories(g.drive.host(kData + "\\quorvelin"));
    g.ui.answers.push_back(c.answer);

    EXPECT_EQ(phaseLocalMySql(g.run), c.answer) << c.what;

    EXPECT_EQ(serviceState(g.drive, "MySQL57"), 4) << c.what;
    ASSERT_EQ(g.ui.shown.size(), 1u) << c.what;
    EXPECT_EQ(g.ui.shown[0].text, question("MySQL57")) << c.what;
    EXPECT_EQ(g.ui.shown[0].caption, "Atenção") << c.what;
    EXPECT_EQ(g.ui.shown[0].style & 0x0F, platform::mb::kYesNo) << c.what;
    // Thirty tests, a second apart; the last pause is not followed by a test.
    EXPECT_EQ(pausesOf(g), std::vector<long long>(30, 1000)) << c.what;
    const auto log = logEntries(g);
    EXPECT_EQ(std::count(log.begin(), log.end(), "Encerra a aplicação"), 0) << c.what;
    EXPECT_FALSE(g.form.terminationRequested()) << c.what;
    EXPECT_EQ(g.drive.exists(kData + "\\_quorvelin"), c.answer) << c.what;
  }
}

TEST_F(LocalMySql, WithoutADataFolderOneLineIsWrittenAndTheRunGoesOn) {
  registerService(f.drive, {"MySQL", 4});
  EXPECT_TRUE(phaseLocalMySql(f.run));
  EXPECT_EQ(logEntries(f), (std::vector<std::string>{
                               "Confere se serviço do MySQL existe e está rodando localmente",
                               "renomeia bancos iniciados como \"quorvelin\" no diretório data do MySQL",
                               "Não foi encontrado diretório data para renomear os bancos",
                           }));
}

TEST_F(LocalMySql, AStoppedServiceAndItsDatabasesAreLeftAlone) {
  registerService(f.drive, {"MySQL57", 1});
  fs::create_directories(f.drive.host(kData + "\\quorvelin"));
  EXPECT_TRUE(phaseLocalMySql(f.run));
  EXPECT_EQ(logEntries(f), std::vector<std::string>{"Confere se serviço do MySQL existe e está rodando localmente"});
  EXPECT_TRUE(f.drive.exists(kData + "\\quorvelin"));
  EXPECT_TRUE(pausesOf(f).empty());
}

// ---- Monitor services ----------------------------------------------------

struct MonitorServices : ::testing::Test {
  // The module's own log of the row, where its stop is written.
  static std::string moduleLog(const MonitorServiceRow& row) {
    if (row.serviceName == "MonQuorvelinSVC") return "C:\\Quorvelin\\logs\\monitor\\LogMonitorDH10122026.txt";
    if (row.serviceName == "QuorvelinIFood") return "C:\\Quorvelin\\logs\\ifood\\LogIFood_10122026.txt";
    return "C:\\Quorvelin\\logs\\orbenta\\LogOrbenta_10122026.txt";
  }
};

TEST_F(MonitorServices, ARunningServiceIsStoppedUninstalledByItsExecutableWhichIsThenDeleted) {
  for (const MonitorServiceRow& row : monitorServices()) {
    test::LauncherFixture f;
    const std::string name(row.serviceName), exe = "C:\\Quorvelin\\" + std::string(row.executable);
    registerService(f.drive, {name, 4});
    test::placeServiceExecutable(f, row.executable, name);
    // The uninstaller runs on its own: the run's wait lasts until it is done.
    f.clock.onYield = [&] {
      if (f.form.state().status == "Desinstalando Serviço")
        test::waitUntil([&] { return !serviceRegistered(f.drive, name); }, 5s);
    };
    bool waitCursorWhileWaiting = false;
    f.view.onStatus = [&](const std::string& status) {
      if (status == "Verificando Serviço") waitCursorWhileWaiting = f.form.state().waitCursor;
    };

    EXPECT_TRUE(RetireMonitorService(f.run, row)) << name;

    EXPECT_FALSE(serviceRegistered(f.drive, name)) << name;
    EXPECT_FALSE(f.drive.exists(exe)) << name;
    EXPECT_EQ(f.drive.read("C:\\Quorvelin\\desinstalado.txt"), "/uninstall /silent\n") << name;
    // The stop went through the row's own module, which wrote its log.
    EXPECT_NE(f.drive.read(moduleLog(row)).find("Parar o Servico"), std::string::npos) << name;
    EXPECT_EQ(f.view.statuses, (std::vector<std::string>{std::string(row.firstStatus), "Verificando Serviço",
                                                         "Parando Serviço", "Desinstalando Serviço",
                                                         "Finalizando Desinstalação", "Iniciando..."}))
        << name;
    EXPECT_EQ(logEntries(f),
              (std::vector<std::string>{std::string(row.checkText), std::string(row.stopText), std::string(row.waitText),
                                        std::string(row.uninstallText), std::string(row.recheckText)}))
        << name;
    EXPECT_TRUE(waitCursorWhileWaiting) << name;
    EXPECT_FALSE(f.form.state().waitCursor) << name;
    EXPECT_EQ(pausesOf(f), (std::vector<long long>{1000, 1000})) << name;
    EXPECT_FALSE(f.form.terminationRequested()) << name;
  }
}

TEST_F(MonitorServices, AnExecutableWithoutItsServiceIsDeletedWithoutStatusTextsOrUninstaller) {
  test::LauncherFixture f;
  test::placeServiceExecutable(f, "QuorvelinSVC.exe", "");
  EXPECT_TRUE(RetireMonitorService(f.run, monitorServices()[0]));
  EXPECT_FALSE(f.drive.exists("C:\\Quorvelin\\QuorvelinSVC.exe"));
  EXPECT_FALSE(f.drive.exists("C:\\Quorvelin\\desinstalado.txt"));
  EXPECT_TRUE(f.view.statuses.empty());
  EXPECT_EQ(logEntries(f), std::vector<std::string>{"Confere se QuorvelinSVC.exe existe"});
}

TEST_F(MonitorServices, ARegisteredServiceWithoutItsExecutableIsLeftAlone) {
  test::LauncherFixture f;
  registerService(f.drive, {"QuorvelinIFood", 4});
  EXPECT_TRUE(RetireMonitorService(f.run, monitorServices()[1]));
  EXPECT_EQ(serviceState(f.drive, "QuorvelinIFood"), 4);
  EXPECT_TRUE(f.view.statuses.empty());
  EXPECT_EQ(logEntries(f), std::vector<std::string>{"Confere se ZareverEZidiZIR.exe existe"});
}

TEST_F(MonitorServices, AServiceThatDoesNotStopOrIsNotRemovedEndsTheRunAtTheBound) {
  struct Case {
    const char* what;
    test::SimulatedService service;
    std::string error;
    size_t pauses;
  } cases[] = {
      {"it refuses the stop", {"MonQuorvelinSVC", 4, true},
       "O serviço \"MonQuorvelinSVC\" não parou dentro de 2 minutos.", 120},
      {"its uninstaller leaves it registered", {"MonQuorvelinSVC", 4},
       "O serviço \"MonQuorvelinSVC\" não foi removido dentro de 2 minutos.", 121},
  };
  const MonitorServiceRow& row = monitorServices()[0];
  for (const auto& c : cases) {
    test::LauncherFixture f;
    registerService(f.drive, c.service);
    test::placeServiceExecutable(f, row.executable, ""); // an uninstaller that removes nothing

    EXPECT_FALSE(RetireMonitorService(f.run, row)) << c.what;

    const auto log = logEntries(f);
    ASSERT_GE(log.size(), 2u) << c.what;
    EXPECT_EQ(log[log.size() - 2], "Falha ao tentar parar o serviço do Monitor. Motivo: " + c.error) << c.what;
    EXPECT_EQ(log.back(), "Encerra a aplicação") << c.what;
    ASSERT_EQ(f.ui.shown.size(), 1u) << c.what;
    EXPECT_EQ(f.ui.shown[0].text,
              "Não foi possível parar o serviço de monitoramento Quorvelin.\r\n\r\nErro informado: \r\n" + c.error)
        << c.what;
    EXPECT_EQ(f.ui.shown[0].caption, "Atenção") << c.what;
    EXPECT_TRUE(f.form.terminationRequested()) << c.what;
    EXPECT_TRUE(f.form.state().waitCursor) << c.what; // the wait cursor stays
    EXPECT_TRUE(f.drive.exists("C:\\Quorvelin\\QuorvelinSVC.exe")) << c.what;
    EXPECT_EQ(pausesOf(f).size(), c.pauses) << c.what;
  }
}

#endif // !_WIN32

TEST(MonitorServicesEveryTarget, AnExecutableThatCannotBeDeletedEndsTheRunBeforeTheNextRow) {
  test::LauncherFixture f;
  f.drive.write("C:\\Quorvelin\\QuorvelinSVC.exe", test::buildPe({}).bytes);
  test::UndeletableFile held(f.drive.host("C:\\Quorvelin\\QuorvelinSVC.exe"));
  if (!held.made()) GTEST_SKIP() << "this file system cannot make a file undeletable";

  EXPECT_FALSE(phaseMonitorServices(f.run));

  EXPECT_EQ(logEntries(f), (std::vector<std::string>{"Confere se QuorvelinSVC.exe existe",
                                                     "Falha ao tentar excluir o serviço do Monitor.",
                                                     "Encerra a aplicação"}));
  ASSERT_EQ(f.ui.shown.size(), 1u);
  EXPECT_EQ(f.ui.shown[0].text, "Não foi possível excluir o serviço de monitoramento Quorvelin.");
  EXPECT_TRUE(f.form.terminationRequested());
}

// ---- Retired programs, the heidi folder, leftover files ------------------

TEST(RetiredPrograms, EachProgramFoundIsDeletedWithItsLineAndThoseThatStayAreSkipped) {
  test::LauncherFixture f;
  const auto programs = retiredPrograms();
  ASSERT_EQ(programs.size(), 14u);
  const std::string first(programs[0]), held(programs[5]), last(programs[13]);
  for (const std::string& name : {first, held, last}) f.drive.write("C:\\Quorvelin\\" + name, "programa antigo");
  test::UndeletableFile keep(f.drive.host("C:\\Quorvelin\\" + held));
  if (!keep.made()) GTEST_SKIP() << "this file system cannot make a file undeletable";

  EXPECT_TRUE(phaseRetiredPrograms(f.run));

  std::vector<std::string> expected;
  for (std::string_view name : programs) {
    expected.push_back("Confere se " + std::string(name) + " existe");
    if (name == first || name == last) expected.push_back(std::string(name) + " excluído");
  }
  expected.push_back("Confere se diretório \"heidi\" existe");
  EXPECT_EQ(logEntries(f), expected);
  EXPECT_FALSE(f.drive.exists("C:\\Quorvelin\\" + first));
  EXPECT_FALSE(f.drive.exists("C:\\Quorvelin\\" + last));
  EXPECT_TRUE(f.drive.exists("C:\\Quorvelin\\" + held));
  // Half a second after each program found, deleted or not.
  EXPECT_EQ(pausesOf(f), (std::vector<long long>{500, 500, 500}));
}

TEST(RetiredPrograms, TheHeidiFolderGoesWithItsContents) {
  test::LauncherFixture f;
  f.drive.write("C:\\Quorvelin\\heidi\\heidisql.exe", "ferramenta");
  f.drive.write("C:\\Quorvelin\\heidi\\plugins\\libmysql.dll", "biblioteca");
  EXPECT_TRUE(phaseRetiredPrograms(f.run));
  EXPECT_FALSE(f.drive.exists("C:\\Quorvelin\\heidi"));
  const auto log = logEntries(f);
  EXPECT_EQ(std::vector<std::string>(log.end() - 2, log.end()),
            (std::vector<std::string>{"Confere se diretório \"heidi\" existe", "diretório \"heidi\" excluído"}));
  EXPECT_EQ(pausesOf(f), (std::vector<long long>{1000, 500}));
}

#ifndef _WIN32
TEST(RetiredPrograms, AHeidiFolderThatStaysHasNoSuccessLine) {
  test::LauncherFixture f;
  f.drive.write("C:\\Quorvelin\\heidi\\heidisql.exe", "ferramenta");
  test::UndeletableFile keep(f.drive.host("C:\\Quorvelin\\heidi\\heidisql.exe"));
  if (!keep.made()) GTEST_SKIP() << "this file system cannot make a file undeletable";
  EXPECT_TRUE(phaseRetiredPrograms(f.run));
  EXPECT_TRUE(f.drive.exists("C:\\Quorvelin\\heidi"));
  EXPECT_EQ(logEntries(f).back(), "Confere se diretório \"heidi\" existe");
  EXPECT_EQ(pausesOf(f), (std::vector<long long>{1000, 500}));
}
#endif

TEST(RetiredPrograms, LeftoversGoWhenTheirFileExistsAndTakeTheirNameBackWhenItIsMissing) {
  test::LauncherFixture f;
  for (const char* name : {"trocandoPorVersaoOnline_Caspelo.exe", "trocandoPorVersaoOnline_x",
                           "TROCANDOPORVERSAOONLINE_Pendrak.exe", "trocandoPorVersaoOnline_preso.dll"})
    f.drive.write(std::string("C:\\Quorvelin\\") + name, "sobra");
  f.drive.write("C:\\Quorvelin\\trocandoPorVersaoOnline_pasta.exe\\dentro.txt", "uma pasta");
  // Caspelo.exe, x and preso.dll are in place; Pendrak.exe is missing: an
  // update was stopped between its two renames.
  f.drive.write("C:\\Quorvelin\\Caspelo.exe", "aplicativo");
  f.drive.write("C:\\Quorvelin\\x", "atual");
  f.drive.write("C:\\Quorvelin\\preso.dll", "atual");
  test::UndeletableFile keep(f.drive.host("C:\\Quorvelin\\trocandoPorVersaoOnline_preso.dll"));
  if (!keep.made()) GTEST_SKIP() << "this file system cannot make a file undeletable";

  EXPECT_TRUE(phaseRetiredPrograms(f.run));

  auto log = logEntries(f);
  log.erase(log.begin(), log.begin() + 15); // the programs' checks and the heidi check
  EXPECT_EQ(sorted(log), (std::vector<std::string>{
                             "Arquivo TROCANDOPORVERSAOONLINE_Pendrak.exe renomeado de volta para Pendrak.exe, que "
                             "estava ausente",
                             "Arquivo desnecessário trocandoPorVersaoOnline_Caspelo.exe excluído",
                             "Arquivo desnecessário trocandoPorVersaoOnline_x excluído",
                         }));
  EXPECT_EQ(folderNames(f.drive, "C:\\Quorvelin"),
            (std::vector<std::string>{"Caspelo.exe", "Pendrak.exe", "preso.dll", "trocandoPorVersaoOnline_pasta.exe",
                                      "trocandoPorVersaoOnline_preso.dll", "x"}));
  EXPECT_EQ(f.drive.read("C:\\Quorvelin\\Pendrak.exe"), "sobra");
  EXPECT_EQ(f.drive.read("C:\\Quorvelin\\x"), "atual");
  EXPECT_TRUE(f.drive.exists("C:\\Quorvelin\\trocandoPorVersaoOnline_pasta.exe\\dentro.txt"));
  // Half a second after each leftover file, deleted, moved back or not; none for the folder.
  EXPECT_EQ(pausesOf(f), (std::vector<long long>{500, 500, 500, 500}));
}

} // namespace
} // namespace vt
