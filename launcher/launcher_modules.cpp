#include "launcher/launcher_modules.h"

namespace vt {

LauncherModules::LauncherModules(ModuleParts parts)
    : dmUtils(parts.clock, parts.messages),
      dmOnline(parts.credentials, folderOf(parts.settings.exePath) + "libmySQL.dll", parts.alternative),
      dmForms(),
      dmServMonitor(dmUtils, parts.clock),
      dmAppFoodLog(parts.clock),
      dmServOrbenta(dmUtils, parts.clock, dmAppFoodLog),
      dmServIFood(dmUtils, parts.clock, dmAppFoodLog),
      frmVantorim(dmUtils, dmOnline, parts.clock, parts.view, parts.settings.serverBaseAddress),
      dmUtilsDbOnline(dmUtils, dmForms, parts.clock, folderOf(parts.settings.exePath),
                      parts.settings.serverBaseAddress),
      run(RunModules{dmUtils, dmOnline, dmForms, frmVantorim, dmUtilsDbOnline, parts.clock, parts.input,
                     dmServMonitor, dmServIFood, dmServOrbenta},
          parts.settings) {
  dmUtils.attachForms(dmForms);
  dmForms.attachUtils(dmUtils);
  frmVantorim.attachDbOnline(dmUtilsDbOnline);
  frmVantorim.attachRun(run);
}

} // namespace vt
