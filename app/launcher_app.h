#pragma once
// The application: one instance of each module, created in the system's
// order, joined by references. It lives as long as the process.
#include <memory>

#include "dialogs/forms.h"
#include "dmutils/dm_utils.h"
#include "launcher/frm_vantorim.h"
#include "online/dm_online.h"
#include "online/zendral_credentials.h"
#include "platform/clock.h"
#include "platform/input_dialog.h"
#include "platform/message_box.h"
#include "launcher/run.h"
#include "services/service_modules.h"
#include "terminal/utils_db_online.h"

namespace vt {

// The exit status of a launcher that found another one running on this
// terminal (on Linux: on this mapped drive) and ended without touching
// anything.
inline constexpr int kAnotherLauncherRunsExitCode = 3;

struct BuildSettings {
  std::string serverBaseAddress;
  bool pausesEnabled = true;
};

class LauncherApp {
public:
  // Binds the credentials library beside the executable: CredentialsError
  // when it is missing, before any module is made.
  LauncherApp(const BuildSettings& build, platform::MessageUi& ui, platform::InputUi& input, WindowView& view,
              const std::string& exePath);

  TfrmVantorim& form() { return frmVantorim; }

private:
  platform::SystemClock clock_;
  ZendralCredentials credentials_;

public:
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
