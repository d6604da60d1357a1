#include "tests/services/cleanup_support.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/fixtures/pe_builder.h"
#include "tests/services/simulated_services.h"

namespace vt::test {

namespace fs = std::filesystem;

std::vector<std::string> logEntries(const LauncherFixture& f) {
  std::vector<std::string> out;
  for (std::string& line : f.logEntries()) out.push_back(line.starts_with("- ") ? line.substr(2) : std::move(line));
  return out;
}

std::vector<long long> pausesOf(const LauncherFixture& f) {
  std::vector<long long> out;
  for (auto p : f.clock.pauses()) out.push_back(p.count());
  return out;
}

bool programRunning(std::string_view fileName) {
#ifdef _WIN32
  (void)fileName;
  return false;
#else
  std::error_code ec;
  for (fs::directory_iterator it("/proc", ec), end; !ec && it != end; it.increment(ec)) {
    std::ifstream stat(it->path() / "stat");
    std::string line;
    if (!std::getline(stat, line)) continue;
    // "pid (comm) state ..."
    const size_t open = line.find('('), close = line.rfind(')');
    if (open == std::string::npos || close == std::string::npos || close + 2 >= line.size()) continue;
    if (line.substr(open + 1, close - open - 1) == fileName && line[close + 2] != 'Z') return true;
  }
  return false;
#endif
}

#ifndef _WIN32
void placeNetExe(const LauncherFixture& f) {
  fs::create_directories(f.drive.host("C:\\Windows\\System32"));
  fs::copy_file(VT_NET_EXE, f.drive.host("C:\\Windows\\System32\\net.exe"), fs::copy_options::overwrite_existing);
}

void placeServiceExecutable(const LauncherFixture& f, std::string_view fileName, std::string_view removesService) {
  // The DOS header holds a short first line only: it hands over to a script
  // beside the executable (<file>.sh).
  PeOptions pe;
  pe.shellLine = "=x;sh \"$0.sh\" \"$@\";exit";
  const std::string file = "C:\\Quorvelin\\" + std::string(fileName);
  f.drive.write(file, buildPe(pe).bytes);
  fs::permissions(f.drive.host(file), fs::perms::owner_all);
  std::string script = "echo \"$*\" >\"${0%/*}/desinstalado.txt\"\n";
  if (!removesService.empty())
    script += "rm -rf \"$VANTORIM_DRIVE_C/.vantorim/registry/HKLM/SYSTEM/CurrentControlSet/Services/" +
              std::string(removesService) + "\"\n";
  f.drive.write(file + ".sh", script);
}
#endif

} // namespace vt::test
