#pragma once
// What the clean-up tests share: the run's log entries and status texts, the
// Linux build's net.exe placed where the shell finds it, and the service
// executables they lay in the launcher folder.
#include <chrono>
#include <string>
#include <string_view>
#include <vector>

#include "tests/launcher/launcher_fixture.h"

namespace vt::test {

// The on-screen log's entries, without "- ".
std::vector<std::string> logEntries(const LauncherFixture& f);
std::vector<long long> pausesOf(const LauncherFixture& f);

#ifndef _WIN32
// net.exe of the Linux build in C:\Windows\System32\ of the test drive.
// Each one started waits at its start until letNetExeRun (ten seconds at
// most), so the run's first test of a service always comes before the stop,
// however the two processes are scheduled.
void placeNetExe(const LauncherFixture& f);
// Lets a net.exe of the drive that waits at its start go on, and waits until
// it has ended; nothing when none was started. For the clock's onYield.
void letNetExeRun(const LauncherFixture& f);
// A service executable (PE) in the launcher folder that, run with its
// parameters, writes them to desinstalado.txt beside it and, when
// `removesService` names a service, unregisters it, as an uninstaller does.
void placeServiceExecutable(const LauncherFixture& f, std::string_view fileName, std::string_view removesService);
#endif

} // namespace vt::test
