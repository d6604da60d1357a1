#include "tests/launcher/launcher_fixture.h"

#include <filesystem>

#include "tests/support/client_library.h"

namespace vt::test {

LauncherFixture::LauncherFixture(std::string exePath, std::string serverBase, FixedCredentials creds,
                                 bool withClientLibrary)
    : credentials(std::move(creds)),
      // The alternative server is the loopback one with the primary's port:
      // a fixture never reaches out to the build's placeholder host.
      modules(ModuleParts{clock, ui, input, view, credentials, LauncherSettings{serverBase, exePath},
                          AlternativeServer{"alt", "alt", "x", "127.0.0.1"}}) {
  dmForms.attachKeypad(keypad);
  if (withClientLibrary) placeClientLibrary("C:\\Quorvelin\\libmySQL.dll");
}

std::vector<std::string> LauncherFixture::logEntries() const {
  std::vector<std::string> out;
  const std::string& text = form.state().memLog;
  for (size_t at = 0; at < text.size();) {
    const size_t end = text.find("\r\n", at);
    out.push_back(text.substr(at, end - at));
    if (end == std::string::npos) break;
    at = end + 2;
  }
  return out;
}

} // namespace vt::test
