#include "platform/process.h"

#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#include <iphlpapi.h>
#include <icmpapi.h>
#include <shellapi.h>
#include <tlhelp32.h>
#include <wininet.h>

#include <vector>

#include "platform/encoding.h"
#include "platform/scoped_handle_win.h"

namespace vt::platform {

long shellOpen(std::string_view file, std::string_view parameters, int showCommand) {
  std::wstring f = utf8ToWide(file), p = utf8ToWide(parameters);
  HINSTANCE h = ShellExecuteW(GetDesktopWindow(), L"Open", f.c_str(), p.empty() ? nullptr : p.c_str(), nullptr, showCommand);
  return static_cast<long>(reinterpret_cast<INT_PTR>(h));
}

std::vector<ProcessEntry> processSnapshot() {
  std::vector<ProcessEntry> list;
  ScopedHandle snap(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snap) return list;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL ok = Process32FirstW(snap.get(), &entry); ok; ok = Process32NextW(snap.get(), &entry)) {
    list.push_back({entry.th32ProcessID, wideToUtf8(entry.szExeFile)});
  }
  return list;
}

int terminateProcess(unsigned long pid) {
  ScopedHandle h(OpenProcess(PROCESS_TERMINATE, FALSE, static_cast<DWORD>(pid)));
  if (!h) return 0;
  return TerminateProcess(h.get(), 0) ? 1 : 0;
}

unsigned long currentProcessId() { return GetCurrentProcessId(); }

std::string computerName() {
  wchar_t buffer[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
  if (!GetComputerNameW(buffer, &size)) return {};
  return wideToUtf8(std::wstring_view(buffer, size));
}

std::string userName() {
  wchar_t buffer[254] = {};
  DWORD size = 254;
  if (!GetUserNameW(buffer, &size) || size == 0) return {};
  return wideToUtf8(std::wstring_view(buffer, size - 1)); // size counts the terminator
}

bool isAdministrator() {
  ScopedHandle token;
  if (!OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, token.receive())) {
    if (GetLastError() != ERROR_NO_TOKEN || !OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.receive()))
      return false;
  }
  alignas(TOKEN_GROUPS) unsigned char buffer[1024];
  DWORD size = 0;
  const BOOL ok = GetTokenInformation(token.get(), TokenGroups, buffer, sizeof buffer, &size);
  token.close();
  if (!ok) return false;
  SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
  PSID admins = nullptr;
  if (!AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0, &admins))
    return false;
  auto* groups = reinterpret_cast<TOKEN_GROUPS*>(buffer);
  bool found = false;
  for (DWORD i = 0; i < groups->GroupCount && !found; ++i) found = EqualSid(groups->Groups[i].Sid, admins);
  FreeSid(admins);
  return found;
}

// Asked of IsWow64Process, looked up at run time (older Windows lack it): the
// terminals' 32-bit program on a 64-bit Windows answers true. A 64-bit build
// is no WOW64 process and answers false.
bool is64BitSystem() {
  using IsWow64ProcessFunction = BOOL(WINAPI*)(HANDLE, PBOOL);
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  if (!kernel) return false;
  auto isWow64Process =
      reinterpret_cast<IsWow64ProcessFunction>(reinterpret_cast<void*>(GetProcAddress(kernel, "IsWow64Process")));
  if (!isWow64Process) return false;
  BOOL wow64 = FALSE;
  if (!isWow64Process(GetCurrentProcess(), &wow64)) return false;
  return wow64 != FALSE;
}

bool internetConnected() {
  DWORD flags = 0;
  return InternetGetConnectedState(&flags, 0) != FALSE;
}

std::string hostIPv4() {
  WSADATA data;
  if (WSAStartup(MAKEWORD(2, 0), &data) != 0) return {};
  std::string text;
  char host[256] = {};
  if (gethostname(host, sizeof host - 1) == 0) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* res = nullptr;
    if (getaddrinfo(host, nullptr, &hints, &res) == 0 && res) {
      auto* sin = reinterpret_cast<sockaddr_in*>(res->ai_addr);
      const auto* b = reinterpret_cast<const unsigned char*>(&sin->sin_addr);
      text = std::to_string(b[0]) + "." + std::to_string(b[1]) + "." + std::to_string(b[2]) + "." + std::to_string(b[3]);
      freeaddrinfo(res);
    }
  }
  WSACleanup();
  return text;
}

bool ping(std::string_view host, int timeoutMs) {
  WSADATA data;
  if (WSAStartup(MAKEWORD(2, 0), &data) != 0) return false;
  bool ok = false;
  addrinfo hints{};
  hints.ai_family = AF_INET;
  addrinfo* res = nullptr;
  std::string name(host);
  if (!name.empty() && getaddrinfo(name.c_str(), nullptr, &hints, &res) == 0 && res) {
    IPAddr address = reinterpret_cast<sockaddr_in*>(res->ai_addr)->sin_addr.S_un.S_addr;
    freeaddrinfo(res);
    HANDLE icmp = IcmpCreateFile();
    if (icmp != INVALID_HANDLE_VALUE) {
      char payload[32] = "vantorim-ping";
      std::vector<unsigned char> reply(sizeof(ICMP_ECHO_REPLY) + sizeof payload + 8);
      DWORD n = IcmpSendEcho(icmp, address, payload, sizeof payload, nullptr, reply.data(), static_cast<DWORD>(reply.size()),
                             static_cast<DWORD>(timeoutMs));
      ok = n > 0 && reinterpret_cast<ICMP_ECHO_REPLY*>(reply.data())->Status == IP_SUCCESS;
      IcmpCloseHandle(icmp);
    }
  }
  WSACleanup();
  return ok;
}

std::string expandEnvironment(std::string_view text) {
  std::vector<wchar_t> buffer(32768);
  DWORD n = ExpandEnvironmentStringsW(utf8ToWide(text).c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
  if (n == 0 || n > buffer.size()) return std::string(text);
  return wideToUtf8(std::wstring_view(buffer.data(), n - 1));
}

bool registryKeyExists(std::string_view keyPath) {
  HKEY key = nullptr;
  std::wstring path = utf8ToWide(keyPath);
  while (!path.empty() && path.front() == L'\\') path.erase(0, 1);
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

std::string registryValue(std::string_view keyPath, std::string_view valueName) {
  HKEY key = nullptr;
  std::wstring path = utf8ToWide(keyPath);
  while (!path.empty() && path.front() == L'\\') path.erase(0, 1);
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return {};
  wchar_t buffer[1024] = {};
  DWORD size = sizeof buffer - sizeof(wchar_t), type = 0;
  std::string text;
  if (RegQueryValueExW(key, utf8ToWide(valueName).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) == ERROR_SUCCESS &&
      (type == REG_SZ || type == REG_EXPAND_SZ)) {
    size_t chars = size / sizeof(wchar_t);
    while (chars > 0 && buffer[chars - 1] == 0) --chars;
    text = wideToUtf8(std::wstring_view(buffer, chars));
  }
  RegCloseKey(key);
  return text;
}

bool windowClassExists(std::string_view className) {
  return FindWindowW(utf8ToWide(className).c_str(), nullptr) != nullptr;
}

namespace {
BOOL CALLBACK findOwnWindow(HWND hwnd, LPARAM param) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid == GetCurrentProcessId() && IsWindowVisible(hwnd) && !GetWindow(hwnd, GW_OWNER)) {
    *reinterpret_cast<HWND*>(param) = hwnd;
    return FALSE;
  }
  return TRUE;
}
} // namespace

void bringProcessWindowToFront() {
  // A zero input event lets this process take the foreground.
  INPUT input{};
  input.type = INPUT_MOUSE;
  SendInput(1, &input, sizeof input);
  HWND window = nullptr;
  EnumWindows(findOwnWindow, reinterpret_cast<LPARAM>(&window));
  if (window) SetForegroundWindow(window);
}

} // namespace vt::platform
