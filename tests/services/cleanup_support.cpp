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

#ifndef _WIN32
namespace {

const char* const kNetExe = "C:\\Windows\\System32\\net.exe";
const char* const kNetExeGo = "C:\\Windows\\System32\\held\\go";

// True while a process (zombies aside) has `argument` among its arguments.
bool processWithArgument(const std::string& argument) {
  std::error_code ec;
  for (fs::directory_iterator it("/proc", ec), end; !ec && it != end; it.increment(ec)) {
    std::ifstream cmdline(it->path() / "cmdline", std::ios::binary);
    for (std::string arg; std::getline(cmdline, arg, '\0');)
      if (arg == argument) return true;
  }
  return false;
}

} // namespace

void placeNetExe(const LauncherFixture& f) {
  fs::create_directories(f.drive.host("C:\\Windows\\System32\\held"));
  fs::copy_file(VT_NET_EXE, f.drive.host("C:\\Windows\\System32\\held\\net.exe"),
                fs::copy_options::overwrite_existing);
  // The shell stays until the real program has ended, so the test can tell
  // by its arguments that a net.exe of this drive still runs.
  f.drive.write(kNetExe, "#!/bin/sh\n"
                         "held=\"${0%/*}/held\"; i=0\n"
                         "while [ ! -e \"$held/go\" ] && [ $i -lt 1000 ]; do sleep 0.01; i=$((i+1)); done\n"
                         "rm -f \"$held/go\"\n"
                         "\"$held/net.exe\" \"$@\"\n");
  fs::permissions(f.drive.host(kNetExe), fs::perms::owner_all);
}

void letNetExeRun(const LauncherFixture& f) {
  const std::string script = f.drive.host(kNetExe).string();
  if (!processWithArgument(script)) return;
  f.drive.write(kNetExeGo, "");
  waitUntil([&] { return !processWithArgument(script); }, std::chrono::seconds(5));
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
