// Under Wine, a real service program of our own (test_service.exe, beside
// this suite) registered with Wine's service manager: the modules' state and
// stop over the real manager, the monitor row of the clean-up (the stop
// through the manager, "/uninstall /silent" through ShellExecute, the
// deletion of its executable), and the local MySQL stop through the real
// net.exe.
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>

#include <filesystem>
#include <string>
#include <thread>

#include "launcher/local_cleanup.h"
#include "launcher/phases/phases.h"
#include "platform/self.h"
#include "tests/services/cleanup_support.h"
#include "tests/services/simulated_services.h"

namespace vt {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

fs::path serviceProgram() {
  const std::string self = platform::currentExecutablePath();
  return fs::path(self).parent_path() / "test_service.exe";
}

// A service of Wine's manager, removed again when the test ends.
class RegisteredService {
public:
  RegisteredService(const std::wstring& name, const fs::path& program) : name_(name) {
    manager_ = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    if (!manager_) return;
    // One left by an earlier, interrupted run goes first.
    remove();
    SC_HANDLE service = CreateServiceW(manager_, name.c_str(), name.c_str(), SERVICE_ALL_ACCESS,
                                       SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL,
                                       program.wstring().c_str(), nullptr, nullptr, nullptr, nullptr, nullptr);
    if (service) {
      created_ = true;
      CloseServiceHandle(service);
    }
  }
  ~RegisteredService() {
    remove();
    if (manager_) CloseServiceHandle(manager_);
  }
  bool created() const { return created_; }
  DWORD error() const { return created_ ? 0 : GetLastError(); }

  bool start() {
    SC_HANDLE service = OpenServiceW(manager_, name_.c_str(), SERVICE_START);
    if (!service) return false;
    const bool ok = StartServiceW(service, 0, nullptr) != FALSE;
    CloseServiceHandle(service);
    return ok && test::waitUntil([&] { return state() == SERVICE_RUNNING; }, 20s);
  }
  DWORD state() const {
    SC_HANDLE service = OpenServiceW(manager_, name_.c_str(), SERVICE_QUERY_STATUS);
    if (!service) return 0;
    SERVICE_STATUS status{};
    const DWORD state = QueryServiceStatus(service, &status) ? status.dwCurrentState : 0;
    CloseServiceHandle(service);
    return state;
  }
  bool registered() const {
    SC_HANDLE service = OpenServiceW(manager_, name_.c_str(), SERVICE_QUERY_STATUS);
    if (service) CloseServiceHandle(service);
    return service != nullptr;
  }

private:
  void remove() {
    SC_HANDLE service = OpenServiceW(manager_, name_.c_str(), SERVICE_STOP | SERVICE_QUERY_STATUS | DELETE);
    if (!service) return;
    SERVICE_STATUS status{};
    ControlService(service, SERVICE_CONTROL_STOP, &status);
    test::waitUntil([&] { return QueryServiceStatus(service, &status) && status.dwCurrentState == SERVICE_STOPPED; },
                    10s);
    DeleteService(service);
    CloseServiceHandle(service);
  }

  std::wstring name_;
  SC_HANDLE manager_ = nullptr;
  bool created_ = false;
};

// The run's pauses last a little real time under Wine, so that the service
// manager, the uninstaller and net.exe get to act while the run waits.
void pausesTakeRealTime(test::LauncherFixture& f) {
  f.clock.onPause = [](int) { std::this_thread::sleep_for(100ms); };
}

TEST(WindowsService, TheModulesSeeTheRealServiceStopItAndReportAStoppedOrMissingOne) {
  test::LauncherFixture f;
  RegisteredService service(L"VtServicoTeste", serviceProgram());
  ASSERT_TRUE(service.created()) << "CreateService failed: " << service.error();
  EXPECT_TRUE(f.dmServMonitor.servicoExiste("VtServicoTeste"));
  EXPECT_TRUE(f.dmServIFood.servicoExiste("VtServicoTeste")); // its registry key
  EXPECT_TRUE(f.dmServMonitor.servicoParado("VtServicoTeste"));
  EXPECT_TRUE(f.dmServMonitor.paraServico("VtServicoTeste")); // stopped already
  ASSERT_TRUE(service.start());
  EXPECT_TRUE(f.dmServMonitor.servicoRodando("VtServicoTeste"));
  pausesTakeRealTime(f);
  EXPECT_TRUE(f.dmServOrbenta.paraServico("VtServicoTeste"));
  EXPECT_EQ(service.state(), static_cast<DWORD>(SERVICE_STOPPED));
  EXPECT_FALSE(f.dmServMonitor.paraServico("VtServicoQueNaoExiste"));
  EXPECT_FALSE(f.dmServMonitor.servicoExiste("VtServicoQueNaoExiste"));
  EXPECT_FALSE(f.dmServIFood.servicoExiste("VtServicoQueNaoExiste"));
  // The missing service's stop is still logged as done.
  const std::string log = f.drive.read("C:\\Quorvelin\\logs\\monitor\\LogMonitorDH10122026.txt");
  EXPECT_NE(log.find("||Parar|Parar o Servico|Realizado|\r\n"), std::string::npos) << log;
}

TEST(WindowsService, TheMonitorRowStopsUninstallsAndDeletesTheRealService) {
  test::LauncherFixture f;
  fs::copy_file(serviceProgram(), f.drive.host("C:\\Quorvelin\\QuorvelinSVC.exe"));
  RegisteredService service(L"MonQuorvelinSVC", f.drive.host("C:\\Quorvelin\\QuorvelinSVC.exe"));
  ASSERT_TRUE(service.created()) << "CreateService failed: " << service.error();
  ASSERT_TRUE(service.start()) << "the service manager did not start the service";
  pausesTakeRealTime(f);

  EXPECT_TRUE(RetireMonitorService(f.run, monitorServices()[0]));

  EXPECT_FALSE(service.registered());
  EXPECT_FALSE(f.drive.exists("C:\\Quorvelin\\QuorvelinSVC.exe"));
  EXPECT_TRUE(f.ui.shown.empty());
  EXPECT_EQ(test::logEntries(f), (std::vector<std::string>{
                                     "Confere se QuorvelinSVC.exe existe",
                                     "Confere se serviço do Monitor está ligado e, se estiver, para ele",
                                     "Confirma se o serviço do Monitor ainda está rodando",
                                     "Desinstala o serviço do Monitor por linha de comando",
                                     "Confirma novamente se o serviço do Monitor ainda está rodando",
                                 }));
  EXPECT_EQ(f.view.statuses.back(), "Iniciando...");
}

TEST(WindowsService, TheLocalMySqlStopGoesThroughTheRealNetExe) {
  test::LauncherFixture f;
  RegisteredService service(L"MySQL57", serviceProgram());
  ASSERT_TRUE(service.created()) << "CreateService failed: " << service.error();
  ASSERT_TRUE(service.start()) << "the service manager did not start the service";
  pausesTakeRealTime(f);

  EXPECT_TRUE(phaseLocalMySql(f.run));

  EXPECT_EQ(service.state(), static_cast<DWORD>(SERVICE_STOPPED));
  EXPECT_TRUE(f.ui.shown.empty());
  const auto log = test::logEntries(f);
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log[1], "renomeia bancos iniciados como \"quorvelin\" no diretório data do MySQL57");
}

} // namespace
} // namespace vt
#endif
