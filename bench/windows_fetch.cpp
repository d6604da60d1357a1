// The Windows client's side of transport_bench: HEAD and GET through the
// project's WinHTTP client, timed inside the program, so Wine's start-up is
// left out as curl's and ours are.
//
//   windows_fetch URL FILE REPS
//
// Prints "seconds s1 s2 ..." and "peak_kib N" (the peak working set); exits 1
// when a request fails or a file comes out short.
#include <windows.h>
#include <psapi.h>

#include <exception>
#include <iostream>
#include <string>

#include "bench/fetch_loop.h"

namespace {

long peakKiB() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return -1;
  return static_cast<long>(counters.PeakWorkingSetSize / 1024);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: windows_fetch URL FILE REPS\n";
    return 2;
  }
  try {
    return vt::bench::fetchLoop(argv[1], argv[2], std::stoi(argv[3]), peakKiB);
  } catch (const std::exception& e) {
    std::cerr << "windows_fetch: " << e.what() << "\n";
    return 1;
  }
}
