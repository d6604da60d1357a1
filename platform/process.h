#pragma once
// Programs, processes and the machine.
#include <string>
#include <string_view>
#include <vector>

namespace vt::platform {

// Show commands of the Windows shell.
constexpr int kShowHidden = 0;
constexpr int kShowNormal = 1;
constexpr int kShowShown = 5;

// The shell's "Open" verb on a file, without waiting for the program. The
// answer follows the Windows shell: above 32 is success; 2 file not found,
// 3 path not found, 5 access denied, 8 out of memory, 31 no association.
// POSIX: the file runs with execvp semantics (an ELF or a script with the run
// bit); parameters are split at blanks, double quotes group, as a Windows
// program's command line would be. A bare file name ("net.exe") is looked for
// in the launcher folder (the running program's), then in
// C:\Windows\System32\. Opened hidden (kShowHidden), the program's standard
// input and output are /dev/null, as a hidden window shows nothing.
long shellOpen(std::string_view file, std::string_view parameters, int showCommand);

#ifndef _WIN32
// POSIX: the shell's answer (2 to 32) for an error number of a program that
// did not start: the Windows code of the same meaning, 29 ("the
// communication failed") for one without a counterpart; never 0.
long shellCodeForErrno(int err);
#endif

struct ProcessEntry {
  unsigned long pid = 0;
  std::string exeName; // the executable's file name, as the process snapshot shows it
};

// Every running process (POSIX: the file name of argv[0], else the kernel's name).
std::vector<ProcessEntry> processSnapshot();

// Ends a process with exit code 0. Non-zero when it was terminated.
int terminateProcess(unsigned long pid);

unsigned long currentProcessId();

// The computer's NetBIOS-style name (at most 15 characters, upper case on
// POSIX: the host name up to its first dot); empty when it cannot be read.
std::string computerName();
// The logon name of the calling thread's user; empty when it cannot be read.
std::string userName();
// True when the process token holds the Administrators group (POSIX: root).
bool isAdministrator();
// Windows: IsWow64Process's answer for this process, true for the 32-bit
// program on a 64-bit Windows (false when the function is missing or fails,
// and for a 64-bit build). POSIX: true on a 64-bit machine, the answer the
// terminals' program gives on the 64-bit Windows they run.
bool is64BitSystem();

// Internet connection state: Windows asks WinINet; POSIX is connected when an
// interface other than loopback is up and has an address.
bool internetConnected();
// The first IPv4 address the computer's host name resolves to, "a.b.c.d"; empty when none.
std::string hostIPv4();
// One ICMP echo, waiting up to timeoutMs for the reply.
bool ping(std::string_view host, int timeoutMs);

// %NAME% references replaced by the environment's values; undefined ones stay.
std::string expandEnvironment(std::string_view text);

// The registry of the local machine. POSIX has none: a small simulation keeps
// keys as folders and values as files under "<drive C>\.vantorim\registry\HKLM\".
bool registryKeyExists(std::string_view keyPath);
std::string registryValue(std::string_view keyPath, std::string_view valueName);

// True when a top-level window of that class exists (never on POSIX).
bool windowClassExists(std::string_view className);

// Brings this process's main window to the foreground (no effect on POSIX).
void bringProcessWindowToFront();

} // namespace vt::platform
