#include "tests/support/client_library.h"

#include "platform/path.h"
#include "platform/self.h"

namespace vt::test {
namespace fs = std::filesystem;

fs::path testProgramFolder() {
#ifdef _WIN32
  return platform::toHost(platform::currentExecutablePath()).parent_path();
#else
  // Not through the mapped drive: a test's drive C: does not hold the program.
  return fs::read_symlink("/proc/self/exe").parent_path();
#endif
}

fs::path clientLibraryFile() {
#ifdef _WIN32
  return testProgramFolder() / "libmySQL.dll";
#else
  return VT_MARIADB_CLIENT_LIBRARY;
#endif
}

void placeClientLibrary(const std::string& windowsPath) {
  const fs::path target = platform::toHost(windowsPath);
  fs::create_directories(target.parent_path());
#ifdef _WIN32
  fs::copy_file(clientLibraryFile(), target, fs::copy_options::overwrite_existing);
#else
  fs::create_symlink(clientLibraryFile(), target);
#endif
}

} // namespace vt::test
