// The simulation of the service manager (see service_control.h): services are
// keys of the registry simulation, their state a value of the key.
#include "platform/service_control.h"

#include <unistd.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/path.h"
#include "platform/process.h"

namespace vt::platform {

namespace fs = std::filesystem;

struct OpenedService::Handles {
  fs::path key;
  uint32_t access = 0;
};

namespace {

constexpr std::string_view kServicesKey = "C:\\.vantorim\\registry\\HKLM\\SYSTEM\\CurrentControlSet\\Services\\";

bool sameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

// A key name the manager would take: not empty, no path separators.
bool validServiceName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." && name.find_first_of("\\/") == std::string_view::npos;
}

bool hasValue(const fs::path& key, const char* value) {
  std::error_code ec;
  return fs::is_regular_file(key / value, ec);
}

std::optional<int> readState(const fs::path& key) {
  std::error_code ec;
  if (!fs::exists(key / "State", ec)) return service_state::kStopped;
  std::ifstream in(key / "State", std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  std::string s = text.str();
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.pop_back();
  if (s.size() != 1 || s[0] < '1' || s[0] > '7') return std::nullopt;
  return s[0] - '0';
}

bool writeState(const fs::path& key, int state) {
  std::ofstream out(key / "State", std::ios::binary | std::ios::trunc);
  out << state;
  return static_cast<bool>(out.flush());
}

} // namespace

OpenedService::OpenedService(std::unique_ptr<Handles> handles) : handles_(std::move(handles)) {}
OpenedService::OpenedService(OpenedService&&) noexcept = default;
OpenedService& OpenedService::operator=(OpenedService&&) noexcept = default;
OpenedService::~OpenedService() = default;

std::optional<OpenedService> OpenedService::open(std::string_view computer, std::string_view service,
                                                 uint32_t access) {
  std::string_view machine = computer;
  while (machine.starts_with("\\")) machine.remove_prefix(1);
  if (!machine.empty() && !sameText(machine, computerName())) return std::nullopt;
  if (!validServiceName(service)) return std::nullopt;
  fs::path key = toHost(std::string(kServicesKey) + std::string(service));
  std::error_code ec;
  if (!fs::is_directory(key, ec)) return std::nullopt;
  return OpenedService(std::make_unique<Handles>(Handles{key, access}));
}

std::optional<ServiceStatus> OpenedService::queryStatus() const {
  if (!(handles_->access & service_access::kQueryStatus)) return std::nullopt;
  std::optional<int> state = readState(handles_->key);
  if (!state) return std::nullopt;
  return ServiceStatus{*state, 0, 0};
}

bool OpenedService::stop(ServiceStatus& status) {
  status = ServiceStatus{};
  if (!(handles_->access & service_access::kStop)) return false;
  std::optional<int> state = readState(handles_->key);
  if (!state) return false;
  status.currentState = *state;
  if (*state == service_state::kStopped || hasValue(handles_->key, "StopRefused")) return false;
  if (!writeState(handles_->key, service_state::kStopped)) return false;
  status.currentState = service_state::kStopped;
  return true;
}

bool OpenedService::start() {
  if (!(handles_->access & service_access::kStart)) return false;
  std::optional<int> state = readState(handles_->key);
  if (!state || *state != service_state::kStopped || hasValue(handles_->key, "StartRefused")) return false;
  return writeState(handles_->key, service_state::kRunning);
}

bool registryKeyOpens(std::string_view keyPath, uint32_t /*accessMask*/) {
  std::string_view k = keyPath;
  while (k.starts_with("\\")) k.remove_prefix(1);
  fs::path key = toHost("C:\\.vantorim\\registry\\HKLM\\" + std::string(k));
  std::error_code ec;
  if (!fs::is_directory(key, ec)) return false;
  // The simulation grants read and write access as the file system does.
  return ::access(key.c_str(), R_OK | W_OK | X_OK) == 0;
}

} // namespace vt::platform
