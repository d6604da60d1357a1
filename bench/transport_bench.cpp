// Throughput and memory of the package transport, against peers measured in
// the same run on the same machine:
//   - download: getToFile against the `curl` command, both fetching the same
//     generated stream from the test HTTP server on loopback;
//   - extraction: the zip reader against `unzip`, on the same deflated archive;
//   - peak memory (VmHWM) of our two operations, each run in a child process,
//     at a small and a large size: it must not grow with the file.
// Linux only; not part of the test suite.
//
//   transport_bench [--download-mib N] [--zip-mib N] [--work DIR]
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/http.h"
#include "platform/path.h"
#include "tests/fixtures/zip_writer.h"
#include "utils/zip_archive.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr std::uint64_t kMiB = 1024 * 1024;

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

long peakKiB() {
  std::ifstream in("/proc/self/status");
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
  }
  return -1;
}

// Runs a command, returns its standard output; exits the bench when it fails.
std::string run(const std::string& command) {
  FILE* p = popen(command.c_str(), "r");
  if (!p) {
    std::cerr << "cannot run " << command << "\n";
    std::exit(1);
  }
  std::string out;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  int status = pclose(p);
  if (status != 0) {
    std::cerr << "failed (" << status << "): " << command << "\n" << out;
    std::exit(1);
  }
  return out;
}

double timed(const std::string& command) {
  auto start = Clock::now();
  run(command);
  return secondsSince(start);
}

struct ChildFigures {
  double seconds = 0;
  long peakKiB = 0;
};

// Our operation in a child process of its own, so its peak memory is its own.
ChildFigures child(const std::string& self, const std::string& args) {
  std::istringstream out(run(self + " " + args));
  ChildFigures f;
  std::string key;
  while (out >> key) {
    if (key == "seconds") out >> f.seconds;
    if (key == "peak_kib") out >> f.peakKiB;
  }
  return f;
}

int childDownload(const std::string& url, const std::string& file) {
  auto start = Clock::now();
  auto r = vt::platform::http::getToFile(url, {{"User-Agent", "transport_bench"}}, file);
  double s = secondsSince(start);
  if (r.status != 200) return 1;
  std::cout << "seconds " << s << " peak_kib " << peakKiB() << "\n";
  return 0;
}

int childExtract(const std::string& archive, const std::string& folder) {
  auto start = Clock::now();
  vt::utils::ZipArchive zip;
  auto opened = zip.open(archive);
  if (!opened) {
    std::cerr << opened.reason << "\n";
    return 1;
  }
  auto done = zip.extractAll(vt::platform::fromHost(folder));
  double s = secondsSince(start);
  if (!done) {
    std::cerr << done.reason << "\n";
    return 1;
  }
  std::cout << "seconds " << s << " peak_kib " << peakKiB() << "\n";
  return 0;
}

// Text of invoice-like lines: compresses about as well as the suite's
// packages, and the period is far beyond deflate's window.
class TextSource {
public:
  TextSource() {
    unsigned x = 2024;
    while (pool_.size() < kPeriod) {
      x = x * 1103515245u + 12345u;
      unsigned y = x * 2654435761u;
      pool_ += "registro " + std::to_string(x % 1000000) + " cliente " + std::to_string(y % 5000) + " valor " +
               std::to_string(y % 100000) + "," + std::to_string(x % 100) + (x & 0x1000 ? " PAGO\n" : " ABERTO\n");
    }
    pool_.resize(kPeriod);
  }
  void fill(std::uint64_t offset, char* buffer, size_t count) const {
    while (count > 0) {
      size_t start = static_cast<size_t>(offset % kPeriod);
      size_t n = std::min(count, kPeriod - start);
      std::copy_n(pool_.data() + start, n, buffer);
      buffer += n;
      offset += n;
      count -= n;
    }
  }

private:
  static constexpr size_t kPeriod = 4 * kMiB + 13;
  std::string pool_;
};

void makeArchive(const fs::path& file, std::uint64_t size) {
  TextSource text;
  vt::test::ZipWriter w(file);
  vt::test::ZipEntryOptions options;
  options.level = 1;
  w.add("leia-me.txt", "pacote de teste\n", options);
  w.addGenerated("Sistema/dados.bin", size,
                 [&](std::uint64_t offset, char* buffer, size_t count) { text.fill(offset, buffer, count); }, options);
  w.finish();
}

double mibPerSecond(std::uint64_t bytes, double seconds) { return static_cast<double>(bytes) / kMiB / seconds; }

void freeSpace(const fs::path& p) {
  std::error_code ec;
  fs::remove_all(p, ec);
}

} // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 3 && args[0] == "--child-download") return childDownload(args[1], args[2]);
  if (args.size() == 3 && args[0] == "--child-extract") return childExtract(args[1], args[2]);

  std::uint64_t downloadMiB = 1024, zipMiB = 1024;
  fs::path work = fs::temp_directory_path() / ("transport-bench-" + std::to_string(getpid()));
  for (size_t i = 0; i + 1 < args.size(); i += 2) {
    if (args[i] == "--download-mib") downloadMiB = std::stoull(args[i + 1]);
    if (args[i] == "--zip-mib") zipMiB = std::stoull(args[i + 1]);
    if (args[i] == "--work") work = args[i + 1];
  }
  const std::uint64_t smallMiB = 32;
  fs::create_directories(work);
  std::string self = fs::canonical("/proc/self/exe").string();
  std::string script = std::string(VT_SOURCE_DIR) + "/tests/support/http_server.py";
  fs::path state = work / "server";

  std::cout << "transport_bench: work folder " << work.string() << "\n";
  run("python3 " + script + " --daemon --idle-limit 600 --root " + (state / "docroot").string() + " --state-dir " +
      state.string());
  int port = 0;
  std::ifstream(state / "port") >> port;
  std::string base = "http://127.0.0.1:" + std::to_string(port) + "/_/stream/";
  std::cout << "test HTTP server on 127.0.0.1:" << port << " (Python; it bounds both clients alike)\n\n";

  // --- download ---------------------------------------------------------
  std::uint64_t big = downloadMiB * kMiB, small = smallMiB * kMiB;
  fs::path ours = work / "ours.bin", theirs = work / "curl.bin";
  child(self, "--child-download " + base + std::to_string(small) + " " + ours.string());  // warm the server
  ChildFigures dlSmall = child(self, "--child-download " + base + std::to_string(small) + " " + ours.string());
  ChildFigures dlBig = child(self, "--child-download " + base + std::to_string(big) + " " + ours.string());
  if (fs::file_size(ours) != big) {
    std::cerr << "download size mismatch\n";
    return 1;
  }
  freeSpace(ours);
  double curlSeconds = timed("curl -s -f -o " + theirs.string() + " " + base + std::to_string(big));
  freeSpace(theirs);
  double oursRate = mibPerSecond(big, dlBig.seconds), curlRate = mibPerSecond(big, curlSeconds);
  std::printf("download of %llu MiB:   getToFile %8.1f MiB/s   curl %8.1f MiB/s   ratio ours/curl %.2f\n",
              static_cast<unsigned long long>(downloadMiB), oursRate, curlRate, oursRate / curlRate);

  // --- extraction -------------------------------------------------------
  fs::path smallZip = work / "small.zip", bigZip = work / "big.zip";
  auto made = Clock::now();
  makeArchive(smallZip, smallMiB * kMiB);
  makeArchive(bigZip, zipMiB * kMiB);
  std::printf("archives made in %.1f s: %llu MiB in a %.1f MiB archive (deflate level 1)\n", secondsSince(made),
              static_cast<unsigned long long>(zipMiB), static_cast<double>(fs::file_size(bigZip)) / kMiB);
  fs::path outOurs = work / "out-ours", outTheirs = work / "out-unzip";
  ChildFigures exSmall = child(self, "--child-extract " + smallZip.string() + " " + outOurs.string());
  freeSpace(outOurs);
  ChildFigures exBig = child(self, "--child-extract " + bigZip.string() + " " + outOurs.string());
  if (fs::file_size(outOurs / "Sistema" / "dados.bin") != zipMiB * kMiB) {
    std::cerr << "extracted size mismatch\n";
    return 1;
  }
  freeSpace(outOurs);
  double unzipSeconds = timed("unzip -o -q " + bigZip.string() + " -d " + outTheirs.string());
  freeSpace(outTheirs);
  double exOurs = mibPerSecond(zipMiB * kMiB, exBig.seconds), exTheirs = mibPerSecond(zipMiB * kMiB, unzipSeconds);
  std::printf("extraction of %llu MiB: zip reader %7.1f MiB/s   unzip %7.1f MiB/s   ratio ours/unzip %.2f\n",
              static_cast<unsigned long long>(zipMiB), exOurs, exTheirs, exOurs / exTheirs);

  // --- memory -----------------------------------------------------------
  std::printf("\npeak memory (VmHWM of the child doing the work):\n");
  std::printf("  download   %5llu MiB: %6.1f MiB   %5llu MiB: %6.1f MiB   ratio large/small %.2f\n",
              static_cast<unsigned long long>(smallMiB), dlSmall.peakKiB / 1024.0,
              static_cast<unsigned long long>(downloadMiB), dlBig.peakKiB / 1024.0,
              static_cast<double>(dlBig.peakKiB) / dlSmall.peakKiB);
  std::printf("  extraction %5llu MiB: %6.1f MiB   %5llu MiB: %6.1f MiB   ratio large/small %.2f\n",
              static_cast<unsigned long long>(smallMiB), exSmall.peakKiB / 1024.0,
              static_cast<unsigned long long>(zipMiB), exBig.peakKiB / 1024.0,
              static_cast<double>(exBig.peakKiB) / exSmall.peakKiB);

  run("python3 " + script + " --stop --state-dir " + state.string());
  freeSpace(work);
  return 0;
}
