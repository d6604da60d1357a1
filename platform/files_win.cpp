#include <windows.h>
#include <shellapi.h>

#include "platform/encoding.h"
#include "platform/files.h"
#include "platform/os_error.h"
#include "platform/scoped_handle_win.h"

namespace vt::platform {
namespace {

// The shell takes a list of paths ended by two null characters.
std::wstring doubleNullList(std::string_view path) {
  std::wstring list = utf8ToWide(path);
  list.push_back(L'\0');
  list.push_back(L'\0');
  return list;
}

void shellOperation(UINT func, std::string_view from, std::string_view to) {
  std::wstring src = doubleNullList(from), dst = doubleNullList(to);
  SHFILEOPSTRUCTW op{};
  op.hwnd = GetActiveWindow();
  op.wFunc = func;
  op.pFrom = src.c_str();
  op.pTo = func == FO_COPY ? dst.c_str() : nullptr;
  op.fFlags = FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI | FOF_NOCONFIRMMKDIR;
  SHFileOperationW(&op);
}

} // namespace

int64_t exclusiveFileSize(std::string_view path) {
  ScopedHandle h(
      CreateFileW(utf8ToWide(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!h) {
    long err = static_cast<long>(GetLastError());
    throw OsError(err, "Cannot open file \"" + std::string(path) + "\". " + OsError::messageFor(err));
  }
  LARGE_INTEGER size{};
  GetFileSizeEx(h.get(), &size);
  return size.QuadPart;
}

void writeFileReplacing(std::string_view path, std::string_view bytes) {
  auto fail = [&](long err) {
    throw OsError(err, "Cannot create file \"" + std::string(path) + "\". " + OsError::messageFor(err));
  };
  ScopedHandle h(
      CreateFileW(utf8ToWide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!h) fail(static_cast<long>(GetLastError()));
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30)), written = 0;
    if (!WriteFile(h.get(), bytes.data() + done, chunk, &written, nullptr)) {
      long err = static_cast<long>(GetLastError());
      h.close();
      fail(err);
    }
    done += written;
  }
}

bool appendToExistingFile(std::string_view path, std::string_view bytes) {
  ScopedHandle h(CreateFileW(utf8ToWide(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!h) return false;
  DWORD written = 0;
  const BOOL ok = WriteFile(h.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  return ok && written == bytes.size();
}

void shellDelete(std::string_view from) { shellOperation(FO_DELETE, from, ""); }

void shellCopy(std::string_view from, std::string_view to) { shellOperation(FO_COPY, from, to); }

} // namespace vt::platform
