#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "platform/instance_lock.h"
#include "platform/path.h"

namespace vt::platform {
namespace fs = std::filesystem;

InstanceLock InstanceLock::acquire() {
  InstanceLock lock;
  const fs::path folder = toHost("C:\\.vantorim");
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) fs::create_directories(folder, ec);
  // Read access is enough for flock, so a lock file made by another user
  // still serves.
  const fs::path file = folder / "Vantorim.lock";
  int fd = ::open(file.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return lock;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int err = errno;
    ::close(fd);
    lock.state_ = err == EWOULDBLOCK ? State::HeldElsewhere : State::Unavailable;
    return lock;
  }
  lock.handle_ = fd;
  lock.state_ = State::Held;
  return lock;
}

void InstanceLock::release() {
  if (state_ != State::Held) return;
  // Unlocked explicitly: a child forked and not yet gone through exec shares
  // the open file, and closing our descriptor alone would leave it locked.
  ::flock(static_cast<int>(handle_), LOCK_UN);
  ::close(static_cast<int>(handle_));
  handle_ = -1;
  state_ = State::Released;
}

InstanceLock::~InstanceLock() { release(); }

InstanceLock::InstanceLock(InstanceLock&& other) noexcept : state_(other.state_), handle_(other.handle_) {
  other.state_ = State::Unavailable;
  other.handle_ = -1;
}

InstanceLock& InstanceLock::operator=(InstanceLock&& other) noexcept {
  if (this != &other) {
    release();
    state_ = other.state_;
    handle_ = other.handle_;
    other.state_ = State::Unavailable;
    other.handle_ = -1;
  }
  return *this;
}

} // namespace vt::platform
