#pragma once
// The launcher's modules joined as the application joins them, on a fresh
// install root, a scripted message front end, a manual clock and a recording
// window front end. The online session goes to the server the credentials name.
#include <string>
#include <vector>

#include "launcher/launcher_modules.h"
#include "platform/clock.h"
#include "tests/launcher/recording_view.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/temp_drive.h"

namespace vt::test {

// Fixed answers to the credentials questions, counting them.
struct FixedCredentials final : Credentials {
  FixedCredentials() = default;
  FixedCredentials(const FixedCredentials&) = default;
  std::string name, user, password, server, port;
  int calls = 0;
  std::string nameDB() override { return ++calls, name; }
  std::string userNameDB() override { return ++calls, user; }
  std::string passDB() override { return ++calls, password; }
  std::string serverDB() override { return ++calls, server; }
  std::string portDB() override { return ++calls, port; }
};

// A server that refuses connections (nothing listens on the discard port).
inline FixedCredentials closedServer() {
  FixedCredentials c;
  c.name = "quorvelin";
  c.user = "vantorim";
  c.password = "x";
  c.server = "127.0.0.1";
  c.port = "9";
  return c;
}


struct LauncherFixture {
  // With a credentials value, the install root also gets the MySQL client
  // library as libmySQL.dll (tests/support/client_library.h).
  explicit LauncherFixture(std::string exePath = "C:\\Quorvelin\\Vantorim.exe",
                           std::string serverBase = "http://127.0.0.1:9/", FixedCredentials creds = closedServer(),
                           bool withClientLibrary = false);

  TempDrive drive;
  std::string installRoot = drive.installRoot();
  ScriptedMessageUi ui;
  platform::ManualClock clock;
  RecordingView view;
  FixedCredentials credentials;
  ScriptedKeypad keypad;
  ScriptedInputUi input;
  // The modules as the program joins them.
  LauncherModules modules;
  TdmUtils& dmUtils = modules.dmUtils;
  TdmOnline& dmOnline = modules.dmOnline;
  TdmForms& dmForms = modules.dmForms;
  TfrmVantorim& form = modules.frmVantorim;
  TdmUtilsDbOnline& dbOnline = modules.dmUtilsDbOnline;
  TdmServMonitor& dmServMonitor = modules.dmServMonitor;
  TdmAppFoodLog& dmAppFoodLog = modules.dmAppFoodLog;
  TdmServOrbenta& dmServOrbenta = modules.dmServOrbenta;
  TdmServIFood& dmServIFood = modules.dmServIFood;
  VantorimRun& run = modules.run;

  // The on-screen log's entries, each as shown ("- " + text).
  std::vector<std::string> logEntries() const;
};

} // namespace vt::test
