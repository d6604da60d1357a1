#pragma once
// A shared library loaded at run time from a Windows path (a DLL on Windows, a
// shared object on POSIX, where the path is mapped like every other).
#include <string>
#include <string_view>

namespace vt::platform {

class DynamicLibrary {
public:
  DynamicLibrary() = default;
  ~DynamicLibrary();
  DynamicLibrary(DynamicLibrary&& other) noexcept;
  DynamicLibrary& operator=(DynamicLibrary&& other) noexcept;
  DynamicLibrary(const DynamicLibrary&) = delete;
  DynamicLibrary& operator=(const DynamicLibrary&) = delete;

  // Loads the library at `path`; false, with the system's reason in `error`,
  // when it cannot be loaded (missing, not a library, a dependency missing).
  // On Windows the library's own dependencies are looked for beside it first.
  bool load(std::string_view path, std::string& error);
  bool loaded() const { return handle_ != nullptr; }

  // The address of an exported symbol; nullptr when the library has none.
  void* symbol(const char* name) const;

  // The library stays in the process when this object goes (for libraries
  // that keep thread or process state of their own and must not be unloaded).
  void keepLoaded() { keep_ = true; }

private:
  void unload();

  void* handle_ = nullptr;
  bool keep_ = false;
};

} // namespace vt::platform
