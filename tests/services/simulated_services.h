#pragma once
// The Linux build's simulated service manager as a test sets it up and reads
// it back (the keys of the registry simulation, see platform/service_control.h),
// and files a test makes impossible to delete.
#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "tests/support/temp_drive.h"

namespace vt::test {

// "C:\.vantorim\registry\HKLM\SYSTEM\CurrentControlSet\Services\<name>"
std::string serviceKey(std::string_view name);

struct SimulatedService {
  std::string name;
  std::optional<int> state; // none: no "State" value (stopped)
  bool stopRefused = false;
  bool startRefused = false;
};

// Registers the service on the drive (the key, its values).
void registerService(const TempDrive& drive, const SimulatedService& service);
bool serviceRegistered(const TempDrive& drive, std::string_view name);
// The simulated state: the "State" value, 1 without one; 0 when unregistered.
int serviceState(const TempDrive& drive, std::string_view name);

// Polls `done` until it is true or the time is up; true when it became true.
bool waitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::seconds(10));

// A file the file system refuses to delete while the object lives (the
// immutable attribute on Linux, the read-only attribute on Windows). `made()`
// is false when the file system cannot do it here.
class UndeletableFile {
public:
  explicit UndeletableFile(std::filesystem::path file);
  ~UndeletableFile();
  UndeletableFile(const UndeletableFile&) = delete;
  UndeletableFile& operator=(const UndeletableFile&) = delete;
  bool made() const { return made_; }

private:
  std::filesystem::path file_;
  bool made_ = false;
};

} // namespace vt::test
