#include "app/launcher_app.h"

namespace vt {

LauncherApp::LauncherApp(const BuildSettings& build, platform::MessageUi& ui, platform::InputUi& input,
                         WindowView& view, const std::string& exePath)
    : clock_(build.pausesEnabled),
      credentials_(folderOf(exePath) + "Zendral.dll"),
      modules_(ModuleParts{clock_, ui, input, view, credentials_, LauncherSettings{build.serverBaseAddress, exePath}}) {}

} // namespace vt
