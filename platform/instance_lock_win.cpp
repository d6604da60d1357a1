#include <windows.h>

#include "platform/instance_lock.h"
#include "platform/scoped_handle_win.h"

namespace vt::platform {
namespace {

constexpr wchar_t kMutexName[] = L"Global\\Quorvelin.Vantorim";

HANDLE asHandle(long long value) { return reinterpret_cast<HANDLE>(static_cast<intptr_t>(value)); }

} // namespace

InstanceLock InstanceLock::acquire() {
  InstanceLock lock;
  ScopedHandle mutex(CreateMutexW(nullptr, FALSE, kMutexName));
  if (!mutex) {
    // A mutex another user's (elevated) launcher made, which this one may
    // not open: it exists, so a launcher holds it.
    lock.state_ = GetLastError() == ERROR_ACCESS_DENIED ? State::HeldElsewhere : State::Unavailable;
    return lock;
  }
  // Ownership decides, not existence: a launcher that has just let the mutex
  // go (a self-update starting its successor) may still hold a handle.
  // An abandoned mutex (its owner ended without letting it go) is ours now.
  const DWORD wait = WaitForSingleObject(mutex.get(), 0);
  if (wait != WAIT_OBJECT_0 && wait != WAIT_ABANDONED) {
    lock.state_ = wait == WAIT_TIMEOUT ? State::HeldElsewhere : State::Unavailable;
    return lock;
  }
  lock.handle_ = static_cast<long long>(reinterpret_cast<intptr_t>(mutex.release()));
  lock.state_ = State::Held;
  return lock;
}

void InstanceLock::release() {
  if (state_ != State::Held) return;
  ScopedHandle mutex(asHandle(handle_));
  ReleaseMutex(mutex.get());
  mutex.close();
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
