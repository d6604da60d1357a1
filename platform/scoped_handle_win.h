#pragma once
// A Win32 kernel object handle (file, process, thread, token, snapshot,
// mutex) closed with CloseHandle when it goes out of scope, on every path.
// Windows only: included by the *_win.cpp files.
#include <windows.h>

#include <utility>

namespace vt::platform {

class ScopedHandle {
public:
  ScopedHandle() = default;
  // Takes ownership; a null handle and INVALID_HANDLE_VALUE hold nothing.
  explicit ScopedHandle(HANDLE handle) : handle_(handle) {}
  ~ScopedHandle() { close(); }
  ScopedHandle(ScopedHandle&& other) noexcept : handle_(other.release()) {}
  ScopedHandle& operator=(ScopedHandle&& other) noexcept {
    if (this != &other) {
      close();
      handle_ = other.release();
    }
    return *this;
  }
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;

  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
  explicit operator bool() const { return valid(); }
  // Where a function hands back a new handle through a pointer.
  HANDLE* receive() {
    close();
    return &handle_;
  }
  // Gives the handle up without closing it.
  HANDLE release() { return std::exchange(handle_, nullptr); }
  // Closes now; false when CloseHandle failed (GetLastError says why). True
  // when nothing was held.
  bool close() {
    if (!valid()) {
      handle_ = nullptr;
      return true;
    }
    return CloseHandle(std::exchange(handle_, nullptr)) != 0;
  }

private:
  HANDLE handle_ = nullptr;
};

} // namespace vt::platform
