#include "platform/dynamic_library.h"

#include <dlfcn.h>

#include <utility>

#include "platform/path.h"

namespace vt::platform {

bool DynamicLibrary::load(std::string_view path, std::string& error) {
  unload();
  const std::string host = hostPathText(toHost(path));
  dlerror();  // forget an earlier failure
  handle_ = dlopen(host.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle_) return true;
  const char* reason = dlerror();
  error = reason ? reason : host + ": cannot be loaded";
  return false;
}

void* DynamicLibrary::symbol(const char* name) const {
  return handle_ ? dlsym(handle_, name) : nullptr;
}

void DynamicLibrary::unload() {
  if (handle_ && !keep_) dlclose(handle_);
  handle_ = nullptr;
}

} // namespace vt::platform
