#include "fuzz/fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <system_error>

namespace vt::fuzz {

namespace fs = std::filesystem;

Workspace& Workspace::get() {
  static Workspace workspace;
  return workspace;
}

Workspace::Workspace() {
  // Memory-backed when the machine has it: every input writes files.
  fs::path base = fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
  std::string pattern = (base / "vt-fuzz-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot create the fuzz workspace under " + base.string());
  root_ = pattern;
  drive_ = root_ / "drive";
  scratch_ = root_ / "scratch";
  fs::create_directories(drive_);
  fs::create_directories(scratch_);
  ::setenv("VANTORIM_DRIVE_C", drive_.c_str(), 1);
}

Workspace::~Workspace() {
  std::error_code ec;
  fs::remove_all(root_, ec);
}

void Workspace::reset() const {
  for (const fs::path& folder : {drive_, scratch_}) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) fs::remove_all(entry.path(), ec);
  }
}

void Workspace::writeFile(const fs::path& file, std::string_view bytes) {
  fs::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + file.string());
}

void broken(std::string_view promise) {
  std::fprintf(stderr, "\n== broken promise: %.*s\n", static_cast<int>(promise.size()), promise.data());
  std::abort();
}

} // namespace vt::fuzz
