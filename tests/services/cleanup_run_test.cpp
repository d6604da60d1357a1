// A whole run of the launcher on a temporary drive that carries what an older
// local installation left behind: the run goes through its fifteen phases in
// their order, the clean-up between the swap-file removal and the suite
// update, and still hands over to the suite.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "launcher/local_cleanup.h"
#include "tests/launcher/suite_run_support.h"
#include "tests/services/cleanup_support.h"
#include "tests/services/simulated_services.h"

namespace vt {
namespace {

using namespace std::chrono_literals;

struct CleanupRun : test::SuiteRun {};

TEST_F(CleanupRun, TheRunGoesThroughAllFifteenPhasesInOrder) {
  addCompany({53, "2.03.10.00"});
  addCompany({12, "2.03.10.00"});
  for (const char* app : {"Quorvelin.exe", "Pendrak.exe"}) install(app, {2, 3, 10, 0});
  registerTerminal({ReportRow{12, "", "", std::nullopt}});
  f->drive.write("C:\\Quorvelin\\reports\\venda\\padrao.fr3", "padrão");
  // What earlier runs and installations left.
  f->drive.write("C:\\Quorvelin\\TrocaParaAtualizacao_Vantorim.exe", "launcher anterior");
  f->drive.write("C:\\Quorvelin\\" + std::string(retiredPrograms()[0]), "programa antigo");
  f->drive.write("C:\\Quorvelin\\heidi\\heidisql.exe", "ferramenta");
  f->drive.write("C:\\Quorvelin\\trocandoPorVersaoOnline_Pendrak.exe", "sobra");
#ifndef _WIN32
  // A running local MySQL 5.7 with a suite database, and the monitor service.
  test::placeNetExe(*f);
  test::registerService(f->drive, {"MySQL57", 4});
  std::filesystem::create_directories(
      f->drive.host("C:\\Program Files\\MySQL\\MySQL Server 5.7\\data\\quorvelin"));
  test::registerService(f->drive, {"MonQuorvelinSVC", 4});
  test::placeServiceExecutable(*f, "QuorvelinSVC.exe", "MonQuorvelinSVC");
  f->clock.onYield = [this] {
    test::letNetExeRun(*f);
    if (f->form.state().status == "Desinstalando Serviço")
      test::waitUntil([this] { return !test::serviceRegistered(f->drive, "MonQuorvelinSVC"); }, 5s);
  };
#endif
  // One timeline of the status texts and log entries.
  std::vector<std::string> timeline;
  f->view.onStatus = [&](const std::string& status) { timeline.push_back("status: " + status); };
  f->view.onLog = [&](const std::string& line) { timeline.push_back("log: " + line.substr(2, line.size() - 4)); };

  runLauncher();

  const std::vector<std::string> phases = {
      "status: Iniciando...",                                                                   // 1
      "log: Conectando ao banco de dados online da Quorvelin para verificar versão do Vantorim", // 3
      "status: Atualizando o Vantorim",                                                          // 4
      "log: Exclusão do TrocaParaAtualizacao_Vantorim.exe",
      "log: Confere se serviço do MySQL existe e está rodando localmente", // 5
#ifndef _WIN32
      "log: renomeia bancos iniciados como \"quorvelin\" no diretório data do MySQL57",
      "log: Banco \"quorvelin\" renomeado",
#endif
      "log: Confere se QuorvelinSVC.exe existe", // 6
#ifndef _WIN32
      "status: Desinstalando Monitor Quorvelin",
      "log: Desinstala o serviço do Monitor por linha de comando",
      "status: Finalizando Desinstalação",
#endif
      "log: Confere se ZareverEZidiZIR.exe existe",
      "log: Confere se MonitorOrbentaSVC.exe existe",
      "log: Confere se " + std::string(retiredPrograms()[0]) + " existe", // 7
      "log: " + std::string(retiredPrograms()[0]) + " excluído",
      "log: diretório \"heidi\" excluído",
      "log: Arquivo desnecessário trocandoPorVersaoOnline_Pendrak.exe excluído",
      "log: Confere se o diretório C:\\Quorvelin\\reports\\ existe", // 8
      "log: O arquivo essencial existe e terá seu conteúdo lido",   // 9
      "status: Conferindo empresas",                                // 10
      "status: Versões dos aplicativos",                            // 11
      "status: Conectando online",                                  // 12
      "status: Conferindo aplicativos",                             // 13
      "status: Conferindo personalizados",                          // 14
      "status: Guardando os dados",                                 // 15
      "log: Processo do Vantorim realizado com sucesso",
  };
  // The first entry of the run log is its banner (phase 2), after the first status.
  ASSERT_GE(timeline.size(), 2u);
  EXPECT_EQ(timeline[0], "status: Iniciando...");
  EXPECT_TRUE(timeline[1].starts_with("log: ")) << timeline[1];
  size_t at = 0;
  for (const std::string& marker : phases) {
    auto found = std::find(timeline.begin() + static_cast<long>(at), timeline.end(), marker);
    ASSERT_NE(found, timeline.end()) << "missing, or out of order: " << marker;
    at = static_cast<size_t>(found - timeline.begin()) + 1;
  }
  EXPECT_EQ(lastLog(2), (std::vector<std::string>{"- Processo do Vantorim realizado com sucesso", "- Encerra a aplicação"}));
  EXPECT_TRUE(f->ui.shown.empty());
  EXPECT_EQ(started(), (std::vector<std::string>{"Quorvelin.exe"}));
  EXPECT_FALSE(f->drive.exists("C:\\Quorvelin\\heidi"));
#ifndef _WIN32
  EXPECT_EQ(test::serviceState(f->drive, "MySQL57"), 1);
  EXPECT_FALSE(test::serviceRegistered(f->drive, "MonQuorvelinSVC"));
  EXPECT_FALSE(f->drive.exists("C:\\Quorvelin\\QuorvelinSVC.exe"));
#endif
}

} // namespace
} // namespace vt
