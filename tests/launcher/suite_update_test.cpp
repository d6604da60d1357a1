// Whole runs of the launcher on a temporary drive, against the real online
// database (MariaDB on loopback) and the real download server: registration,
// version survey, update check and application update, custom layouts and the
// hand-over to the suite.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "dmutils/dm_utils.h"
#include "launcher/suite_rules.h"
#include "online/dm_online.h"
#include "platform/files.h"
#include "terminal/utils_db_online.h"
#include "terminal/essential_file.h"
#include "tests/fixtures/pe_builder.h"
#include "tests/fixtures/zip_writer.h"
#include "tests/launcher/suite_run_support.h"
#include "test_server_values.h"

namespace vt {
namespace {

using test::isoDateTime;
using test::OnlineCompany;
using test::OnlineLayout;

const platform::FileVersion kOld{2, 3, 10, 0};
const platform::FileVersion kNew{2, 3, 11, 0};

ReportRow companyRow(int handle) { return ReportRow{handle, "", "", std::nullopt}; }
ReportRow layoutRow(int handle, const std::string& file, const std::string& folder, const std::string& changed) {
  return ReportRow{handle, file, folder, isoDateTime(changed)};
}

std::vector<std::string> folderEntries(const test::TempDrive& drive, const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : platform::listDirectory(folder, "*")) names.push_back(e.name);
  (void)drive;
  return names;
}

bool anyEntryStartsWith(const std::string& folder, const std::string& prefix) {
  for (const auto& e : platform::listDirectory(folder, "*"))
    if (e.name.rfind(prefix, 0) == 0) return true;
  return false;
}

class SuiteUpdate : public test::SuiteRun {};

// The typical run: a registered terminal whose company was moved to a new
// version; its three applications are replaced, the reports folder swapped
// with the custom layouts kept, a changed layout fetched, a new one
// registered, and the point-of-sale application started.
TEST_F(SuiteUpdate, TheTypicalRunUpdatesTheSuiteAndHandsOverToThePointOfSale) {
  addCompany({53, "2.03.11.00"});
  addCompany({12, "2.03.11.00", 0, "VAREJO", "nuvem-12.quorvelin:3306/loja12"});
  addModules(12, {7});
  for (const char* app : {"Quorvelin", "Pendrak", "Caspelo"}) {
    install(std::string(app) + ".exe", kOld);
    servePackage("upd", app, kNew);
  }
  setBaseApplication("Caspelo");
  registerTerminal({layoutRow(12, "vendas", "venda", "2024-01-10 10:00:00"),
                    layoutRow(12, "orcamento", "venda", "2024-01-10 10:00:00")});
  const std::string before = bancoOnLine();
  f->drive.write("C:\\Quorvelin\\reports\\venda\\padrao.fr3", "padrão antigo");
  f->drive.write("C:\\Quorvelin\\reports\\venda\\personalizados\\vendas.fr3", "vendas do cliente");
  f->drive.write("C:\\Quorvelin\\reports\\venda\\personalizados\\orcamento.fr3", "orçamento antigo");
  serveReports("upd", {{"venda/padrao.fr3", "padrão novo"},
                       {"venda/personalizados/vendas.fr3", "vendas de fábrica"},
                       {"venda/personalizados/orcamento.fr3", "orçamento de fábrica"}});
  addOnlineLayout({1, 12, "vendas", "venda", "2024-01-10 10:00:00"});
  addOnlineLayout({2, 12, "orcamento", "venda", "2024-06-01 08:30:00"});
  addOnlineLayout({3, 12, "pedido", "venda", "2024-06-02 00:00:00"});
  serveLayout(12, "venda", "orcamento.fr3", "orçamento novo");
  serveLayout(12, "venda", "pedido.fr3", "pedido novo");

  runLauncher();

  EXPECT_TRUE(f->form.terminationRequested());
  EXPECT_TRUE(f->ui.shown.empty()) << f->ui.shown[0].text;
  // The packages came from the current folder, each fetched once, and every
  // executable was swapped through its temporary name.
  for (const char* app : {"Quorvelin", "Pendrak", "Caspelo"}) {
    EXPECT_EQ(getsOf("Quorvelin/upd/" + std::string(app) + ".zip"), 1u) << app;
    EXPECT_EQ(installedVersion(std::string(app) + ".exe"), "V2.03.11.00") << app;
  }
  EXPECT_FALSE(anyEntryStartsWith("C:\\Quorvelin\\", "trocandoPorVersaoOnline_"));
  // The reports folder is the package's, with the custom layouts of the old one.
  EXPECT_EQ(f->drive.read("C:\\Quorvelin\\reports\\venda\\padrao.fr3"), "padrão novo");
  EXPECT_EQ(f->drive.read("C:\\Quorvelin\\reports\\venda\\personalizados\\vendas.fr3"), "vendas do cliente");
  EXPECT_EQ(f->drive.read("C:\\Quorvelin\\reports\\venda\\personalizados\\orcamento.fr3"), "orçamento novo");
  EXPECT_EQ(f->drive.read("C:\\Quorvelin\\reports\\venda\\personalizados\\pedido.fr3"), "pedido novo");
  EXPECT_EQ(folderEntries(f->drive, "C:\\Quorvelin\\reports\\venda\\personalizados\\").size(), 3u);
  EXPECT_FALSE(anyEntryStartsWith("C:\\Quorvelin\\", "reports1") || anyEntryStartsWith("C:\\Quorvelin\\", "reports2"));
  EXPECT_EQ(getsOf("nuvem/reports/12/venda/vendas.fr3"), 0u);
  EXPECT_EQ(getsOf("nuvem/reports/12/venda/orcamento.fr3"), 1u);
  EXPECT_EQ(getsOf("nuvem/reports/12/venda/pedido.fr3"), 1u);
  // The essential file was rewritten with the new dates and the new layout.
  EXPECT_NE(bancoOnLine(), before);
  EXPECT_EQ(registeredRows(), (std::vector<ReportRow>{layoutRow(12, "vendas", "venda", "2024-01-10 10:00:00"),
                                                      layoutRow(12, "orcamento", "venda", "2024-06-01 08:30:00"),
                                                      layoutRow(12, "pedido", "venda", "2024-06-02 00:00:00")}));
  EXPECT_EQ(config("CONEXAO", "CaminhoExterno"), "nuvem-12.quorvelin:3306/loja12");
  // The download folder was emptied and the point-of-sale application started.
  EXPECT_TRUE(f->drive.exists("C:\\Quorvelin\\dwd"));
  EXPECT_TRUE(platform::listDirectory("C:\\Quorvelin\\dwd\\", "*").empty());
  EXPECT_EQ(started(), (std::vector<std::string>{"Caspelo.exe"}));
  EXPECT_FALSE(f->dmOnline.connected());

  EXPECT_EQ(lastLog(3), (std::vector<std::string>{"- Recriando o arquivo essencial para conferência das próximas "
                                                  "execuções do Vantorim",
                                                  "- Processo do Vantorim realizado com sucesso",
                                                  "- Encerra a aplicação"}));
  EXPECT_TRUE(logHas("- Encontrado personalizado \"vendas\" presente no diretório \"venda\", mas sem alterações"));
  EXPECT_TRUE(logHas("- Datas comparativas: arquivo online (01/06/2024 08:30:00) e arquivo local (10/01/2024 10:00:00)."));
  EXPECT_TRUE(logHas("- Download de relatório personalizado \"pedido\" presente no diretório \"venda\" pela primeira vez"));
  EXPECT_TRUE(logHas("- Redundância de download dos arquivos não se fez necessária"));

  // The fixed pauses: 1 s after each of the three packages, 0.5 s for each of
  // the four applications the company does not use, 2 s + 1 s for each
  // replacement, 2 s + 6 s + 6 s around the reports swap, 1 s for the layout swap.
  EXPECT_EQ(f->clock.totalPaused().count(), 3 * 1000 + 4 * 500 + 3 * 3000 + 14000 + 1000);
}

// A terminal whose company and layouts have not changed: nothing is fetched
// and the essential file stays as it was.
TEST_F(SuiteUpdate, ARunWhereNothingChangedFetchesNothingAndLeavesTheRegistrationAlone) {
  addCompany({53, "2.03.10.00"});
  addCompany({12, "2.03.10.00"});
  for (const char* app : {"Quorvelin.exe", "Pendrak.exe"}) install(app, kOld);
  registerTerminal({layoutRow(12, "vendas", "venda", "2024-01-10 10:00:00"), companyRow(15)});
  addCompany({15, "V2.03.10.00"});
  f->drive.write("C:\\Quorvelin\\reports\\venda\\personalizados\\vendas.fr3", "vendas do cliente");
  addOnlineLayout({1, 12, "vendas", "venda", "2024-01-10 10:00:00"});
  const std::string before = bancoOnLine();

  runLauncher();

  EXPECT_TRUE(f->ui.shown.empty());
  EXPECT_EQ(bancoOnLine(), before);
  EXPECT_TRUE(logHas("- Definição sobre recriação do arquivo essencial: será atualizado 0-1 (0) | count dos dados (2)."));
  for (const auto& request : server.requestsUnder(serverPath(""))) ADD_FAILURE() << request.method << " " << request.path;
  EXPECT_FALSE(logHas("- As versões estão diferentes, os aplicativos terão que ser atualizados"));
  EXPECT_EQ(f->drive.read("C:\\Quorvelin\\reports\\venda\\personalizados\\vendas.fr3"), "vendas do cliente");
  EXPECT_EQ(started(), (std::vector<std::string>{"Quorvelin.exe"}));
  EXPECT_EQ(lastLog(2), (std::vector<std::string>{"- Processo do Vantorim realizado com sucesso", "- Encerra a aplicação"}));
  EXPECT_EQ(f->clock.totalPaused().count(), 0);
}

// ---- First-run registration ---------------------------------------------

struct Registration : test::SuiteRun {
  void answerImplanter(const std::string& handle, bool confirm) {
    f->keypad.answers.push_back(test::KeypadAnswer::typed(test::implanterPasswordInCapitals()));
    f->input.answers.push_back(handle);
    f->ui.answers.push_back(confirm);
  }
};

TEST_F(Registration, WithAReportsFolderTheCompanyIsRegisteredWithoutAnUpdate) {
  addCompany({53, "2.03.10.00"});
  addCompany({12, "2.03.10.00", 5, "VAREJO", "nuvem-12:3306/loja", "Comércio Exemplo Ltda", "Loja Exemplo"});
  // Already on the company's release build, so the update check changes nothing either.
  for (const char* app : {"Quorvelin.exe", "Pendrak.exe"}) install(app, {2, 3, 10, 5});
  f->drive.write("C:\\Quorvelin\\reports\\venda\\padrao.fr3", "padrão");
  answerImplanter("12", true);

  runLauncher();

  ASSERT_EQ(f->keypad.shown.size(), 1u);
  EXPECT_EQ(f->keypad.shown[0].tag, 2);
  ASSERT_EQ(f->input.shown.size(), 1u);
  EXPECT_EQ(f->input.shown[0].caption, "Configuração Inicial");
  EXPECT_EQ(f->input.shown[0].prompt, "Digite o handle do cliente que o Vantorim irá trabalhar inicialmente:");
  ASSERT_EQ(f->ui.shown.size(), 1u);
  EXPECT_EQ(f->ui.shown[0].caption, "Informação");
  EXPECT_EQ(f->ui.shown[0].text, "Empresa encontrada!\r\n\r\nHandle: 12\r\nRazão Social: Comércio Exemplo Ltda\r\n"
                                 "Nome Fantasia: Loja Exemplo\r\n\r\nDeseja continuar com essa empresa?");
  // The registration leaves the release number at 0 and updates nothing.
  EXPECT_FALSE(logHas("- irá realizar os downloads baseado na versão \"release\" nº 5"));
  EXPECT_TRUE(server.requestsUnder(serverPath("")).empty());
  EXPECT_TRUE(logHas("- Foi comparada a versão \"release\" mas os aplicativos estão corretos, nada será trocado"));
  EXPECT_TRUE(logHas("- Registrou no arquivo essencial do Vantorim a empresa informada"));
  EXPECT_TRUE(logHas("- Leitura do arquivo para o handle: 12"));
  EXPECT_EQ(registeredRows(), (std::vector<ReportRow>{companyRow(12)}));
  EXPECT_EQ(config("CONEXAO", "CaminhoExterno"), "nuvem-12:3306/loja");
}

TEST_F(Registration, WithoutAReportsFolderTheUpdateTakesTheCompanysReleaseNumber) {
  addCompany({53, "2.03.10.00"});
  addCompany({12, "2.03.10.00", 5});
  f->drive.write("C:\\Quorvelin\\reports\\queue\\leftover.txt", "sem venda");  // incomplete: deleted
  const platform::FileVersion release5{2, 3, 10, 5};
  for (const char* app : {"Quorvelin", "Pendrak"}) servePackage("upd_onlinerelease/05", app, release5);
  serveReports("upd_onlinerelease/05", {{"venda/padrao.fr3", "padrão da release"}});
  answerImplanter("12", true);

  runLauncher();

  EXPECT_TRUE(logHas("- Encontrou a reports mas ela está incompleta, sem a pasta de \"venda\". Será efetuado o download"));
  EXPECT_TRUE(logHas("- irá realizar os downloads baseado na versão \"release\" nº 5"));
  EXPECT_EQ(getsOf("Quorvelin/upd_onlinerelease/05/Quorvelin.zip"), 1u);
  EXPECT_EQ(installedVersion("Pendrak.exe"), "V2.03.10.05");
  EXPECT_EQ(f->drive.read("C:\\Quorvelin\\reports\\venda\\padrao.fr3"), "padrão da release");
  EXPECT_FALSE(f->drive.exists("C:\\Quorvelin\\reports\\queue\\leftover.txt"));
  // The update check then finds the release build in place.
  EXPECT_TRUE(logHas("- Foi comparada a versão \"release\" mas os aplicativos estão corretos, nada será trocado"));
  EXPECT_EQ(registeredRows(), (std::vector<ReportRow>{companyRow(12)}));
  EXPECT_EQ(started(), (std::vector<std::string>{"Quorvelin.exe"}));
  // 6 s after deleting the incomplete reports folder comes first.
  ASSERT_FALSE(f->clock.pauses().empty());
  EXPECT_EQ(f->clock.pauses()[0].count(), 6000);
}

// ---- The failures of the run ----------------------------------------------

struct Failure {
  const char* name;
  std::function<void(test::SuiteRun&)> arrange;
  std::vector<std::string> lastLines; // the log's last entries
  std::string message;                // the one box shown ("" for none)
};

struct RunFailures : test::SuiteRun {
  void registered(int handle = 12) {
    addCompany({53, "2.03.10.00"});
    addCompany({handle, "2.03.10.00"});
    for (const char* app : {"Quorvelin.exe", "Pendrak.exe"}) install(app, kOld);
    registerTerminal({companyRow(handle)});
  }
  void firstRun(const std::string& handle = "12") {
    addCompany({53, "2.03.10.00"});
    addCompany({12, "2.03.10.00"});
    for (const char* app : {"Quorvelin.exe", "Pendrak.exe"}) install(app, kOld);
    f->drive.write("C:\\Quorvelin\\reports\\venda\\padrao.fr3", "padrão");
    f->keypad.answers.push_back(test::KeypadAnswer::typed(test::implanterPasswordInCapitals()));
    f->input.answers.push_back(handle);
    f->ui.answers.push_back(true);
  }
  // From the n-th time the status shows `text` on, the primary server refuses.
  void refuseConnectionsAtStatus(const std::string& text, int n) {
    auto seen = std::make_shared<int>(0);
    f->view.onStatus = [this, text, n, seen](const std::string& status) {
      if (status == text && ++*seen == n) f->credentials.port = "9";
    };
  }
};

TEST_F(RunFailures, EachFailureEndsTheRunWithItsLogLineAndMessage) {
  const std::string contact = "\r\nEntre em contato com o suporte Quorvelin para verificação das versões.";
  const Failure cases[] = {
      {"keypad cancelled",
       [](test::SuiteRun& t) {
         auto& self = static_cast<RunFailures&>(t);
         self.firstRun();
         self.f->keypad.answers.clear();
         self.f->keypad.answers.push_back(test::KeypadAnswer::cancelled());
       },
       {"- O arquivo essencial não existe", "- Encerra a aplicação"},
       ""},
      {"wrong password",
       [](test::SuiteRun& t) {
         auto& self = static_cast<RunFailures&>(t);
         self.firstRun();
         self.f->keypad.answers.clear();
         self.f->keypad.answers.push_back(test::KeypadAnswer::typed(test::implanterPasswordInCapitals() + " "));
       },
       {"- Errou senha desenvolvedor para criar arquivo essencial", "- Encerra a aplicação"},
       "Esse processo só pode ser realizado por um implantador Quorvelin."},
      {"handle cancelled",
       [](test::SuiteRun& t) {
         auto& self = static_cast<RunFailures&>(t);
         self.firstRun();
         self.f->input.answers.clear();
         self.f->input.answers.push_back(std::nullopt);
       },
       {"- Cancelou ao indicar o Handle para criar arquivo essencial", "- Encerra a aplicação"},
       ""},
      {"not an integer", [](test::SuiteRun& t) { static_cast<RunFailures&>(t).firstRun("12a"); },
       {"- Não digitou um handle como inteiro válido para criar arquivo essencial", "- Encerra a aplicação"},
       "O handle precisa ser um número inteiro válido."},
      {"no client table",
       [](test::SuiteRun& t) {
         static_cast<RunFailures&>(t).firstRun();
         t.sql("drop table tabclientes;");
       },
       {"- Confere se tabela tabclientes no banco online está acessível",
        "- A tabela tabclientes no banco online não está acessível", "- Encerra a aplicação"},
       "Não foi encontrada tabela disponível para consulta do cadastro do cliente Quorvelin."},
      {"company not found", [](test::SuiteRun& t) { static_cast<RunFailures&>(t).firstRun(" 99"); },
       {"- Busca na tabela a empresa pelo handle indicado", "- Empresa buscada pelo handle  99 não foi encontrada",
        "- Encerra a aplicação"},
       "Não foi encontrado o cadastro do handle nº  99 na consulta do cadastro do cliente Quorvelin."},
      {"declined",
       [](test::SuiteRun& t) {
         auto& self = static_cast<RunFailures&>(t);
         self.firstRun();
         self.f->ui.answers.clear();
         self.f->ui.answers.push_back(false);
       },
       {"- Pergunta se deseja continuar o Vantorim com a empresa informada",
        "- Cancelou o processo do Vantorim com a empresa informada", "- Encerra a aplicação"},
       ""},
      {"registration: update failed",
       [](test::SuiteRun& t) {
         // No reports folder, so the registration updates, and no package is served.
         static_cast<RunFailures&>(t).firstRun();
         std::filesystem::remove_all(t.f->drive.host("C:\\Quorvelin\\reports"));
       },
       {"- Falha ao tentar realizar a atualização dos arquivos", "- Encerra a aplicação"},
       "Erro ao realizar o download do arquivo Quorvelin.zip.*"},
      {"no version",
       [](test::SuiteRun& t) {
         // The first application found has no version (a later one would differ instead).
         static_cast<RunFailures&>(t).registered();
         std::filesystem::remove(t.f->drive.host("C:\\Quorvelin\\Quorvelin.exe"));
         test::PeOptions pe;
         pe.withResources = false;
         t.f->drive.write("C:\\Quorvelin\\Pendrak.exe", test::buildPe(pe).bytes);
       },
       {"- Confere a versão do arquivo C:\\Quorvelin\\Pendrak.exe",
        "- Não foi encontrada a versão do arquivo C:\\Quorvelin\\Pendrak.exe", "- Encerra a aplicação"},
       "Não foi possível verificar a versão do \"Pendrak.exe\" em \"C:\\Quorvelin\\\"." + contact},
      {"versions differ",
       [](test::SuiteRun& t) {
         static_cast<RunFailures&>(t).registered();
         std::filesystem::remove(t.f->drive.host("C:\\Quorvelin\\Pendrak.exe"));
         static_cast<RunFailures&>(t).install("Caspelo.exe", kNew);
       },
       {"- Confere a versão do arquivo C:\\Quorvelin\\Caspelo.exe",
        "- Identificada que a versão do arquivo C:\\Quorvelin\\Caspelo.exe está diferente dos outros arquivos "
        "verificados",
        "- Encerra a aplicação"},
       "A versão do \"Caspelo.exe\" em \"C:\\Quorvelin\\\" está diferente de outros aplicativos." + contact},
      {"update check: no reports table",
       [](test::SuiteRun& t) {
         static_cast<RunFailures&>(t).registered();
         t.sql("drop table tabscoreportsonline;");
       },
       {"- Confere se tabela tabscoreportsonline no banco online está acessível",
        "- A tabela tabscoreportsonline no banco online não está acessível", "- Encerra a aplicação"},
       "Não foi encontrada tabela disponível para consulta dos relatórios."},
      {"update check: company missing",
       [](test::SuiteRun& t) {
         static_cast<RunFailures&>(t).registered();
         t.registerTerminal({companyRow(12), companyRow(77)});
       },
       {"- Não foi encontrada tabela disponível para consulta da versão online (Handle nº: 77).", "- Encerra a aplicação"},
       "Não foi encontrada tabela disponível para consulta da versão online (Handle nº: 77)."},
      {"update check: company twice",
       [](test::SuiteRun& t) {
         static_cast<RunFailures&>(t).registered();
         t.addCompany({12, "2.03.10.00"});
       },
       {"- Compara a versão dos aplicativos locais com a versão do banco de dados presente nas estatísticas do banco "
        "online",
        "- Houve problemas na consulta da versão (Handle nº: 12). Mais de um registro foi encontrado",
        "- Encerra a aplicação"},
       "Houve problemas na consulta da versão (Handle nº: 12). Entre em contato com o suporte Quorvelin para "
       "verificação das versões."},
      {"update check: update failed",
       [](test::SuiteRun& t) {
         static_cast<RunFailures&>(t).registered();
         t.sql("update tabclientes set SCO_VERSAO = '2.03.11.00';");  // no package on the server
       },
       {"- Falha ao tentar realizar a atualização dos arquivos", "- Encerra a aplicação"},
       "Erro ao realizar o download do arquivo Quorvelin.zip.*"}, // then the reports package's, maybe
      {"hand-over: no connection entry",
       [](test::SuiteRun& t) {
         static_cast<RunFailures&>(t).registered();
         // The company's row disappears after the update check.
         t.f->view.onLog = [&t](const std::string& line) {
           if (line.rfind("- Inicia as comparações dos personalizados", 0) == 0)
             test::runOnSideConnection(t, "delete from tabclientes where HANDLE = 12;");
         };
       },
       {"- Definição sobre recriação do arquivo essencial: será atualizado 0-1 (0) | count dos dados (1).",
        "- Servidor do Banco de Dados não encontrado. ", "- Encerra a aplicação"},
       ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    ASSERT_FALSE(HasFatalFailure()) << "the terminal or the online tables could not be laid out";
    c.arrange(*this);
    runLauncher();
    EXPECT_TRUE(f->form.terminationRequested());
    EXPECT_FALSE(f->dmOnline.connected());
    EXPECT_TRUE(started(0).empty());
    if (!c.lastLines.empty()) {
      EXPECT_EQ(lastLog(c.lastLines.size()), c.lastLines);
    }
    if (c.message.empty()) {
      for (const auto& box : f->ui.shown)
        if (box.caption == "Atenção") ADD_FAILURE() << "unexpected message: " << box.text;
    } else {
      std::vector<std::string> warnings;
      for (const auto& box : f->ui.shown)
        if (box.caption == "Atenção") warnings.push_back(box.text);
      ASSERT_FALSE(warnings.empty());
      if (c.message.back() == '*') {
        EXPECT_EQ(warnings[0].rfind(c.message.substr(0, c.message.size() - 1), 0), 0u) << warnings[0];
      } else {
        EXPECT_EQ(warnings, std::vector<std::string>{c.message});
      }
    }
  }
}

TEST_F(RunFailures, AnEssentialFileThatCannotBeRewrittenEndsTheRunWithoutAMessageOrAStart) {
  registered();
  // Forty new layouts, already on the terminal, are registered: the stored
  // text would be longer than Config.ini gives back, so the write refuses it
  // and the registration stays as it was.
  const std::string before = bancoOnLine();
  for (int i = 1; i <= 40; ++i) {
    const std::string name = "relatorio_personalizado_de_vendas_numero_" + std::to_string(i);
    f->drive.write("C:\\Quorvelin\\reports\\venda\\personalizados\\" + name + ".fr3", "layout");
    addOnlineLayout({i, 12, name, "venda", "2024-03-01 12:00:00"});
  }
  runLauncher();
  const auto tail = lastLog(2);
  ASSERT_EQ(tail.size(), 2u);
  const std::string prefix =
      "- Não foi possível recriar o arquivo essencial para conferência das próximas execuções do Vantorim. ";
  EXPECT_EQ(tail[0].rfind(prefix, 0), 0u) << tail[0];
  EXPECT_GT(tail[0].size(), prefix.size());
  EXPECT_EQ(tail[1], "- Encerra a aplicação");
  EXPECT_TRUE(f->ui.shown.empty());
  EXPECT_EQ(bancoOnLine(), before);
  EXPECT_EQ(config("CONEXAO", "CaminhoExterno"), "");
  EXPECT_TRUE(started(0).empty());
  EXPECT_FALSE(f->dmOnline.connected());
}

TEST_F(RunFailures, OnlineLayoutNamesThatLeaveTheReportFoldersAreRefused) {
  registered();
  const struct {
    std::string file, folder;
  } hostile[] = {{"..", "venda"}, {"x", ".."}, {"a\\b", "venda"}, {"a/b", "venda"}, {"nota", "c:"}, {".", "venda"}};
  int codigo = 0;
  for (const auto& h : hostile) {
    addOnlineLayout({++codigo, 12, h.file, h.folder, "2024-03-01 12:00:00"});
    serveLayout(12, h.folder, h.file + ".fr3", "fora");
  }
  addOnlineLayout({++codigo, 12, "cupom", "venda", "2024-03-01 12:00:00"});
  serveLayout(12, "venda", "cupom.fr3", "cupom");
  f->drive.write("C:\\Quorvelin\\reports\\venda\\personalizados\\.keep", "");
  runLauncher();

  EXPECT_TRUE(f->ui.shown.empty());
  int refusals = 0;
  for (const auto& line : log())
    if (line.rfind("- Relatório personalizado recusado", 0) == 0) ++refusals;
  EXPECT_EQ(refusals, 6);
  for (const auto& h : hostile) {
    bool named = false;
    for (const auto& line : log())
      if (line.rfind("- Relatório personalizado recusado", 0) == 0 &&
          (line.find("\"" + h.file + "\"") != std::string::npos || line.find("\"" + h.folder + "\"") != std::string::npos))
        named = true;
    EXPECT_TRUE(named) << h.file << " | " << h.folder;
  }
  // Only the sound layout was registered and fetched; nothing was written
  // outside the report folders.
  // (a company's group with a report reads back as that report alone)
  EXPECT_EQ(registeredRows(), (std::vector<ReportRow>{layoutRow(12, "cupom", "venda", "2024-03-01 12:00:00")}));
  EXPECT_EQ(f->drive.read("C:\\Quorvelin\\reports\\venda\\personalizados\\cupom.fr3"), "cupom");
  size_t layoutRequests = server.requestsUnder(serverPath("nuvem/")).size();
  EXPECT_EQ(layoutRequests, 2u); // the HEAD and the GET of cupom.fr3
  EXPECT_FALSE(f->drive.exists("C:\\Quorvelin\\reports\\venda\\..fr3"));
  EXPECT_FALSE(f->drive.exists("C:\\Quorvelin\\reports\\x.fr3"));
  EXPECT_FALSE(f->drive.exists("C:\\Quorvelin\\reports\\venda\\personalizados\\a\\b.fr3"));
  EXPECT_EQ(started(), (std::vector<std::string>{"Quorvelin.exe"}));
}

TEST_F(RunFailures, AnUnreadableEssentialFileShowsTheReadsErrorAsBothLogLineAndMessage) {
  registered();
  f->dmUtils.setToConfig("CONFIGURACAO", "BancoOnLine", encipherText("12;vendas|venda|31/02/2024", 3), kConfigPath);
  runLauncher();
  ASSERT_EQ(f->ui.shown.size(), 1u);
  const std::string error = f->ui.shown[0].text;
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(lastLog(3), (std::vector<std::string>{"- O arquivo essencial existe e terá seu conteúdo lido", "- " + error,
                                                  "- Encerra a aplicação"}));
  EXPECT_TRUE(f->keypad.shown.empty());
}

TEST_F(RunFailures, ARegistrationThatReachesNoServerTriesTheAlternativeAndNamesBothReasons) {
  firstRun();
  // The reports folder lacks "venda": its 6-second wait comes before the
  // registration, and from then on the primary server refuses.
  std::filesystem::remove_all(f->drive.host("C:\\Quorvelin\\reports\\venda"));
  f->drive.write("C:\\Quorvelin\\reports\\outro\\x.fr3", "x");
  f->clock.onPause = [this](int) { f->credentials.port = "9"; };
  runLauncher();
  const auto tail = lastLog(4);
  ASSERT_EQ(tail.size(), 4u);
  const std::string firstPrefix = "- Falha para se conectar no banco online. Motivo: ";
  ASSERT_EQ(tail[0].rfind(firstPrefix, 0), 0u) << tail[0];
  EXPECT_EQ(tail[1], "- Realiza tentativa no banco online alternativo");
  const std::string secondPrefix = "- Falha para se conectar no banco online alternativo. Motivo: ";
  ASSERT_EQ(tail[2].rfind(secondPrefix, 0), 0u) << tail[2];
  EXPECT_EQ(tail[3], "- Encerra a aplicação");
  const std::string first = tail[0].substr(firstPrefix.size()), second = tail[2].substr(secondPrefix.size());
  std::vector<std::string> warnings;
  for (const auto& box : f->ui.shown)
    if (box.caption == "Atenção") warnings.push_back(box.text);
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_EQ(warnings[0], "Não foi possível se conectar ao banco online para consulta do cadastro do cliente Quorvelin. "
                         "Motivo: " + first + ". Motivo Alternativo: " + second);
}

TEST_F(RunFailures, TheUpdateChecksConnectionFailureEndsTheRun) {
  registered();
  refuseConnectionsAtStatus("Conectando online", 2); // the first is the self-update's
  runLauncher();
  const auto tail = lastLog(2);
  ASSERT_EQ(tail.size(), 2u);
  EXPECT_EQ(tail[0].rfind("- Falha para se conectar no banco online. Motivo: ", 0), 0u) << tail[0];
  EXPECT_EQ(tail[1], "- Encerra a aplicação");
  ASSERT_EQ(f->ui.shown.size(), 1u);
  EXPECT_EQ(f->ui.shown[0].text, "Não foi possivel se conectar ao servidor.");
}

TEST_F(RunFailures, ARedundancyPassThatCannotFetchEndsTheRunWithTheTwoAttemptsMessage) {
  addCompany({53, "2.03.11.00"});
  addCompany({12, "2.03.11.00"});
  install("Pendrak.exe", kOld);
  registerTerminal({companyRow(12)});
  // The main application's package holds no executable, so it is still
  // missing after the update; then the package disappears from the server.
  servePackage("upd", "Pendrak", kNew);
  test::ZipWriter empty;
  empty.add("leia-me.txt", "sem executável");
  server.put(folder_ + "/Quorvelin/upd/Quorvelin.zip", empty.finish());
  serveReports("upd", {{"venda/padrao.fr3", "padrão"}});
  f->view.onLog = [this](const std::string& line) {
    if (line == "- Inicia a redundância de download dos arquivos\r\n")
      std::filesystem::remove(server.docRoot() / folder_ / "Quorvelin/upd/Quorvelin.zip");
  };
  runLauncher();
  EXPECT_TRUE(logHas("- Aplicativo base configurado como \"Quorvelin\" mas não foi encontrado o aplicativo mesmo depois "
                     "do processo de download. Será realizada a redundância"));
  EXPECT_TRUE(logHas("- baixando em redundância Quorvelin.exe"));
  EXPECT_EQ(lastLog(2), (std::vector<std::string>{"- Falha ao tentar realizar a redundância de download dos arquivos",
                                                  "- Encerra a aplicação"}));
  ASSERT_FALSE(f->ui.shown.empty());
  EXPECT_EQ(f->ui.shown.back().text, "Mesmo após 2 tentativas de download dos aplicativos necessários, não foi possível "
                                     "baixá-los. Contacte o suporte da Quorvelin para averiguação.");
}

// ---- Small rules as tables ------------------------------------------------

TEST(ReleaseTarget, TheVersionsDigitsLoseTheirLastTwoForTheReleaseNumber) {
  const struct {
    const char* sco;
    int release;
    const char* target;
  } cases[] = {
      {"2.03.10.00", 5, "2031005"},  {"2.03.10.00", 6, "2031006"}, {"V2.03.10.99", 12, "2031012"},
      {"7", 12, "12"},               {"", 3, "03"},                {"2.03.10.00", 123, "20310123"},
  };
  for (const auto& c : cases) EXPECT_EQ(releaseTarget(c.sco, c.release), c.target) << c.sco << " " << c.release;
}

TEST(HandleList, ConsecutiveRowsOfACompanyStandOnceAndHandleZeroNever) {
  const struct {
    std::vector<int> handles;
    const char* list;
  } cases[] = {
      {{7, 12, 7}, "7,12,7"}, {{7, 7, 12}, "7,12"}, {{}, "***"}, {{0, 0}, "***"}, {{0, 5}, "5"}, {{12}, "12"},
  };
  for (const auto& c : cases) {
    ReportTable table;
    table.CreateDataSet();
    for (int h : c.handles) table.Append(companyRow(h));
    int walked = 0;
    EXPECT_EQ(buildHandleList(table, [&] { ++walked; }), c.list);
    EXPECT_EQ(walked, static_cast<int>(c.handles.size()));
    if (!c.handles.empty()) {
      EXPECT_EQ(table.Current().HANDLE, c.handles.back());
    }
  }
}

} // namespace
} // namespace vt
