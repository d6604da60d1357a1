#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "platform/files.h"
#include "platform/os_error.h"
#include "platform/path.h"

namespace vt::platform {
namespace fs = std::filesystem;

namespace {

// Splits "C:\x\*.txt" into the folder and the pattern when the last
// component holds a wildcard.
bool splitPattern(std::string_view from, std::string& folder, std::string& pattern) {
  size_t slash = from.find_last_of("\\/");
  std::string_view last = slash == std::string_view::npos ? from : from.substr(slash + 1);
  if (last.find_first_of("*?") == std::string_view::npos) return false;
  folder = std::string(slash == std::string_view::npos ? std::string_view(".") : from.substr(0, slash));
  pattern = std::string(last);
  return true;
}

void copyItem(const fs::path& src, const fs::path& dst) {
  std::error_code ec;
  if (fs::is_directory(src, ec)) {
    fs::create_directories(dst, ec);
    fs::copy(src, dst, fs::copy_options::recursive | fs::copy_options::overwrite_existing, ec);
  } else {
    fs::copy_file(src, dst, fs::copy_options::overwrite_existing, ec);
  }
}

} // namespace

int64_t exclusiveFileSize(std::string_view path) {
  int fd = ::open(toHost(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    int err = errno;
    throw OsError(err, "Cannot open file \"" + std::string(path) + "\". " + OsError::messageFor(err));
  }
  // The nearest thing to exclusive sharing: a lock another holder would block.
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    int err = errno;
    ::close(fd);
    throw OsError(err, "Cannot open file \"" + std::string(path) + "\". " + OsError::messageFor(err));
  }
  struct stat st {};
  fstat(fd, &st);
  ::close(fd);
  // Windows opens no folder as a file; reading one here would give the
  // size of its directory entries.
  if (S_ISDIR(st.st_mode))
    throw OsError(EISDIR, "Cannot open file \"" + std::string(path) + "\". " + OsError::messageFor(EISDIR));
  return static_cast<int64_t>(st.st_size);
}

void writeFileReplacing(std::string_view path, std::string_view bytes) {
  int fd = ::open(toHost(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  auto fail = [&](int err) {
    throw OsError(err, "Cannot create file \"" + std::string(path) + "\". " + OsError::messageFor(err));
  };
  if (fd < 0) fail(errno);
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      int err = errno;
      ::close(fd);
      fail(err);
    }
    done += static_cast<size_t>(n);
  }
  if (::close(fd) != 0) fail(errno);
}

bool appendToExistingFile(std::string_view path, std::string_view bytes) {
  int fd = ::open(toHost(path).c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
  if (fd < 0) return false;
  size_t done = 0;
  bool ok = true;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = false;
      break;
    }
    done += static_cast<size_t>(n);
  }
  return ::close(fd) == 0 && ok;
}

void shellDelete(std::string_view from) {
  std::error_code ec;
  std::string folder, pattern;
  if (splitPattern(from, folder, pattern)) {
    for (const auto& e : listDirectory(folder, pattern)) fs::remove_all(toHost(folder + "\\" + e.name), ec);
    return;
  }
  fs::path p = toHost(from);
  if (!fs::exists(fs::symlink_status(p, ec))) return;
  fs::remove_all(p, ec);
}

void shellCopy(std::string_view from, std::string_view to) {
  std::error_code ec;
  std::string folder, pattern;
  fs::path dst = toHost(to);
  if (splitPattern(from, folder, pattern)) {
    fs::create_directories(dst, ec);
    for (const auto& e : listDirectory(folder, pattern)) copyItem(toHost(folder + "\\" + e.name), dst / e.name);
    return;
  }
  fs::path src = toHost(from);
  if (!fs::exists(src, ec)) return;
  // As the shell does: into an existing folder, or as the new name.
  if (fs::is_directory(dst, ec)) dst /= src.filename();
  copyItem(src, dst);
}

} // namespace vt::platform
