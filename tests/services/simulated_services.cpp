#include "tests/services/simulated_services.h"

#include <fstream>
#include <sstream>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

namespace vt::test {

namespace fs = std::filesystem;

std::string serviceKey(std::string_view name) {
  return "C:\\.vantorim\\registry\\HKLM\\SYSTEM\\CurrentControlSet\\Services\\" + std::string(name);
}

void registerService(const TempDrive& drive, const SimulatedService& service) {
  const std::string key = serviceKey(service.name);
  fs::create_directories(drive.host(key));
  if (service.state) drive.write(key + "\\State", std::to_string(*service.state));
  if (service.stopRefused) drive.write(key + "\\StopRefused", "1");
  if (service.startRefused) drive.write(key + "\\StartRefused", "1");
}

bool serviceRegistered(const TempDrive& drive, std::string_view name) {
  std::error_code ec;
  return fs::is_directory(drive.host(serviceKey(name)), ec);
}

int serviceState(const TempDrive& drive, std::string_view name) {
  if (!serviceRegistered(drive, name)) return 0;
  const std::string value = serviceKey(name) + "\\State";
  if (!drive.exists(value)) return 1;
  return std::stoi(drive.read(value));
}

bool waitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

#ifdef _WIN32
UndeletableFile::UndeletableFile(fs::path file) : file_(std::move(file)) {
  made_ = SetFileAttributesW(file_.c_str(), FILE_ATTRIBUTE_READONLY) != 0;
}

UndeletableFile::~UndeletableFile() {
  if (made_) SetFileAttributesW(file_.c_str(), FILE_ATTRIBUTE_NORMAL);
}
#else
namespace {
bool setImmutable(const fs::path& file, bool on) {
  int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  int flags = 0;
  bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
  if (ok) {
    flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
  }
  ::close(fd);
  return ok;
}
} // namespace

UndeletableFile::UndeletableFile(fs::path file) : file_(std::move(file)) { made_ = setImmutable(file_, true); }

UndeletableFile::~UndeletableFile() {
  if (made_) setImmutable(file_, false);
}
#endif

} // namespace vt::test
