#include "tests/launcher/launcher_fixture.h"

namespace vt::test {

std::string mariadbClientLibrary() {
#ifdef _WIN32
  return "C:\\Quorvelin\\libmySQL.dll";
#else
  return VT_MARIADB_CLIENT_LIBRARY;
#endif
}

LauncherFixture::LauncherFixture(std::string exePath, std::string serverBase, FixedCredentials creds)
    : credentials(std::move(creds)),
      dmOnline(credentials, mariadbClientLibrary()),
      form(dmUtils, dmOnline, clock, view, LauncherSettings{serverBase, exePath}),
      dbOnline(dmUtils, dmForms, clock, form.launcherFolder(), serverBase) {
  dmUtils.attachForms(dmForms);
  dmForms.attachUtils(dmUtils);
  form.attachDbOnline(dbOnline);
}

} // namespace vt::test
