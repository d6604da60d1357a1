// What a loaded library's handle does alike on every platform; loading,
// symbols and unloading are in dynamic_library_posix.cpp / _win.cpp.
#include "platform/dynamic_library.h"

#include <utility>

namespace vt::platform {

DynamicLibrary::~DynamicLibrary() { unload(); }

DynamicLibrary::DynamicLibrary(DynamicLibrary&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), keep_(other.keep_) {}

DynamicLibrary& DynamicLibrary::operator=(DynamicLibrary&& other) noexcept {
  if (this != &other) {
    unload();
    handle_ = std::exchange(other.handle_, nullptr);
    keep_ = other.keep_;
  }
  return *this;
}

} // namespace vt::platform
