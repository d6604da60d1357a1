// The three service control modules over the Linux build's simulated service
// manager: existence, state, stop and start with their log entries, the stop
// and start on worker threads with their bound, and the installation.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>

#include <sstream>
#include <string>
#include <vector>

#include "dmutils/dm_utils.h"
#include "platform/clock.h"
#include "platform/os_error.h"
#include "services/service_modules.h"
#include "tests/fixtures/pe_builder.h"
#include "tests/services/simulated_services.h"
#include "tests/support/scripted_ui.h"

namespace vt {
namespace {

using test::registerService;
using test::serviceState;
using test::SimulatedService;

struct Modules : ::testing::Test {
  test::TempDrive drive;
  std::string root = drive.installRoot();
  test::ScriptedMessageUi ui;
  platform::ManualClock clock{{2024, 3, 5, 14, 5, 9, 0, 3}};
  TdmUtils dmUtils{clock, ui};
  TdmServMonitor dmServMonitor{dmUtils, clock};
  TdmAppFoodLog dmAppFoodLog{clock};
  TdmServOrbenta dmServOrbenta{dmUtils, clock, dmAppFoodLog};
  TdmServIFood dmServIFood{dmUtils, clock, dmAppFoodLog};
};

// One module of the family, its log, and the thread field it keeps.
struct Family {
  const char* label;
  ServiceControlModule& (*of)(Modules&);
  const char* logFile;
  bool monitorLog;
  bool (*threadFieldSet)(Modules&);
};

const Family kFamily[] = {
    {"dmServMonitor", [](Modules& m) -> ServiceControlModule& { return m.dmServMonitor; },
     "C:\\Quorvelin\\logs\\monitor\\LogMonitorDH05032024.txt", true,
     [](Modules& m) { return m.dmServMonitor.fthreadServ != nullptr; }},
    {"dmServIFood", [](Modules& m) -> ServiceControlModule& { return m.dmServIFood; },
     "C:\\Quorvelin\\logs\\ifood\\LogIFood_05032024.txt", false,
     [](Modules& m) { return m.dmServIFood.fthreadIFood != nullptr; }},
    {"dmServOrbenta", [](Modules& m) -> ServiceControlModule& { return m.dmServOrbenta; },
     "C:\\Quorvelin\\logs\\orbenta\\LogOrbenta_05032024.txt", false,
     [](Modules& m) { return m.dmServOrbenta.fThreadOrbenta != nullptr; }},
};

// The log's entries without their time columns: "||Parar|Parar o Servico|Realizado|"
// for the monitor log, the description for the food-ordering logs.
std::vector<std::string> entries(const test::TempDrive& drive, const Family& family) {
  std::vector<std::string> out;
  if (!drive.exists(family.logFile)) return out;
  std::istringstream in(drive.read(family.logFile));
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    out.push_back(family.monitorLog ? line.substr(line.find('|')) : line.substr(26 + 20 + 17));
  }
  return out;
}

std::string entry(const Family& family, const std::string& action, const std::string& error = "") {
  const std::string description = action + " o Servico";
  if (family.monitorLog) return "||" + action + "|" + description + "|" + (error.empty() ? "Realizado|" : "Erro|" + error);
  return error.empty() ? description : description + " - Erro: " + error;
}

TEST_F(Modules, AServiceThatIsNotRegisteredIsNeitherKnownNorStoppedNorRunning) {
  for (const Family& family : kFamily) {
    ServiceControlModule& module = family.of(*this);
    EXPECT_FALSE(module.servicoExiste("MonQuorvelinSVC")) << family.label;
    EXPECT_FALSE(module.servicoParado("MonQuorvelinSVC")) << family.label;
    EXPECT_FALSE(module.servicoRodando("MonQuorvelinSVC")) << family.label;
  }
}

TEST_F(Modules, ExistenceAndStateFollowTheServiceManager) {
  struct Case {
    const char* what;
    SimulatedService service;
    bool monitorSeesIt, stopped, running;
  } cases[] = {
      {"no State value", {"SvcA", std::nullopt}, true, true, false},
      {"running", {"SvcB", 4}, true, false, true},
      {"stop pending", {"SvcC", 3}, true, false, false},
      // A state the manager does not report makes the query fail (state 0):
      // the monitor module, which asks the manager, does not know the
      // service; the others find its registry key.
      {"a state outside 1 to 7", {"SvcD", 9}, false, false, false},
  };
  for (const auto& c : cases) {
    registerService(drive, c.service);
    EXPECT_EQ(dmServMonitor.servicoExiste(c.service.name), c.monitorSeesIt) << c.what;
    EXPECT_TRUE(dmServIFood.servicoExiste(c.service.name)) << c.what;
    EXPECT_TRUE(dmServOrbenta.servicoExiste(c.service.name)) << c.what;
    for (const Family& family : kFamily) {
      EXPECT_EQ(family.of(*this).servicoParado(c.service.name), c.stopped) << c.what << " " << family.label;
      EXPECT_EQ(family.of(*this).servicoRodando(c.service.name), c.running) << c.what << " " << family.label;
    }
  }
  // The service name is the key's, in any letter case.
  EXPECT_TRUE(dmServMonitor.servicoRodando("svcb"));
}

TEST_F(Modules, ParaServicoStopsAndLogsEvenWhenTheStateIsNotReached) {
  struct Case {
    const char* what;
    std::optional<SimulatedService> service;
    bool result;
    int stateAfter;
  } cases[] = {
      {"running", SimulatedService{"QuorvelinIFood", 4}, true, 1},
      {"stop pending", SimulatedService{"QuorvelinIFood", 3}, true, 1},
      {"already stopped", SimulatedService{"QuorvelinIFood", 1}, true, 1},
      {"refusing the stop", SimulatedService{"QuorvelinIFood", 4, true}, false, 4},
      {"not registered", std::nullopt, false, 0},
  };
  for (const Family& family : kFamily) {
    for (const auto& c : cases) {
      test::TempDrive scratch; // a fresh drive for each case
      scratch.installRoot();
      if (c.service) registerService(scratch, *c.service);
      EXPECT_EQ(family.of(*this).paraServico("QuorvelinIFood"), c.result) << family.label << ": " << c.what;
      EXPECT_EQ(serviceState(scratch, "QuorvelinIFood"), c.stateAfter) << family.label << ": " << c.what;
      // One entry per call, "Realizado" whenever nothing failed.
      EXPECT_EQ(entries(scratch, family), std::vector<std::string>{entry(family, "Parar")})
          << family.label << ": " << c.what;
    }
  }
}

TEST_F(Modules, IniciaServicoStartsAndAServiceAlreadyRunningEndsRunning) {
  struct Case {
    const char* what;
    SimulatedService service;
    bool result;
    int stateAfter;
  } cases[] = {
      {"stopped", {"SvcStart1", 1}, true, 4},
      {"running already", {"SvcStart2", 4}, true, 4},
      {"refusing the start", {"SvcStart3", 1, false, true}, false, 1},
  };
  for (const auto& c : cases) {
    registerService(drive, c.service);
    EXPECT_EQ(dmServMonitor.iniciaServico(c.service.name), c.result) << c.what;
    EXPECT_EQ(serviceState(drive, c.service.name), c.stateAfter) << c.what;
  }
  EXPECT_FALSE(dmServMonitor.iniciaServico("NaoRegistrado"));
  EXPECT_EQ(entries(drive, kFamily[0]), std::vector<std::string>(4, entry(kFamily[0], "Iniciar")));
}

TEST_F(Modules, TheThreadBasedStopAndStartRunOnTheModulesWorkerAndLogBothEntries) {
  for (const Family& family : kFamily) {
    const std::string name = std::string("Svc_") + family.label;
    registerService(drive, {name, 4});
    ServiceControlModule& module = family.of(*this);
    module.desligaServico(name);
    EXPECT_EQ(serviceState(drive, name), 1) << family.label;
    module.ligaServico(name);
    EXPECT_EQ(serviceState(drive, name), 4) << family.label;
    EXPECT_FALSE(family.threadFieldSet(*this)) << family.label; // emptied once the call ends
    // The worker's entry comes before the caller's.
    EXPECT_EQ(entries(drive, family),
              (std::vector<std::string>{entry(family, "Parar"), entry(family, "Desligar"), entry(family, "Iniciar"),
                                        entry(family, "Ligar")}))
        << family.label;
  }
}

TEST_F(Modules, AThreadBasedStopOfAServiceThatNeverStopsEndsAtTheBoundWithAnError) {
  for (const Family& family : kFamily) {
    const std::string name = std::string("Teimoso_") + family.label;
    registerService(drive, {name, 4, true});
    bool fieldSetWhileWaiting = false;
    clock.onPause = [&](int) { fieldSetWhileWaiting = fieldSetWhileWaiting || family.threadFieldSet(*this); };
    const auto before = clock.totalPaused();
    family.of(*this).desligaServico(name);
    clock.onPause = nullptr;
    const auto waited = clock.totalPaused() - before;
    EXPECT_GE(waited, kServiceWaitBound) << family.label;
    EXPECT_LT(waited, kServiceWaitBound + std::chrono::seconds(1)) << family.label;
    EXPECT_TRUE(fieldSetWhileWaiting) << family.label;
    EXPECT_FALSE(family.threadFieldSet(*this)) << family.label;
    EXPECT_EQ(serviceState(drive, name), 4);
    std::vector<std::string> log = entries(drive, family);
    ASSERT_GE(log.size(), 2u) << family.label;
    // The worker's stop was refused (no error); the caller's wait failed.
    EXPECT_EQ(log[log.size() - 2], entry(family, "Parar")) << family.label;
    EXPECT_EQ(log.back(),
              entry(family, "Desligar", "O serviço \"" + name + "\" não parou dentro de 2 minutos."))
        << family.label;
  }
}

TEST_F(Modules, AMonitorLogThatCannotBeWrittenReachesTheCallerTheFoodLogDoesNot) {
  registerService(drive, {"QuorvelinOrbenta", 4});
  drive.write("C:\\Quorvelin\\logs", "não é uma pasta");
  EXPECT_THROW(dmServMonitor.paraServico("QuorvelinOrbenta"), platform::OsError);
  // On the worker thread too: the thread ends, the caller's entry raises.
  registerService(drive, {"QuorvelinOrbenta", 4});
  EXPECT_THROW(dmServMonitor.desligaServico("QuorvelinOrbenta"), platform::OsError);
  EXPECT_EQ(serviceState(drive, "QuorvelinOrbenta"), 1);
  registerService(drive, {"QuorvelinOrbenta", 4});
  EXPECT_TRUE(dmServOrbenta.paraServico("QuorvelinOrbenta"));
  EXPECT_EQ(serviceState(drive, "QuorvelinOrbenta"), 1);
}

TEST_F(Modules, AProcessWithoutAdministrativeRightsDoesNotSeeTheFoodServices) {
  registerService(drive, {"QuorvelinIFood", 4});
  ASSERT_TRUE(dmServIFood.servicoExiste("QuorvelinIFood"));
  // The same question from a process that may not write the key: an
  // unprivileged user (this suite runs as root), or the key made read-only.
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (geteuid() == 0) {
      if (setgid(65534) != 0 || setuid(65534) != 0) _exit(3);
    } else {
      std::filesystem::permissions(drive.host(test::serviceKey("QuorvelinIFood")),
                                   std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    }
    const int seen = (dmServIFood.servicoExiste("QuorvelinIFood") ? 1 : 0) |
                     (dmServOrbenta.servicoExiste("QuorvelinIFood") ? 2 : 0) |
                     (dmServMonitor.servicoRodando("QuorvelinIFood") ? 4 : 0);
    _exit(seen == 4 ? 0 : 10 + seen);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  // Absent for both food modules; the monitor module still reads its state.
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST_F(Modules, InstalaServicoRunsTheServicesExecutableWithInstallSilent) {
  test::PeOptions pe;
  pe.shellLine = "=x;echo \"$*\">\"${0%/*}/instalado.txt\";exit";
  drive.write("C:\\Quorvelin\\QuorvelinSVC.exe", test::buildPe(pe).bytes);
  std::filesystem::permissions(drive.host("C:\\Quorvelin\\QuorvelinSVC.exe"), std::filesystem::perms::owner_all);
  dmServMonitor.instalaServico("C:\\Quorvelin\\QuorvelinSVC.exe");
  ASSERT_TRUE(test::waitUntil([&] { return drive.exists("C:\\Quorvelin\\instalado.txt"); }));
  ASSERT_TRUE(test::waitUntil([&] { return !drive.read("C:\\Quorvelin\\instalado.txt").empty(); }));
  EXPECT_EQ(drive.read("C:\\Quorvelin\\instalado.txt"), "/install /silent\n");
  EXPECT_FALSE(drive.exists("C:\\Quorvelin\\logs")); // nothing is logged
}

} // namespace
} // namespace vt
#endif
