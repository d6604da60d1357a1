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
  std::error_code ec;
  if (ownsInstallRoot_) fs::remove_all(platform::toHost("C:\\Quorvelin"), ec);
#ifdef _WIN32
  fs::remove_all(hostRoot_, ec);
#else
  fs::remove_all(hostRoot_, ec);
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
  fs::remove_all(platform::toHost(root), ec);
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
