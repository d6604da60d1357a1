// The service control manager and the registry of Windows.
#include "platform/service_control.h"

#include <windows.h>

#include "platform/encoding.h"

namespace vt::platform {

namespace {

// A handle of the service manager or of a service, closed on every path.
class ScHandle {
public:
  explicit ScHandle(SC_HANDLE handle = nullptr) : handle_(handle) {}
  ScHandle(ScHandle&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }
  ScHandle& operator=(ScHandle&& other) noexcept {
    if (this != &other) {
      reset();
      handle_ = other.handle_;
      other.handle_ = nullptr;
    }
    return *this;
  }
  ScHandle(const ScHandle&) = delete;
  ScHandle& operator=(const ScHandle&) = delete;
  ~ScHandle() { reset(); }
  SC_HANDLE get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

private:
  void reset() {
    if (handle_) CloseServiceHandle(handle_);
    handle_ = nullptr;
  }
  SC_HANDLE handle_;
};

ServiceStatus fromWin(const SERVICE_STATUS& ss) {
  return ServiceStatus{static_cast<int>(ss.dwCurrentState), ss.dwCheckPoint, ss.dwWaitHint};
}

} // namespace

// The service's handle is declared last: it is closed before the manager's.
struct OpenedService::Handles {
  ScHandle manager;
  ScHandle service;
};

OpenedService::OpenedService(std::unique_ptr<Handles> handles) : handles_(std::move(handles)) {}
OpenedService::OpenedService(OpenedService&&) noexcept = default;
OpenedService& OpenedService::operator=(OpenedService&&) noexcept = default;
OpenedService::~OpenedService() = default;

std::optional<OpenedService> OpenedService::open(std::string_view computer, std::string_view service,
                                                 uint32_t access) {
  auto handles = std::make_unique<Handles>();
  const std::wstring machine = utf8ToWide(computer);
  // The computer's manager, default database, connect access only.
  handles->manager = ScHandle(OpenSCManagerW(machine.empty() ? nullptr : machine.c_str(), nullptr, SC_MANAGER_CONNECT));
  if (!handles->manager) return std::nullopt;
  handles->service = ScHandle(OpenServiceW(handles->manager.get(), utf8ToWide(service).c_str(), access));
  if (!handles->service) return std::nullopt;
  return OpenedService(std::move(handles));
}

std::optional<ServiceStatus> OpenedService::queryStatus() const {
  SERVICE_STATUS ss{};
  if (!QueryServiceStatus(handles_->service.get(), &ss)) return std::nullopt;
  return fromWin(ss);
}

bool OpenedService::stop(ServiceStatus& status) {
  SERVICE_STATUS ss{};
  if (ControlService(handles_->service.get(), SERVICE_CONTROL_STOP, &ss)) {
    status = fromWin(ss);
    return true;
  }
  const DWORD error = GetLastError();
  status = ServiceStatus{};
  // For these refusals the manager returns the service's status.
  if (error == ERROR_SERVICE_NOT_ACTIVE || error == ERROR_INVALID_SERVICE_CONTROL ||
      error == ERROR_SERVICE_CANNOT_ACCEPT_CTRL) {
    status = fromWin(ss);
    // Not every manager fills it in: then the service is asked.
    if (status.currentState == 0) {
      if (auto current = queryStatus()) status = *current;
    }
  }
  return false;
}

bool OpenedService::start() { return StartServiceW(handles_->service.get(), 0, nullptr) != FALSE; }

bool registryKeyOpens(std::string_view keyPath, uint32_t accessMask) {
  std::wstring path = utf8ToWide(keyPath);
  while (!path.empty() && path.front() == L'\\') path.erase(0, 1);
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, accessMask, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

} // namespace vt::platform
