#pragma once
// The download as the launcher makes it, repeated: a HEAD, then a GET to a
// file, `reps` times. Prints each repetition's seconds on one line and, on the
// next, the peak memory the caller measures ("seconds 0.01 0.01\npeak_kib N").
// Shared by the Linux bench's child and the Windows fetch program, so both
// clients are timed the same way.
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <iostream>
#include <string>

#include "platform/http.h"

namespace vt::bench {

template <typename PeakKiB>
int fetchLoop(const std::string& url, const std::filesystem::path& file, int reps, PeakKiB peakKiB) {
  namespace http = vt::platform::http;
  using Clock = std::chrono::steady_clock;
  const http::Headers headers = {{"User-Agent", "transport_bench"}};
  std::cout << "seconds";
  for (int i = 0; i < reps; ++i) {
    const auto start = Clock::now();
    const auto head = http::head(url, headers);
    if (head.status != 200 || !head.contentLength) return 1;
    std::int64_t calls = 0;
    const auto got = http::getToFile(url, headers, file, [&](std::int64_t, std::int64_t) { ++calls; });
    const double s = std::chrono::duration<double>(Clock::now() - start).count();
    if (got.status != 200 || got.bytesWritten != static_cast<std::uint64_t>(*head.contentLength)) return 1;
    std::cout << " " << s;
  }
  std::cout << "\npeak_kib " << peakKiB() << "\n";
  return 0;
}

}  // namespace vt::bench
