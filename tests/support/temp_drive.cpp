#include "tests/support/temp_drive.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "platform/path.h"

namespace vt::test {
namespace fs = std::filesystem;

namespace {
std::string uniqueName() {
  static std::atomic<int> counter{0};
  auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
  std::ostringstream s;
  s << "t" << ticks << "_" << counter++;
  return s.str();
}

// Removes a folder and everything in it. On Windows a DLL the test program
// has loaded (the MySQL client library, which is never unloaded) cannot be
// deleted or overwritten, but it can be moved: such files go to a folder of
// leftovers, so the install root is empty again for the next test.
void removeTree(const fs::path& folder) {
  std::error_code ec;
  fs::remove_all(folder, ec);
#ifdef _WIN32
  if (!ec || !fs::exists(folder)) return;
  const fs::path leftovers = platform::toHost("C:\\vt-tests\\leftovers\\" + uniqueName());
  fs::create_directories(leftovers, ec);
  int n = 0;
  for (auto it = fs::recursive_directory_iterator(folder, ec); !ec && it != fs::recursive_directory_iterator();
       it.increment(ec)) {
    if (!it->is_regular_file(ec)) continue;
    std::error_code moved;
    fs::rename(it->path(), leftovers / (std::to_string(n++) + "-" + it->path().filename().string()), moved);
  }
  fs::remove_all(folder, ec);
#endif
}
} // namespace

TempDrive::TempDrive() {
#ifdef _WIN32
  root_ = "C:\\vt-tests\\" + uniqueName() + "\\";
  hostRoot_ = platform::toHost(root_);
  fs::create_directories(hostRoot_);
#else
  if (const char* prev = std::getenv("VANTORIM_DRIVE_C")) {
    hadPreviousDrive_ = true;
    previousDrive_ = prev;
  }
  fs::path drive = fs::temp_directory_path() / ("vt-drive-" + uniqueName());
  fs::create_directories(drive);
  setenv("VANTORIM_DRIVE_C", drive.c_str(), 1);
  root_ = "C:\\vt-tests\\" + uniqueName() + "\\";
  hostRoot_ = drive / "vt-tests";
  fs::create_directories(platform::toHost(root_));
  hostRoot_ = drive; // removed whole at the end
#endif
}

TempDrive::~TempDrive() {
  if (ownsInstallRoot_) removeTree(platform::toHost("C:\\Quorvelin"));
  removeTree(hostRoot_);
#ifndef _WIN32
  if (hadPreviousDrive_) {
    setenv("VANTORIM_DRIVE_C", previousDrive_.c_str(), 1);
  } else {
    unsetenv("VANTORIM_DRIVE_C");
  }
#endif
}

std::string TempDrive::path(std::string_view relative) const {
  const bool absolute = (relative.size() >= 2 && relative[1] == ':') ||
                        (relative.size() >= 2 && relative[0] == '\\' && relative[1] == '\\');
  return absolute ? std::string(relative) : root_ + std::string(relative);
}

std::string TempDrive::installRoot() {
  const std::string root = "C:\\Quorvelin\\";
  std::error_code ec;
  removeTree(platform::toHost(root));
  fs::create_directories(platform::toHost(root), ec);
  ownsInstallRoot_ = true;
  return root;
}

fs::path TempDrive::host(std::string_view relative) const { return platform::toHost(path(relative)); }

void TempDrive::write(std::string_view relative, std::string_view bytes) const {
  fs::path p = host(relative);
  fs::create_directories(p.parent_path());
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  if (!out) throw std::runtime_error("cannot write test file " + p.string());
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string TempDrive::read(std::string_view relative) const {
  std::ifstream in(host(relative), std::ios::binary);
  if (!in) throw std::runtime_error("cannot read test file " + std::string(relative));
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

bool TempDrive::exists(std::string_view relative) const {
  std::error_code ec;
  return fs::exists(host(relative), ec);
}

} // namespace vt::test
