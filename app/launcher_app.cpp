#include "app/launcher_app.h"

namespace vt {
namespace {

std::string folderOf(const std::string& path) {
  size_t cut = path.find_last_of("\\/");
  return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

} // namespace

LauncherApp::LauncherApp(const BuildSettings& build, platform::MessageUi& ui, platform::InputUi& input,
                         WindowView& view, const std::string& exePath)
    : clock_(build.pausesEnabled),
      credentials_(folderOf(exePath) + "Zendral.dll"),
      dmUtils(clock_, ui),
      dmOnline(credentials_, folderOf(exePath) + "libmySQL.dll"),
      dmForms(),
      dmServMonitor(dmUtils, clock_),
      dmAppFoodLog(clock_),
      dmServOrbenta(dmUtils, clock_, dmAppFoodLog),
      dmServIFood(dmUtils, clock_, dmAppFoodLog),
      frmVantorim(dmUtils, dmOnline, clock_, view, LauncherSettings{build.serverBaseAddress, exePath}),
      dmUtilsDbOnline(dmUtils, dmForms, clock_, folderOf(exePath), build.serverBaseAddress),
      run(RunModules{dmUtils, dmOnline, dmForms, frmVantorim, dmUtilsDbOnline, clock_, input, dmServMonitor,
                     dmServIFood, dmServOrbenta}) {
  dmUtils.attachForms(dmForms);
  dmForms.attachUtils(dmUtils);
  frmVantorim.attachDbOnline(dmUtilsDbOnline);
  frmVantorim.attachRun(run);
}

} // namespace vt
