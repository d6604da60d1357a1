#pragma once
// What every fuzz target shares: a private folder mapped as the drive C: of
// the POSIX build (so Windows paths such as C:\Quorvelin\Config.ini land in
// it), a scratch folder beside it for files that must lie off that drive, and
// a stop that names the broken promise when a target's own check fails.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/message_box.h"

namespace vt::fuzz {

class Workspace {
public:
  // The one workspace of this process, made on first use and removed at exit.
  static Workspace& get();

  // Host folder mapped as C:\ and a scratch folder outside it.
  const std::filesystem::path& drive() const { return drive_; }
  const std::filesystem::path& scratch() const { return scratch_; }

  // Empties both folders, so every input starts from the same state.
  void reset() const;
  // Writes bytes to a host file, making its folders.
  static void writeFile(const std::filesystem::path& file, std::string_view bytes);

  ~Workspace();

private:
  Workspace();
  std::filesystem::path root_;
  std::filesystem::path drive_;
  std::filesystem::path scratch_;
};

inline std::string_view asText(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// A message front end nobody reads: every box is answered OK (or No).
class SilentMessageUi final : public platform::MessageUi {
public:
  int show(const std::string&, const std::string&, unsigned) override { return platform::mb::kIdNo; }
};

// Stops the run with a message: libFuzzer keeps the input as a finding.
[[noreturn]] void broken(std::string_view promise);

} // namespace vt::fuzz
