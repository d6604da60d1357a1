#pragma once
// The program's modules, created in the system's order and joined by
// references, and the run the window's first activation starts. The program
// makes one set (app/launcher_app.h); the tests make theirs the same way,
// with their own clock, front ends and credentials.
#include <string>

#include "dialogs/forms.h"
#include "dmutils/dm_utils.h"
#include "launcher/frm_vantorim.h"
#include "launcher/run.h"
#include "launcher/settings.h"
#include "online/dm_online.h"
#include "services/service_modules.h"
#include "terminal/utils_db_online.h"

namespace vt {

namespace platform {
class Clock;
class InputUi;
class MessageUi;
} // namespace platform

// What the modules are given from outside.
struct ModuleParts {
  platform::Clock& clock;
  platform::MessageUi& messages; // the message boxes
  platform::InputUi& input;      // the platform's text-input dialog
  WindowView& view;              // the front end that draws the main window
  Credentials& credentials;      // the credentials library's answers
  LauncherSettings settings;
  AlternativeServer alternative = AlternativeServer::fromBuild();
};

class LauncherModules {
public:
  explicit LauncherModules(ModuleParts parts);
  LauncherModules(const LauncherModules&) = delete;
  LauncherModules& operator=(const LauncherModules&) = delete;

  // In the order the program creates them.
  TdmUtils dmUtils;
  TdmOnline dmOnline;
  TdmForms dmForms;
  TdmServMonitor dmServMonitor;
  TdmAppFoodLog dmAppFoodLog;
  TdmServOrbenta dmServOrbenta;
  TdmServIFood dmServIFood;
  TfrmVantorim frmVantorim;
  TdmUtilsDbOnline dmUtilsDbOnline;

  // Not a module: the run that the window's first activation starts.
  VantorimRun run;
};

} // namespace vt
