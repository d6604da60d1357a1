#pragma once
// The service control manager: one service opened by its key name, its
// status, the stop and start requests; and the service keys of the registry.
//
// Windows: the real manager (OpenSCManagerW, OpenServiceW, QueryServiceStatus,
// ControlService, StartServiceW) and RegOpenKeyExW.
//
// POSIX has no service manager. A small simulation stands in for it, kept in
// the registry simulation of the mapped drive (see process.h):
//   - a service NAME is registered exactly when the key
//     HKLM\SYSTEM\CurrentControlSet\Services\NAME exists, that is the folder
//     <drive C>/.vantorim/registry/HKLM/SYSTEM/CurrentControlSet/Services/NAME;
//   - its state is the key's value "State", a file holding the decimal state
//     1 to 7; no such value means 1 (stopped), any other text makes the status
//     query fail;
//   - a stop request sets the state to 1 unless the key holds a value
//     "StopRefused": then the request is refused and the state stays; a stop
//     request to a stopped service is refused with its status (stopped);
//   - a start request sets the state to 4 (running) unless the key holds a
//     value "StartRefused"; a running service refuses it with its status;
//   - the manager of the local computer opens (by an empty name or the
//     computer's own name); any other computer's does not;
//   - every access asked for is granted, and the service reports no check
//     points and no wait hints: it moves at once.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace vt::platform {

// Service states as the manager reports them.
namespace service_state {
constexpr int kStopped = 1;
constexpr int kStartPending = 2;
constexpr int kStopPending = 3;
constexpr int kRunning = 4;
constexpr int kContinuePending = 5;
constexpr int kPausePending = 6;
constexpr int kPaused = 7;
} // namespace service_state

// Access rights on a service, with the values of the Windows API.
namespace service_access {
constexpr uint32_t kQueryStatus = 0x0004;
constexpr uint32_t kStart = 0x0010;
constexpr uint32_t kStop = 0x0020;
} // namespace service_access

struct ServiceStatus {
  int currentState = 0;
  uint32_t checkPoint = 0;
  uint32_t waitHint = 0; // milliseconds
};

// One service, opened through the manager of a computer with connect access.
// Both handles are closed when the object goes, on every path.
class OpenedService {
public:
  // Nothing when the manager or the service does not open (no access, no such
  // service, another computer).
  static std::optional<OpenedService> open(std::string_view computer, std::string_view service, uint32_t access);

  OpenedService(OpenedService&&) noexcept;
  OpenedService& operator=(OpenedService&&) noexcept;
  ~OpenedService();

  // Nothing when the query fails.
  std::optional<ServiceStatus> queryStatus() const;
  // The stop control. True when the manager accepted it; `status` is then the
  // status the service answered with. A refused request (a service already
  // stopped, one that does not take the control) also fills `status` with the
  // service's status where the manager gives one (state 0 otherwise).
  bool stop(ServiceStatus& status);
  // The start request without arguments; true when the manager accepted it.
  bool start();

  struct Handles;

private:
  explicit OpenedService(std::unique_ptr<Handles> handles);
  std::unique_ptr<Handles> handles_;
};

// True when the local machine's registry key opens, without being created,
// with that access mask (Windows: RegOpenKeyExW under HKEY_LOCAL_MACHINE).
// POSIX: the key's folder exists and the process may read, write and enter it.
bool registryKeyOpens(std::string_view keyPath, uint32_t accessMask);

} // namespace vt::platform
