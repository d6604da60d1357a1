// The self-update phases end to end on a temporary drive: the real online
// database (MariaDB on loopback), the real download server (loopback), a real
// zip package and real executables with version resources.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "launcher/phases/phases.h"
#include "platform/files.h"
#include "platform/instance_lock.h"
#include "dmutils/dm_utils.h"
#include "tests/fixtures/pe_builder.h"
#include "tests/fixtures/start_recorder.h"
#include "tests/fixtures/zip_writer.h"
#include "tests/launcher/launcher_fixture.h"
#include "tests/support/http_test_server.h"
#include "tests/launcher/test_database.h"

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#endif

namespace vt {
namespace {

// A launcher of version 1.2.3.4 in C:\Quorvelin\, its package served from the
// test server's folder of this test (the server base address points there).
struct SelfUpdate : ::testing::Test {
  test::HttpTestServer server;
  std::string folder = test::HttpTestServer::uniqueFolder();
  std::unique_ptr<test::LauncherFixture> f;

  void SetUp() override {
    f.reset();  // one drive at a time
    f = std::make_unique<test::LauncherFixture>("C:\\Quorvelin\\Vantorim.exe", server.url(folder + "/"), test::testDatabase(), true);
    test::PeOptions pe;
    pe.fileVersion = {1, 2, 3, 4};
    f->drive.write("C:\\Quorvelin\\Vantorim.exe", test::buildPe(pe).bytes);
    f->drive.write("C:\\Quorvelin\\dwd\\.keep", "");
  }

  // Sets the published launcher version (no row at all when empty is nullopt).
  void publish(const std::optional<std::string>& version) {
    ASSERT_EQ(f->dmOnline.conectarBancoOnline(), "");
    std::string ret;
    std::string script =
        "create table if not exists tabscoappversoes (CODIGO int primary key, VANTORIM varchar(30));"
        "delete from tabscoappversoes;";
    if (version) script += "insert into tabscoappversoes values (1, '" + *version + "');";
    ASSERT_TRUE(f->dmOnline.executaScript(script, ret)) << ret;
    f->dmOnline.desconectarBancoOnline();
    f->credentials.calls = 0;
  }

  // The new build: a program that leaves a mark when it starts.
  void servePackage(const std::string& entryName = "Vantorim.exe") {
    test::ZipWriter zip;
    test::ZipEntryOptions runnable;
    runnable.unixMode = 0100755;
    zip.add(entryName, test::recordingExecutable({1, 2, 3, 5}), runnable);
    zip.add("notas/leia-me.txt", "nova versão");
    server.put(folder + "/Quorvelin/upd/Vantorim.zip", zip.finish());
  }

  bool waitForFile(const std::string& path) {
    // Up to 10 s: a program started under Wine takes a while to run.
    for (int i = 0; i < 1000 && !f->drive.exists(path); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return f->drive.exists(path);
  }

  std::vector<std::string> logEntries() const { return f->logEntries(); }
};

TEST_F(SelfUpdate, EqualVersionsFetchNothingAndTheNextPhaseRemovesTheSwapFile) {
  publish("V1.02.03.04");
  f->drive.write("C:\\Quorvelin\\TrocaParaAtualizacao_Vantorim.exe", "antigo");
  // The swap file of an earlier update: this start is the one after it.
  // With equal versions the guard does not matter: no update is due.
  EXPECT_TRUE(phaseSelfUpdate(f->run));
  EXPECT_FALSE(f->dmOnline.connected());
  EXPECT_EQ(f->form.state().pgbLauncher.position, 75);
  EXPECT_TRUE(server.requestsTo("/" + folder + "/Quorvelin/upd/Vantorim.zip").empty());
  EXPECT_TRUE(f->ui.shown.empty());
  EXPECT_EQ(logEntries(), (std::vector<std::string>{
                              "- Conectando ao banco de dados online da Quorvelin para verificar versão do Vantorim",
                              "- Confere se tabela tabscoappversoes no banco online está acessível",
                              "- Compara a versão do Vantorim local com a versão do banco online para atualizar se necessário"}));

  EXPECT_TRUE(phaseSwapFileRemoval(f->run));
  EXPECT_FALSE(f->drive.exists("C:\\Quorvelin\\TrocaParaAtualizacao_Vantorim.exe"));
  EXPECT_EQ(f->clock.pauses().size(), 3u);
  EXPECT_EQ(f->clock.totalPaused().count(), 3000);
  EXPECT_EQ(logEntries().back(), "- Exclusão do TrocaParaAtualizacao_Vantorim.exe");
  EXPECT_EQ(f->form.state().status, "Iniciando...");
  EXPECT_EQ(f->form.state().pgbLauncher.position, 0);
}

TEST_F(SelfUpdate, ADifferentVersionFetchesThePackageMovesTheExecutableAsideAndStartsTheNewOne) {
  publish("V1.02.03.05");
  servePackage();
  const std::string oldBuild = f->drive.read("C:\\Quorvelin\\Vantorim.exe");
  EXPECT_FALSE(phaseSelfUpdate(f->run));
  EXPECT_TRUE(f->form.terminationRequested());
  EXPECT_TRUE(f->form.state().warningVisible);
  EXPECT_EQ(f->drive.read("C:\\Quorvelin\\TrocaParaAtualizacao_Vantorim.exe"), oldBuild);
  EXPECT_EQ(f->drive.read("C:\\Quorvelin\\notas\\leia-me.txt"), "nova versão");
  EXPECT_TRUE(waitForFile("C:\\Quorvelin\\iniciados.txt")) << "the new executable did not start";
  EXPECT_EQ(TdmUtils::GetExeVersion("C:\\Quorvelin\\Vantorim.exe"), "V1.02.03.05");
  EXPECT_TRUE(f->drive.exists("C:\\Quorvelin\\dwd\\Vantorim.zip"));  // kept after the update
  EXPECT_TRUE(f->ui.shown.empty());
  EXPECT_FALSE(f->dmOnline.connected());
  auto log = logEntries();
  const std::vector<std::string> tail(log.end() - 5, log.end());
  // The package is extracted before the running launcher is renamed.
  EXPECT_EQ(tail, (std::vector<std::string>{"- Baixando arquivo C:\\Quorvelin\\dwd\\Vantorim.zip do FTP da Quorvelin",
                                            "- Descompacta o Vantorim baixado",
                                            "- Renomeia o Vantorim para fazer a troca",
                                            "- Encerra o atual Vantorim renomeado e executa o novo baixado",
                                            "- Encerra a aplicação"}));
}

TEST_F(SelfUpdate, AMissingRowOrAnEmptyValueCountsAsAnotherVersion) {
  publish(std::nullopt);
  // No package on the server: the update is attempted and the download fails.
  EXPECT_FALSE(phaseSelfUpdate(f->run));
  ASSERT_EQ(f->ui.shown.size(), 1u);
  EXPECT_EQ(f->ui.shown[0].text.rfind("Erro ao realizar o download do arquivo Vantorim.zip.", 0), 0u);
  // The executable stays where it is; the run ends without its own message.
  EXPECT_TRUE(f->drive.exists("C:\\Quorvelin\\Vantorim.exe"));
  EXPECT_FALSE(f->drive.exists("C:\\Quorvelin\\TrocaParaAtualizacao_Vantorim.exe"));
  EXPECT_TRUE(f->form.terminationRequested());
  EXPECT_EQ(logEntries().back(), "- Encerra a aplicação");
}

TEST_F(SelfUpdate, AnExecutableThatCannotBeMovedAsideEndsTheRun) {
  publish("V9.00.00.00");
  servePackage();
  // The running file is gone (as root, permissions would not stop the move):
  // its version reads empty, the package is fetched, and the move fails.
  std::filesystem::remove(f->drive.host("C:\\Quorvelin\\Vantorim.exe"));
  EXPECT_FALSE(phaseSelfUpdate(f->run));
  ASSERT_EQ(f->ui.shown.size(), 1u);
  EXPECT_EQ(f->ui.shown[0].text, "Não foi possível renomear o Vantorim para troca por uma versão mais atualizada.");
  EXPECT_EQ(f->ui.shown[0].caption, "Atenção");
  EXPECT_TRUE(f->drive.exists("C:\\Quorvelin\\dwd\\Vantorim.zip"));
  EXPECT_FALSE(f->drive.exists("C:\\Quorvelin\\Vantorim.exe"));  // nothing extracted
  auto log = logEntries();
  EXPECT_EQ(log[log.size() - 2], "- Renomeia o Vantorim para fazer a troca");
  EXPECT_TRUE(f->form.terminationRequested());
}

TEST_F(SelfUpdate, APackageThatDoesNotExtractLeavesTheLauncherUnderItsOwnName) {
  struct Case {
    const char* what;
    std::string package;
  };
  test::ZipWriter escaping;
  escaping.add("../fora.txt", "x");
  escaping.add("Vantorim.exe", "novo");
  std::string good;
  {
    test::ZipWriter z;
    z.add("Vantorim.exe", std::string(5000, 'n'));
    good = z.finish();
  }
  std::string corrupt = good;
  corrupt[40] = static_cast<char>(corrupt[40] ^ 0x55);  // inside the deflated data
  test::ZipWriter withoutLauncher;
  withoutLauncher.add("outro/Vantorim.exe", "fora do topo");
  const Case cases[] = {{"corrupt", corrupt},
                        {"escaping", escaping.finish()},
                        {"not a zip", "isto não é um zip"},
                        {"no launcher at its top level", withoutLauncher.finish()}};
  for (const auto& c : cases) {
    SetUp();
    publish("V2.00.00.00");
    server.put(folder + "/Quorvelin/upd/Vantorim.zip", c.package);
    EXPECT_FALSE(phaseSelfUpdate(f->run)) << c.what;
    ASSERT_EQ(f->ui.shown.size(), 1u) << c.what;
    EXPECT_EQ(f->ui.shown[0].text.rfind("Houve problemas ao tentar descompactar o arquivo Vantorim.zip.", 0), 0u);
    EXPECT_NE(f->ui.shown[0].text.find("executando como administrador."), std::string::npos);
    // The terminal's shortcut still finds the old launcher.
    EXPECT_EQ(TdmUtils::GetExeVersion("C:\\Quorvelin\\Vantorim.exe"), "V1.02.03.04") << c.what;
    EXPECT_FALSE(f->drive.exists("C:\\Quorvelin\\TrocaParaAtualizacao_Vantorim.exe")) << c.what;
    EXPECT_FALSE(f->drive.exists("C:\\fora.txt")) << c.what;
    EXPECT_EQ(logEntries().back(), "- Encerra a aplicação") << c.what;
    EXPECT_EQ(logEntries()[logEntries().size() - 2], "- Descompacta o Vantorim baixado") << c.what;
  }
}

TEST_F(SelfUpdate, ABuildThatStillDiffersRightAfterAnUpdateIsNotUpdatedAgain) {
  publish("V7.00.00.00");
  servePackage();
  // The swap file beside the executable: this process was started by the
  // update that just ran, and its version is still not the published one.
  f->drive.write("C:\\Quorvelin\\TrocaParaAtualizacao_Vantorim.exe", "anterior");
  EXPECT_TRUE(phaseSelfUpdate(f->run));
  EXPECT_TRUE(server.requestsTo("/" + folder + "/Quorvelin/upd/Vantorim.zip").empty());
  EXPECT_FALSE(f->form.terminationRequested());
  EXPECT_NE(logEntries().back().find("continua diferente da versão do banco online (7000000)"), std::string::npos);
  EXPECT_TRUE(phaseSwapFileRemoval(f->run));
  EXPECT_FALSE(f->drive.exists("C:\\Quorvelin\\TrocaParaAtualizacao_Vantorim.exe"));
}

TEST_F(SelfUpdate, AFailedConnectionEndsTheRunWithTheReason) {
  f.reset();
  f = std::make_unique<test::LauncherFixture>("C:\\Quorvelin\\Vantorim.exe", server.url(folder + "/"));
  EXPECT_FALSE(phaseSelfUpdate(f->run));
  ASSERT_EQ(f->ui.shown.size(), 1u);
  const std::string prefix = "Não foi possível se conectar ao banco online para consulta da versão do Vantorim. Motivo: ";
  ASSERT_EQ(f->ui.shown[0].text.rfind(prefix, 0), 0u);
  const std::string reason = f->ui.shown[0].text.substr(prefix.size());
  EXPECT_FALSE(reason.empty());
  EXPECT_EQ(logEntries()[1], "- Falha para se conectar no banco online para troca do Vantorim. Motivo: " + reason);
  EXPECT_EQ(logEntries().back(), "- Encerra a aplicação");
  EXPECT_TRUE(f->form.terminationRequested());
}

TEST_F(SelfUpdate, AMissingVersionTableEndsTheRun) {
  ASSERT_EQ(f->dmOnline.conectarBancoOnline(), "");
  std::string ret;
  ASSERT_TRUE(f->dmOnline.executaScript("drop table if exists tabscoappversoes;", ret)) << ret;
  f->dmOnline.desconectarBancoOnline();
  EXPECT_FALSE(phaseSelfUpdate(f->run));
  ASSERT_EQ(f->ui.shown.size(), 1u);
  EXPECT_EQ(f->ui.shown[0].text, "Não foi encontrada tabela disponível para consulta da versão do Vantorim.");
  auto log = logEntries();
  EXPECT_EQ(log[log.size() - 2], "- A tabela tabscoappversoes no banco online não está acessível");
  EXPECT_FALSE(f->dmOnline.connected());
}

#ifndef _WIN32
std::string hostFileBytes(const char* path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// The standard streams of this process pointed elsewhere while it lives (the
// program the run starts inherits them).
struct StandardStreamsTo {
  explicit StandardStreamsTo(const char* path) {
    int target = open(path, O_RDWR);
    for (int fd = 0; fd < 3; ++fd) {
      saved[fd] = dup(fd);
      dup2(target, fd);
    }
    close(target);
  }
  ~StandardStreamsTo() {
    for (int fd = 0; fd < 3; ++fd) {
      dup2(saved[fd], fd);
      close(saved[fd]);
    }
  }
  int saved[3];
};

// The whole program: this process holds the one-launcher lock as the old
// launcher does, and the package brings the real launcher program (with a
// credentials library for the test database). Started by the restart, the
// new build must find the lock free and run.
TEST_F(SelfUpdate, TheOldLauncherLetsItsLockGoSoTheNewBuildItStartsIsNotRefused) {
  platform::InstanceLock lock = platform::InstanceLock::acquire();
  ASSERT_TRUE(lock.held());
  f->run.attachInstanceLock(lock);
  publish("V9.09.09.09");  // the new build differs too: its update guard lets it go on
  test::ZipWriter zip;
  test::ZipEntryOptions runnable;
  runnable.unixMode = 0100755;
  zip.add("Vantorim.exe", hostFileBytes(VT_LAUNCHER_EXE), runnable);
  zip.add("Zendral.dll", hostFileBytes(VT_TEST_ZENDRAL));
  server.put(folder + "/Quorvelin/upd/Vantorim.zip", zip.finish());

  {
    // The new build answers nothing (end of input cancels its keypad) and
    // its console lines go nowhere.
    StandardStreamsTo nothing("/dev/null");
    EXPECT_FALSE(phaseSelfUpdate(f->run));
  }
  EXPECT_EQ(lock.state(), platform::InstanceLock::State::Released);
  ASSERT_TRUE(f->ui.shown.empty()) << f->ui.shown[0].text;

  // The new process's start-up writes the data path (this process never
  // does); a refused one would have written nothing.
  EXPECT_TRUE(waitForFile("C:\\Quorvelin\\Config.ini")) << "the new build did not run";
  // Once it has ended, the lock is free again.
  bool free = false;
  for (int i = 0; i < 600 && !free; ++i) {
    free = platform::InstanceLock::acquire().held();
    if (!free) std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  EXPECT_TRUE(free) << "the new build did not end";
  EXPECT_EQ(f->dmUtils.getFromConfig("CONEXAO", "Caminho dos dados", "C:\\Quorvelin\\Config.ini"), "LocalHost");
}
#endif

} // namespace
} // namespace vt
