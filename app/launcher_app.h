#pragma once
// The application: one instance of each module, created in the system's
// order, joined by references. It lives as long as the process.
#include <string>

#include "launcher/launcher_modules.h"
#include "online/zendral_credentials.h"
#include "platform/clock.h"
#include "platform/input_dialog.h"
#include "platform/message_box.h"

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

  TfrmVantorim& form() { return modules_.frmVantorim; }

private:
  platform::SystemClock clock_;
  ZendralCredentials credentials_;
  LauncherModules modules_;

public:
  TdmForms& dmForms = modules_.dmForms;
  VantorimRun& run = modules_.run;
};

} // namespace vt
