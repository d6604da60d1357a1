// The launcher ended abruptly at each step that changes the install root, as
// a power cut would end it, then started again: the next run completes and
// nothing is lost. The runs are processes of their own (crash_child), on a
// temporary drive, against the real online database (MariaDB on loopback)
// and the real download server, with real zip packages and executables.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>

#include "platform/scoped_handle_win.h"
#else
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#endif

#include "launcher/executable_swap.h"
#include "platform/encoding.h"
#include "platform/files.h"
#include "tests/fixtures/start_recorder.h"
#include "tests/fixtures/zip_writer.h"
#include "tests/launcher/crash_exit.h"
#include "tests/launcher/suite_run_support.h"
#include "test_server_values.h"

namespace vt {
namespace {

using test::OnlineCompany;

const platform::FileVersion kOld{2, 3, 10, 0};
const platform::FileVersion kNew{2, 3, 11, 0};
const std::string kRoot = "C:\\Quorvelin\\";

enum class ChildEnd { Completed, Killed, Failed };

std::ostream& operator<<(std::ostream& out, ChildEnd end) {
  return out << (end == ChildEnd::Completed ? "completed" : end == ChildEnd::Killed ? "killed" : "failed");
}

class Crash : public test::SuiteRun {
protected:
  // One run of the launcher in crash_child, ended at `killAt` (none when empty).
  ChildEnd runChild(const std::string& killAt) {
    const std::string base = server.url(folder_ + "/");
    const std::string database = std::string(VT_TEST_PRIMARY_DB) + VT_SUITE_DATABASE_SUFFIX;
#ifdef _WIN32
    // The child's path as Wine shows the host's root (drive Z:).
    std::string exe = std::string("Z:") + VT_CRASH_CHILD;
    std::replace(exe.begin(), exe.end(), '/', '\\');
    std::wstring command = L"\"" + platform::utf8ToWide(exe) + L"\" " + platform::utf8ToWide(base) + L" " +
                           platform::utf8ToWide(database);
    SetEnvironmentVariableW(L"VANTORIM_KILL_AT", killAt.empty() ? nullptr : platform::utf8ToWide(killAt).c_str());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const BOOL made = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                     &process);
    SetEnvironmentVariableW(L"VANTORIM_KILL_AT", nullptr);
    if (!made) return ChildEnd::Failed;
    WaitForSingleObject(process.hProcess, 120000);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    platform::ScopedHandle(process.hThread).close();
    platform::ScopedHandle(process.hProcess).close();
    if (code == 0) return ChildEnd::Completed;
    return code == test::kKilledExitCode ? ChildEnd::Killed : ChildEnd::Failed;
#else
    const pid_t pid = fork();
    if (pid == 0) {
      if (killAt.empty())
        unsetenv("VANTORIM_KILL_AT");
      else
        setenv("VANTORIM_KILL_AT", killAt.c_str(), 1);
      // The console log is not needed: the run log on the drive holds it.
      freopen("/dev/null", "w", stdout);
      execl(VT_CRASH_CHILD, VT_CRASH_CHILD, base.c_str(), database.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid) return ChildEnd::Failed;
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return ChildEnd::Completed;
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL ? ChildEnd::Killed : ChildEnd::Failed;
#endif
  }

  // The day's run log of every run so far, as text.
  std::string runLog() const {
    const std::string path = kRoot + "logs\\vantorim\\log10122026.txt";
    return f->drive.exists(path) ? platform::fileTextToUtf8(f->drive.read(path)) : std::string();
  }
  bool runLogHas(const std::string& entry) const { return runLog().find(entry) != std::string::npos; }

  bool anyEntryStartsWith(const std::string& prefix) const {
    for (const auto& e : platform::listDirectory(kRoot, "*"))
      if (e.name.rfind(prefix, 0) == 0) return true;
    return false;
  }
  std::vector<std::string> datedReportsBackups() const {
    std::vector<std::string> names;
    for (const auto& e : platform::listDirectory(kRoot, "reports?*"))
      if (e.isDirectory) names.push_back(e.name);
    return names;
  }

  // A registered terminal of company 12 on the suite's old version, which
  // the company's row has moved to the new one: its three applications, the
  // reports folder with a custom layout, and the packages on the server.
  void terminalBehindItsCompany(platform::FileVersion installed = kOld) {
    addCompany({53, "2.03.11.00"});
    addCompany({12, "2.03.11.00", 0, "VAREJO", "nuvem-12.quorvelin:3306/loja12"});
    addModules(12, {7});
    for (const char* app : {"Quorvelin", "Pendrak", "Caspelo"}) {
      install(std::string(app) + ".exe", installed);
      servePackage("upd", app, kNew);
    }
    setBaseApplication("Caspelo");
    registerTerminal({{12, "vendas", "venda", test::isoDateTime("2024-01-10 10:00:00")}});
    f->drive.write(kRoot + "reports\\venda\\padrao.fr3", "padrão antigo");
    f->drive.write(kRoot + "reports\\venda\\personalizados\\vendas.fr3", "vendas do cliente");
    serveReports("upd", {{"venda/padrao.fr3", "padrão novo"}, {"venda/personalizados/vendas.fr3", "de fábrica"}});
    addOnlineLayout({1, 12, "vendas", "venda", "2024-01-10 10:00:00"});
  }

  // The terminal on the new version with nothing left of an interrupted
  // update, its layout kept, its registration whole and the point of sale started.
  void expectUpdatedWithNothingLost(const std::string& what) {
    for (const char* app : {"Quorvelin.exe", "Pendrak.exe", "Caspelo.exe"})
      EXPECT_EQ(installedVersion(app), "V2.03.11.00") << what << ": " << app;
    EXPECT_FALSE(anyEntryStartsWith("trocandoPorVersaoOnline_")) << what;
    EXPECT_TRUE(datedReportsBackups().empty()) << what;
    EXPECT_FALSE(f->drive.exists(installJournalPath(kRoot))) << what;
    EXPECT_EQ(f->drive.read(kRoot + "reports\\venda\\padrao.fr3"), "padrão novo") << what;
    EXPECT_EQ(f->drive.read(kRoot + "reports\\venda\\personalizados\\vendas.fr3"), "vendas do cliente") << what;
    const std::vector<ReportRow> rows = registeredRows();
    ASSERT_EQ(rows.size(), 1u) << what;
    EXPECT_EQ(rows[0], (ReportRow{12, "vendas", "venda", test::isoDateTime("2024-01-10 10:00:00")})) << what;
    EXPECT_EQ(config("CONEXAO", "CaminhoExterno"), "nuvem-12.quorvelin:3306/loja12") << what;
    const std::vector<std::string> starts = started();
    EXPECT_NE(std::find(starts.begin(), starts.end(), "Caspelo.exe"), starts.end()) << what;
  }
};

TEST_F(Crash, AnApplicationUpdateEndedAtAnyStepIsFinishedByTheNextRun) {
  struct Case {
    std::string step;
    std::string nextRunSays;  // a line the next run writes, or empty
  };
  const Case cases[] = {
      {"pacote:Quorvelin:extraido", ""},
      {"diario:gravado", "Conclui a instalação interrompida dos aplicativos baixados"},
      {"troca:Quorvelin:copiado", "Instala Quorvelin.exe a partir de C:\\Quorvelin\\dwd\\Quorvelin.exe"},
      {"troca:Quorvelin:afastado",
       "Arquivo trocandoPorVersaoOnline_Quorvelin.exe renomeado de volta para Quorvelin.exe, que estava ausente"},
      {"troca:Pendrak:no-lugar", "Instala Caspelo.exe a partir de C:\\Quorvelin\\dwd\\Caspelo.exe"},
      {"troca:Caspelo:afastado", "Conclui a troca interrompida da reports"},
      {"reports:afastado", "de uma troca interrompida da reports voltou a se chamar C:\\Quorvelin\\reports"},
      {"reports:no-lugar", "Retorna os personalizados da pasta"},
  };
  for (const Case& c : cases) {
    TearDown();
    SetUp();
    terminalBehindItsCompany();
    ASSERT_EQ(runChild(c.step), ChildEnd::Killed) << c.step;
    ASSERT_EQ(runChild(""), ChildEnd::Completed) << c.step;
    if (!c.nextRunSays.empty()) {
      EXPECT_TRUE(runLogHas(c.nextRunSays)) << c.step << "\n" << runLog();
    }
    expectUpdatedWithNothingLost(c.step);
  }
}

TEST_F(Crash, TheLauncherEndedDuringItsSelfUpdateIsAlwaysThereToStartAndFinishesTheUpdate) {
  for (const std::string step : {"autoatualizacao:extraido", "autoatualizacao:no-lugar"}) {
    TearDown();
    SetUp();
    terminalBehindItsCompany(kNew);  // the suite is current: a run that passes the self-update completes
    publishLauncher("V1.02.03.05");
    test::ZipWriter zip;
    test::ZipEntryOptions runnable;
    runnable.unixMode = 0100755;
    zip.add("Vantorim.exe", test::recordingExecutable({1, 2, 3, 5}), runnable);
    zip.add("notas/leia-me.txt", "nova versão");
    server.put(folder_ + "/Quorvelin/upd/Vantorim.zip", zip.finish());

    ASSERT_EQ(runChild(step), ChildEnd::Killed) << step;
    // Whatever the moment, the terminal's shortcut finds a whole launcher.
    const std::string version = installedVersion("Vantorim.exe");
    EXPECT_TRUE(version == "V1.02.03.04" || version == "V1.02.03.05") << step << ": " << version;

    // Started again until a run goes through (the first may update and restart).
    for (int run = 0; run < 2 && !f->drive.exists(kRoot + "iniciados.txt"); ++run)
      ASSERT_EQ(runChild(""), ChildEnd::Completed) << step;
    if (!runLogHas("Exclusão do TrocaParaAtualizacao_Vantorim.exe")) ASSERT_EQ(runChild(""), ChildEnd::Completed);
    EXPECT_EQ(installedVersion("Vantorim.exe"), "V1.02.03.05") << step;
    EXPECT_FALSE(f->drive.exists(kRoot + "TrocaParaAtualizacao_Vantorim.exe")) << step;
    EXPECT_EQ(f->drive.read(kRoot + "notas\\leia-me.txt"), "nova versão") << step;
    EXPECT_TRUE(runLogHas("Exclusão do TrocaParaAtualizacao_Vantorim.exe")) << step;
    // The restart's start of the new launcher comes first when the update ran again.
    const std::vector<std::string> starts = started(step == "autoatualizacao:extraido" ? 2 : 1);
    EXPECT_NE(std::find(starts.begin(), starts.end(), "Caspelo.exe"), starts.end()) << step;
  }
}

} // namespace
} // namespace vt
