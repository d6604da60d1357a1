#include "platform/process.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/ip_icmp.h>
#include <poll.h>
#include <pwd.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/utsname.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/path.h"
#include "platform/self.h"

namespace vt::platform {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> splitCommandLine(std::string_view text) {
  std::vector<std::string> args;
  std::string current;
  bool inQuotes = false, any = false;
  for (char c : text) {
    if (c == '"') {
      inQuotes = !inQuotes;
      any = true;
    } else if ((c == ' ' || c == '\t') && !inQuotes) {
      if (any) args.push_back(current);
      current.clear();
      any = false;
    } else {
      current += c;
      any = true;
    }
  }
  if (any) args.push_back(current);
  return args;
}


std::string readSmallFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

uint16_t icmpChecksum(const unsigned char* data, size_t len) {
  uint32_t sum = 0;
  for (size_t i = 0; i + 1 < len; i += 2) sum += static_cast<uint32_t>(data[i] << 8 | data[i + 1]);
  if (len & 1) sum += static_cast<uint32_t>(data[len - 1] << 8);
  while (sum >> 16) sum = (sum & 0xFFFF) + (sum >> 16);
  return static_cast<uint16_t>(~sum);
}

fs::path registryFolder(std::string_view keyPath) {
  std::string p = "C:\\.vantorim\\registry\\HKLM\\";
  std::string_view k = keyPath;
  while (!k.empty() && k.front() == '\\') k.remove_prefix(1);
  p += k;
  return toHost(p);
}

// The file a bare program name ("net.exe") opens: as the shell finds it, in
// the launcher folder (the running program's), then in C:\Windows\System32\.
fs::path programFile(std::string_view file) {
  if (file.find_first_of("\\/:") != std::string_view::npos) return toHost(file);
  std::string self = currentExecutablePath();
  const std::string folders[] = {self.substr(0, self.find_last_of('\\') + 1), "C:\\Windows\\System32\\"};
  for (const std::string& folder : folders) {
    if (folder.empty()) continue;
    fs::path candidate = toHost(folder + std::string(file));
    std::error_code ec;
    if (fs::is_regular_file(candidate, ec)) return candidate;
  }
  return toHost(file);
}

} // namespace

// Every answer is a failure the caller's table names: an error without a
// Windows counterpart must not read as the 0 that the table leaves empty, the
// text of success. It reads as 29, "the communication failed", the table's
// only text that says "failed" without a more particular cause.
long shellCodeForErrno(int err) {
  switch (err) {
  case ENOENT: return 2; // file not found
  case ENOTDIR:
  case ELOOP:
  case ENAMETOOLONG: return 3; // path not found
  case EACCES:
  case EPERM:
  case EISDIR: return 5; // access denied
  case ENOMEM:
  case E2BIG:
  case EAGAIN:
  case EMFILE:
  case ENFILE: return 8; // out of memory or resources
  case ETXTBSY: return 26; // sharing violation: the file is open for writing
  case ENOEXEC: return 31; // no program to open the file with
  case ELIBBAD:
  case ELIBACC: return 32; // a library the program needs is missing or broken
  default: return 29;
  }
}

long shellOpen(std::string_view file, std::string_view parameters, int showCommand) {
  fs::path host = programFile(file);
  std::string program = host.string();
  std::vector<std::string> args = splitCommandLine(parameters);
  std::vector<char*> argv;
  argv.push_back(program.data());
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  // The exec result travels back through a close-on-exec pipe: nothing read
  // means the program started. A double fork leaves no zombie behind and
  // does not wait for the program.
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return 8;
  pid_t child = fork();
  if (child < 0) {
    close(fds[0]);
    close(fds[1]);
    return 8;
  }
  if (child == 0) {
    setsid();
    pid_t grandchild = fork();
    if (grandchild != 0) _exit(grandchild < 0 ? 1 : 0);
    // A program opened hidden shows nothing: its console is no one's.
    if (showCommand == kShowHidden) {
      int null = open("/dev/null", O_RDWR | O_CLOEXEC);
      if (null >= 0) {
        dup2(null, 0);
        dup2(null, 1);
        dup2(null, 2);
      }
    }
    // Reading the program name as a path (not searched in PATH) as the shell
    // would. A file the kernel will not run itself (no "#!" line, not an ELF)
    // runs through /bin/sh, as execvp does; the program inherits our
    // environment, the drive mapping included.
    execv(argv[0], argv.data());
    int err = errno;
    if (err == ENOEXEC) {
      std::vector<char*> shArgv;
      static char shName[] = "sh";
      shArgv.push_back(shName);
      for (char* a : argv) shArgv.push_back(a);
      execv("/bin/sh", shArgv.data());
      err = errno;
    }
    ssize_t ignored = write(fds[1], &err, sizeof err);
    (void)ignored;
    _exit(127);
  }
  close(fds[1]);
  int status = 0;
  waitpid(child, &status, 0);
  int err = 0;
  ssize_t n = read(fds[0], &err, sizeof err);
  close(fds[0]);
  if (n == static_cast<ssize_t>(sizeof err)) return shellCodeForErrno(err);
  // The middle process ends with 1 when it could not fork the program.
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return 8;
  return 42; // started: any value above 32
}

std::vector<ProcessEntry> processSnapshot() {
  std::vector<ProcessEntry> list;
  std::error_code ec;
  for (fs::directory_iterator it("/proc", ec), end; !ec && it != end; it.increment(ec)) {
    std::string name = it->path().filename().string();
    if (name.empty() || !std::all_of(name.begin(), name.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }))
      continue;
    std::string cmdline = readSmallFile(it->path() / "cmdline");
    std::string exe;
    if (!cmdline.empty()) {
      std::string argv0 = cmdline.substr(0, cmdline.find('\0'));
      size_t slash = argv0.find_last_of('/');
      exe = slash == std::string::npos ? argv0 : argv0.substr(slash + 1);
    }
    if (exe.empty()) {
      exe = readSmallFile(it->path() / "comm");
      while (!exe.empty() && (exe.back() == '\n')) exe.pop_back();
    }
    if (exe.size() > 259) exe.resize(259);
    list.push_back({std::stoul(name), exe});
  }
  return list;
}

int terminateProcess(unsigned long pid) { return ::kill(static_cast<pid_t>(pid), SIGKILL) == 0 ? 1 : 0; }

unsigned long currentProcessId() { return static_cast<unsigned long>(::getpid()); }

std::string computerName() {
  char buffer[256] = {};
  if (gethostname(buffer, sizeof buffer - 1) != 0) return {};
  std::string name(buffer);
  name = name.substr(0, name.find('.'));
  if (name.size() > 15) name.resize(15);
  for (auto& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return name;
}

std::string userName() {
  if (passwd* pw = getpwuid(geteuid()); pw && pw->pw_name) return pw->pw_name;
  return {};
}

bool isAdministrator() { return geteuid() == 0; }

bool is64BitSystem() {
  utsname u{};
  if (uname(&u) != 0) return false;
  std::string m = u.machine;
  return m.find("64") != std::string::npos;
}

bool internetConnected() {
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) return false;
  bool connected = false;
  for (ifaddrs* a = list; a; a = a->ifa_next) {
    if (!a->ifa_addr || (a->ifa_flags & IFF_LOOPBACK) || !(a->ifa_flags & IFF_UP)) continue;
    int family = a->ifa_addr->sa_family;
    if (family == AF_INET || family == AF_INET6) {
      connected = true;
      break;
    }
  }
  freeifaddrs(list);
  return connected;
}

std::string hostIPv4() {
  char host[256] = {};
  if (gethostname(host, sizeof host - 1) != 0) return {};
  addrinfo hints{};
  hints.ai_family = AF_INET;
  addrinfo* res = nullptr;
  if (getaddrinfo(host, nullptr, &hints, &res) != 0 || !res) return {};
  auto* sin = reinterpret_cast<sockaddr_in*>(res->ai_addr);
  const auto* b = reinterpret_cast<const unsigned char*>(&sin->sin_addr);
  std::string text = std::to_string(b[0]) + "." + std::to_string(b[1]) + "." + std::to_string(b[2]) + "." + std::to_string(b[3]);
  freeaddrinfo(res);
  return text;
}

bool ping(std::string_view host, int timeoutMs) {
  addrinfo hints{};
  hints.ai_family = AF_INET;
  addrinfo* res = nullptr;
  std::string name(host);
  if (name.empty() || getaddrinfo(name.c_str(), nullptr, &hints, &res) != 0 || !res) return false;
  sockaddr_in target = *reinterpret_cast<sockaddr_in*>(res->ai_addr);
  freeaddrinfo(res);

  // An unprivileged ICMP socket where the system allows it, else a raw one.
  bool raw = false;
  int s = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP);
  if (s < 0) {
    s = socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
    raw = true;
  }
  if (s < 0) return false;
  unsigned char packet[64] = {};
  const uint16_t id = static_cast<uint16_t>(getpid() & 0xFFFF), seq = 1;
  packet[0] = 8; // echo request
  packet[4] = static_cast<unsigned char>(id >> 8);
  packet[5] = static_cast<unsigned char>(id & 0xFF);
  packet[6] = 0;
  packet[7] = seq;
  std::memcpy(packet + 8, "vantorim-ping", 13);
  uint16_t sum = icmpChecksum(packet, sizeof packet);
  packet[2] = static_cast<unsigned char>(sum >> 8);
  packet[3] = static_cast<unsigned char>(sum & 0xFF);
  bool ok = false;
  if (sendto(s, packet, sizeof packet, 0, reinterpret_cast<sockaddr*>(&target), sizeof target) == static_cast<ssize_t>(sizeof packet)) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
      auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
      if (left <= 0) break;
      pollfd p{s, POLLIN, 0};
      if (poll(&p, 1, static_cast<int>(left)) <= 0) break;
      unsigned char reply[1500];
      ssize_t n = recv(s, reply, sizeof reply, 0);
      if (n <= 0) break;
      const unsigned char* icmp = reply;
      if (raw) {
        size_t ihl = static_cast<size_t>(reply[0] & 0x0F) * 4;
        if (static_cast<size_t>(n) < ihl + 8) continue;
        icmp = reply + ihl;
        if (icmp[4] != packet[4] || icmp[5] != packet[5]) continue;
      }
      if (icmp[0] == 0) { // echo reply
        ok = true;
        break;
      }
    }
  }
  close(s);
  return ok;
}

std::string expandEnvironment(std::string_view text) {
  std::string out;
  size_t i = 0;
  while (i < text.size()) {
    size_t open = text.find('%', i);
    if (open == std::string_view::npos) break;
    size_t close = text.find('%', open + 1);
    if (close == std::string_view::npos) break;
    out.append(text.substr(i, open - i));
    std::string name(text.substr(open + 1, close - open - 1));
    const char* value = name.empty() ? nullptr : std::getenv(name.c_str());
    if (value) {
      out += value;
      i = close + 1;
    } else {
      out.append(text.substr(open, close - open + 1));
      i = close + 1;
    }
  }
  out.append(text.substr(i));
  return out;
}

bool registryKeyExists(std::string_view keyPath) {
  std::error_code ec;
  return fs::is_directory(registryFolder(keyPath), ec);
}

std::string registryValue(std::string_view keyPath, std::string_view valueName) {
  std::string text = readSmallFile(registryFolder(keyPath) / std::string(valueName));
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

bool windowClassExists(std::string_view) { return false; }

void bringProcessWindowToFront() {}

} // namespace vt::platform
