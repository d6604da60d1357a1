// Throughput and memory of the package transport, against peers measured in
// the same run on the same machine:
//   - download: a HEAD and a GET through our HTTP client against the same two
//     requests by the `curl` command (one process, `--next`), both served by
//     nginx on loopback (run as our own process, private config and port), at
//     64 KiB, 1 MiB, 32 MiB and a large file; with --windows-fetch, the
//     Windows client (WinHTTP) of a small Windows program under Wine beside it;
//   - extraction: the zip reader against `unzip` on the same archives: one
//     large deflated entry, one large stored entry, and a reports package of
//     a few thousand small layouts, stored and deflated;
//   - peak memory (VmHWM) of our operations, each run in a child process, at
//     a small and a large size: it must not grow with the file.
// Every figure is the median of several repetitions; each client times its
// own requests (curl through its -w times), so process start-up is left out
// for all of them. Linux only; not part of the test suite. Ctrl-C stops
// nginx and removes the work folder.
//
//   transport_bench [--download-mib N] [--zip-mib N] [--work DIR] [--windows-fetch EXE]
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "bench/fetch_loop.h"
#include "platform/http.h"
#include "platform/path.h"
#include "tests/fixtures/zip_writer.h"
#include "utils/zip_archive.h"

extern char** environ;

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr std::uint64_t kKiB = 1024;
constexpr std::uint64_t kMiB = 1024 * 1024;

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : (v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2);
}

long peakKiB() {
  std::ifstream in("/proc/self/status");
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
  }
  return -1;
}

// ---------------------------------------------------------------------------
// What the bench started, stopped on every way out (Ctrl-C included).
// ---------------------------------------------------------------------------

volatile pid_t gNginx = -1;
char gWorkFolder[4096] = {};
bool gStartedWineServer = false;
std::string gWinePrefix;

void stopNginx() {
  const pid_t pid = gNginx;
  if (pid > 0) {
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    gNginx = -1;
  }
}

void onSignal(int) {
  // Only async-signal-safe calls: end nginx, then become `rm -rf` of the work folder.
  const pid_t pid = gNginx;
  if (pid > 0) {
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
  }
  if (gWorkFolder[0]) execl("/bin/rm", "rm", "-rf", gWorkFolder, static_cast<char*>(nullptr));
  _exit(130);
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
    stopNginx();
    std::exit(1);
  }
  return out;
}

// nginx as a child of ours: its own prefix, config, logs and temporary
// folders under the work folder, one worker, listening on 127.0.0.1 only.
int startNginx(const fs::path& prefix, const fs::path& docroot) {
  fs::create_directories(prefix / "tmp");
  for (int port = 18900 + static_cast<int>(getpid() % 500);; ++port) {
    std::ofstream conf(prefix / "nginx.conf");
    conf << (geteuid() == 0 ? "user root root;\n" : "") << "worker_processes 1;\n"
         << "pid " << (prefix / "nginx.pid").string() << ";\n"
         << "error_log " << (prefix / "error.log").string() << " warn;\n"
         << "events { worker_connections 1024; }\n"
         << "http {\n"
         << "  access_log off;\n  sendfile on;\n  tcp_nopush on;\n  keepalive_requests 100000;\n"
         << "  default_type application/octet-stream;\n";
    for (const char* kind : {"client_body", "proxy", "fastcgi", "uwsgi", "scgi"})
      conf << "  " << kind << "_temp_path " << (prefix / "tmp" / kind).string() << ";\n";
    conf << "  server {\n    listen 127.0.0.1:" << port << ";\n    root " << docroot.string() << ";\n  }\n}\n";
    conf.close();

    const std::string confPath = (prefix / "nginx.conf").string(), prefixPath = prefix.string() + "/",
                      errorLog = (prefix / "error.log").string();
    std::vector<std::string> args = {"nginx", "-p", prefixPath, "-c", confPath, "-e", errorLog, "-g", "daemon off;"};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    const char* program = fs::exists("/usr/sbin/nginx") ? "/usr/sbin/nginx" : "nginx";
    if (posix_spawnp(&pid, program, nullptr, nullptr, argv.data(), environ) != 0) {
      std::cerr << "cannot start nginx (install nginx-light: scripts/setup)\n";
      std::exit(1);
    }
    gNginx = pid;
    // Ready when it answers; a port taken by someone else makes it end at once.
    for (int i = 0; i < 100; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      int status = 0;
      if (waitpid(pid, &status, WNOHANG) == pid) {
        gNginx = -1;
        break;
      }
      try {
        vt::platform::http::head("http://127.0.0.1:" + std::to_string(port) + "/", {});
        return port;
      } catch (const std::exception&) {
      }
    }
    if (gNginx > 0) {
      std::cerr << "nginx does not answer; see " << errorLog << "\n";
      stopNginx();
      std::exit(1);
    }
    if (port > 18900 + 600) {
      std::cerr << "nginx cannot listen; see " << errorLog << "\n";
      std::exit(1);
    }
  }
}

// ---------------------------------------------------------------------------
// The clients.
// ---------------------------------------------------------------------------

// Our client as the launcher uses it: HEAD, then GET to a file, `reps` times;
// prints each repetition's seconds and the peak memory.
int childFetch(const std::string& url, const std::string& file, int reps) {
  return vt::bench::fetchLoop(url, file, reps, peakKiB);
}

struct Figures {
  std::vector<double> seconds;
  long peakKiB = 0;
};

Figures parseFigures(const std::string& out) {
  Figures f;
  std::istringstream in(out);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    std::string key;
    words >> key;
    if (key == "seconds")
      for (double s; words >> s;) f.seconds.push_back(s);
    if (key == "peak_kib") words >> f.peakKiB;
  }
  return f;
}

// The same two requests by the curl command in one process, each timed by
// curl itself (time_total); the sum per repetition.
std::vector<double> curlFetch(const std::string& url, const std::string& file, int reps) {
  std::vector<double> out;
  for (int i = 0; i < reps; ++i) {
    std::istringstream times(run("curl -s -f -I -o /dev/null -w '%{time_total}\\n' " + url + " --next -s -f -o " +
                                 file + " -w '%{time_total}\\n' " + url));
    double head = 0, get = 0;
    times >> head >> get;
    out.push_back(head + get);
  }
  return out;
}

// A file of generated bytes (not zeros: nothing may shortcut them).
void writeFile(const fs::path& file, std::uint64_t size) {
  std::ofstream out(file, std::ios::binary);
  std::string block(kMiB, '\0');
  unsigned x = 12345;
  for (char& c : block) c = static_cast<char>((x = x * 1103515245u + 12345u) >> 24);
  for (std::uint64_t left = size; left > 0;) {
    const std::uint64_t n = std::min<std::uint64_t>(left, block.size());
    out.write(block.data(), static_cast<std::streamsize>(n));
    left -= n;
  }
}

std::string sizeText(std::uint64_t bytes) {
  if (bytes >= kMiB * 1024 && bytes % (kMiB * 1024) == 0) return std::to_string(bytes / kMiB / 1024) + " GiB";
  if (bytes >= kMiB) return std::to_string(bytes / kMiB) + " MiB";
  return std::to_string(bytes / kKiB) + " KiB";
}

// ---------------------------------------------------------------------------
// Extraction.
// ---------------------------------------------------------------------------

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
  std::cout << "seconds " << s << "\npeak_kib " << peakKiB() << "\n";
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

void makeLargeArchive(const fs::path& file, std::uint64_t size, bool deflate) {
  TextSource text;
  vt::test::ZipWriter w(file);
  vt::test::ZipEntryOptions options;
  options.level = 1;
  options.deflate = deflate;
  w.add("leia-me.txt", "pacote de teste\n", options);
  w.addGenerated("Sistema/dados.bin", size,
                 [&](std::uint64_t offset, char* buffer, size_t count) { text.fill(offset, buffer, count); }, options);
  w.finish();
}

// A reports package: `count` layouts of 4 to 60 KiB in a few dozen folders,
// every other one stored, the rest deflated.
std::uint64_t makeReportsArchive(const fs::path& file, int count) {
  TextSource text;
  vt::test::ZipWriter w(file);
  std::uint64_t total = 0, offset = 0;
  std::string bytes;
  for (int i = 0; i < count; ++i) {
    vt::test::ZipEntryOptions options;
    options.deflate = i % 2 == 1;
    const std::size_t size = 4096 + static_cast<std::size_t>((i * 7919) % (56 * 1024));
    bytes.resize(size);
    text.fill(offset, bytes.data(), size);
    offset += size;
    total += size;
    // Folder by folder, as an archiver walking the reports folder writes them.
    w.add("reports/pasta" + std::to_string(i / 75) + "/layout" + std::to_string(i) + ".fr3", bytes, options);
  }
  w.finish();
  return total;
}

Figures childFigures(const std::string& self, const std::string& args) { return parseFigures(run(self + " " + args)); }

void freeSpace(const fs::path& p) {
  std::error_code ec;
  fs::remove_all(p, ec);
}

struct ExtractionCase {
  std::string name;
  fs::path archive;
  std::uint64_t bytes;
};

} // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 4 && args[0] == "--child-fetch") return childFetch(args[1], args[2], std::stoi(args[3]));
  if (args.size() == 3 && args[0] == "--child-extract") return childExtract(args[1], args[2]);

  std::uint64_t downloadMiB = 1024, zipMiB = 1024;
  fs::path work = fs::temp_directory_path() / ("transport-bench-" + std::to_string(getpid()));
  std::string windowsFetch;
  for (size_t i = 0; i + 1 < args.size(); i += 2) {
    if (args[i] == "--download-mib") downloadMiB = std::stoull(args[i + 1]);
    if (args[i] == "--zip-mib") zipMiB = std::stoull(args[i + 1]);
    if (args[i] == "--work") work = args[i + 1];
    if (args[i] == "--windows-fetch") windowsFetch = fs::absolute(args[i + 1]).string();
  }
  fs::create_directories(work);
  fs::permissions(work, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                            fs::perms::others_read | fs::perms::others_exec);
  std::snprintf(gWorkFolder, sizeof gWorkFolder, "%s", work.c_str());
  signal(SIGINT, onSignal);
  signal(SIGTERM, onSignal);
  signal(SIGHUP, onSignal);

  const std::string self = fs::canonical("/proc/self/exe").string();
  const fs::path docroot = work / "www";
  fs::create_directories(docroot);
  std::cout << "transport_bench: work folder " << work.string() << "\n";

  // --- download ---------------------------------------------------------
  struct DownloadCase {
    std::uint64_t bytes;
    int reps;
  };
  const std::vector<DownloadCase> downloads = {
      {64 * kKiB, 30}, {kMiB, 30}, {32 * kMiB, 9}, {downloadMiB * kMiB, 5}};
  for (const auto& d : downloads) writeFile(docroot / ("f" + std::to_string(d.bytes) + ".bin"), d.bytes);
  const int port = startNginx(work / "nginx", docroot);
  std::string version = run("/usr/sbin/nginx -v 2>&1 | sed 's/.*nginx\\///'");
  while (!version.empty() && (version.back() == '\n' || version.back() == ' ')) version.pop_back();
  std::cout << "nginx " << version << " on 127.0.0.1:" << port
            << " (our own process: private config, one worker, sendfile)\n\n";

  // Wine for the Windows client: a server of our own started detached, ended at the end.
  const char* winePrefixEnv = std::getenv("WINEPREFIX");
  if (!windowsFetch.empty()) {
    gWinePrefix = winePrefixEnv ? winePrefixEnv : (fs::path(windowsFetch).parent_path() / "wineprefix").string();
    setenv("WINEPREFIX", gWinePrefix.c_str(), 1);
    setenv("WINEDEBUG", "-all", 1);
    setenv("WINEDLLOVERRIDES", "mscoree,mshtml=", 1);
    std::system("wineserver -p >/dev/null 2>&1 </dev/null; wine cmd.exe /c exit >/dev/null 2>&1 </dev/null");
    gStartedWineServer = true;
  }

  std::printf("download, HEAD + GET (median of the repetitions; MiB/s, ratio = throughput / curl's)\n");
  std::printf("  %-8s %5s %12s %12s %8s", "size", "reps", "curl", "ours", "ratio");
  if (!windowsFetch.empty()) std::printf(" %14s %8s", "WinHTTP/Wine", "ratio");
  std::printf("\n");
  Figures smallMemory, largeMemory;
  const fs::path ours = work / "ours.bin", theirs = work / "curl.bin";
  const std::string base = "http://127.0.0.1:" + std::to_string(port) + "/";
  for (const auto& d : downloads) {
    const std::string url = base + "f" + std::to_string(d.bytes) + ".bin";
    // Interleaved in rounds, so a load change on the machine touches both alike.
    std::vector<double> curlSeconds, ourSeconds, winSeconds;
    const int rounds = d.reps >= 10 ? 3 : d.reps;
    const int perRound = d.reps / rounds;
    for (int r = 0; r < rounds; ++r) {
      for (double s : curlFetch(url, theirs.string(), perRound)) curlSeconds.push_back(s);
      freeSpace(theirs);
      Figures f = childFigures(self, "--child-fetch " + url + " " + ours.string() + " " + std::to_string(perRound));
      if (f.seconds.empty() || fs::file_size(ours) != d.bytes) {
        std::cerr << "our download failed or is short: " << url << "\n";
        stopNginx();
        return 1;
      }
      for (double s : f.seconds) ourSeconds.push_back(s);
      if (d.bytes == downloads.front().bytes) smallMemory = f;
      if (d.bytes == downloads.back().bytes) largeMemory = f;
      freeSpace(ours);
      if (!windowsFetch.empty()) {
        const std::string winFile = (work / "win.bin").string();
        Figures w = parseFigures(run("wine " + windowsFetch + " " + url + " Z:" + winFile + " " +
                                     std::to_string(perRound) + " 2>/dev/null"));
        for (double s : w.seconds) winSeconds.push_back(s);
        freeSpace(work / "win.bin");
      }
    }
    const double mib = static_cast<double>(d.bytes) / kMiB;
    const double c = median(curlSeconds), o = median(ourSeconds);
    std::printf("  %-8s %5d %12.1f %12.1f %8.2f", sizeText(d.bytes).c_str(), rounds * perRound, mib / c, mib / o, c / o);
    if (!windowsFetch.empty()) {
      const double w = median(winSeconds);
      std::printf(" %14.1f %8.2f", w > 0 ? mib / w : 0.0, w > 0 ? c / w : 0.0);
    }
    std::printf("\n");
    std::fflush(stdout);
  }
  stopNginx();
  if (gStartedWineServer) std::system("wineserver -k >/dev/null 2>&1 </dev/null");
  for (const auto& d : downloads) freeSpace(docroot / ("f" + std::to_string(d.bytes) + ".bin"));

  // --- extraction -------------------------------------------------------
  std::printf("\nextraction (MiB/s of extracted bytes, median of 3; ratio = throughput / unzip's)\n");
  const auto made = Clock::now();
  std::vector<ExtractionCase> cases = {
      {"deflated, one " + std::to_string(zipMiB) + " MiB entry", work / "deflated.zip", zipMiB * kMiB},
      {"stored, one " + std::to_string(zipMiB) + " MiB entry", work / "stored.zip", zipMiB * kMiB},
      {"reports, 3000 layouts", work / "reports.zip", 0},
  };
  makeLargeArchive(cases[0].archive, zipMiB * kMiB, true);
  makeLargeArchive(cases[1].archive, zipMiB * kMiB, false);
  cases[2].bytes = makeReportsArchive(cases[2].archive, 3000);
  const fs::path smallZip = work / "small.zip";
  makeLargeArchive(smallZip, 32 * kMiB, true);
  std::printf("  (archives made in %.1f s)\n", secondsSince(made));
  std::printf("  %-32s %10s %10s %8s\n", "archive", "unzip", "ours", "ratio");
  const fs::path outOurs = work / "out-ours", outTheirs = work / "out-unzip";
  Figures exSmall, exLarge;
  for (const auto& c : cases) {
    std::vector<double> oursS, theirsS;
    for (int r = 0; r < 3; ++r) {
      freeSpace(outTheirs);
      const auto start = Clock::now();
      run("unzip -o -q " + c.archive.string() + " -d " + outTheirs.string());
      theirsS.push_back(secondsSince(start));
      freeSpace(outTheirs);
      freeSpace(outOurs);
      Figures f = childFigures(self, "--child-extract " + c.archive.string() + " " + outOurs.string());
      oursS.push_back(f.seconds.empty() ? 0 : f.seconds.front());
      if (&c == &cases[0]) exLarge = f;
      freeSpace(outOurs);
    }
    const double mib = static_cast<double>(c.bytes) / kMiB;
    std::printf("  %-32s %10.1f %10.1f %8.2f\n", c.name.c_str(), mib / median(theirsS), mib / median(oursS),
                median(theirsS) / median(oursS));
  }
  exSmall = childFigures(self, "--child-extract " + smallZip.string() + " " + outOurs.string());
  freeSpace(outOurs);

  // --- memory -----------------------------------------------------------
  std::printf("\npeak memory (VmHWM of the child doing the work):\n");
  std::printf("  download   %8s: %6.1f MiB   %8s: %6.1f MiB   ratio large/small %.2f\n",
              sizeText(downloads.front().bytes).c_str(), smallMemory.peakKiB / 1024.0,
              sizeText(downloads.back().bytes).c_str(), largeMemory.peakKiB / 1024.0,
              static_cast<double>(largeMemory.peakKiB) / static_cast<double>(std::max(1L, smallMemory.peakKiB)));
  std::printf("  extraction %8s: %6.1f MiB   %8s: %6.1f MiB   ratio large/small %.2f\n", "32 MiB",
              exSmall.peakKiB / 1024.0, sizeText(zipMiB * kMiB).c_str(), exLarge.peakKiB / 1024.0,
              static_cast<double>(exLarge.peakKiB) / static_cast<double>(std::max(1L, exSmall.peakKiB)));

  freeSpace(work);
  return 0;
}
