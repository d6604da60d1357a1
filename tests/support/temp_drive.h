#pragma once
// A fresh, empty folder for one test, named by Windows paths like everything
// in the system. On POSIX the drive C: is mapped to a new temporary folder for
// the test's lifetime; on Windows (under Wine) it is a unique folder under the
// real C:\vt-tests\. Removed again when the test ends.
#include <filesystem>
#include <string>
#include <string_view>

namespace vt::test {

class TempDrive {
public:
  TempDrive();
  ~TempDrive();
  TempDrive(const TempDrive&) = delete;
  TempDrive& operator=(const TempDrive&) = delete;

  // The Windows path of the test folder, with a trailing backslash
  // ("C:\vt-tests\<unique>\" or, on POSIX, the same text on the mapped drive).
  const std::string& root() const { return root_; }
  // root() + relative (relative uses backslashes); an absolute Windows path
  // ("C:\...", "\\host\...") is taken as it is.
  std::string path(std::string_view relative) const;

  // The install root "C:\Quorvelin\", empty and private to this test: on
  // POSIX inside the mapped drive, on Windows the real folder, emptied now and
  // removed at the end (so Windows suites run one at a time).
  std::string installRoot();
  // Host path of root() + relative.
  std::filesystem::path host(std::string_view relative = "") const;

  // Convenience for fixtures: write and read whole files by Windows path
  // (relative to root() or absolute).
  void write(std::string_view relative, std::string_view bytes) const;
  std::string read(std::string_view relative) const;
  bool exists(std::string_view relative) const;

private:
  std::string root_;
  std::filesystem::path hostRoot_;
  std::string previousDrive_;
  bool hadPreviousDrive_ = false;
  bool ownsInstallRoot_ = false;
};

} // namespace vt::test
