#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sstream>

#include "platform/http.h"
#include "tests/support/http_test_server.h"
#include "tests/support/temp_drive.h"

namespace vt::platform::http {
namespace {

using test::HttpTestServer;
using Kind = HttpError::Kind;

// The headers the launcher's downloads send.
const Headers kDownloadHeaders = {
    {"Accept", "text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8"},
    {"User-Agent", "Mozilla/3.0 (compatible; Vantorim transport test)"},
};

std::string readHost(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string sampleBytes(size_t n) {
  std::string s(n, '\0');
  for (size_t i = 0; i < n; ++i) s[i] = static_cast<char>((i * 131 + i / 7) & 0xFF);
  return s;
}

class HttpClient : public testing::Test {
protected:
  HttpTestServer server;
  test::TempDrive drive;
  std::string folder = HttpTestServer::uniqueFolder();

  // Puts a file on the server and returns its URL path (without the leading slash).
  std::string publish(const std::string& name, const std::string& bytes) {
    std::string rel = folder + "/" + name;
    server.put(rel, bytes);
    return rel;
  }
  std::string lastFailure;
  Kind failureOf(const std::function<void()>& call) {
    try {
      call();
    } catch (const HttpError& e) {
      EXPECT_FALSE(std::string(e.what()).empty());
      lastFailure = e.what();
      return e.kind();
    }
    ADD_FAILURE() << "no HttpError";
    return Kind::kProtocol;
  }
};

TEST_F(HttpClient, HeadReportsStatusLengthAndHeadersWithoutFollowingRedirects) {
  std::string rel = publish("Caspelo.zip", sampleBytes(12345));
  struct Case {
    std::string path;
    int status;
    std::optional<std::int64_t> length;
  } cases[] = {
      {rel, 200, 12345},
      {"_/no-length/" + rel, 200, std::nullopt},
      {folder + "/missing.zip", 404, 10},  // the short error page's length
      {"_/redirect/" + rel, 302, 6},
      {"_/stream/5368709120", 200, 5368709120LL},  // beyond 32 bits
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    HeadResult r = head(server.url(c.path), kDownloadHeaders);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.contentLength, c.length);
  }
  HeadResult redirect = head(server.url("_/redirect/" + rel), kDownloadHeaders);
  EXPECT_EQ(findHeader(redirect.headers, "location"), std::optional<std::string>("/" + rel));
  EXPECT_EQ(head(server.url(folder + "/missing.zip"), kDownloadHeaders).reason, "Not Found");
  // Only the HEAD request of the first case reached the redirect's target.
  EXPECT_EQ(server.requestsTo("/" + rel).size(), 1u);
}

TEST_F(HttpClient, RequestsCarryTheCallersHeaders) {
  std::string rel = publish("vendas.fr3", "layout");
  head(server.url(rel), kDownloadHeaders);
  getToFile(server.url(rel), kDownloadHeaders, drive.host("vendas.fr3"));
  auto seen = server.requestsTo("/" + rel);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].method, "HEAD");
  EXPECT_EQ(seen[1].method, "GET");
  for (const auto& r : seen) {
    EXPECT_EQ(r.header("Accept"), kDownloadHeaders[0].value);
    EXPECT_EQ(r.header("User-Agent"), kDownloadHeaders[1].value);
    EXPECT_FALSE(r.hasHeader("Range"));
    EXPECT_FALSE(r.hasHeader("Authorization"));
  }
}

TEST_F(HttpClient, GetStreamsTheBodyToTheFileWithPacedProgress) {
  std::string body = sampleBytes(3 * 1024 * 1024 + 17);
  std::string rel = publish("Sistema.zip", body);
  std::vector<std::pair<std::int64_t, std::int64_t>> events;
  auto started = std::chrono::steady_clock::now();
  // Eight pieces 150 ms apart: the transfer lasts about a second.
  GetResult r = getToFile(server.url("_/slow/150/" + rel), kDownloadHeaders, drive.host("Sistema.zip"),
                          [&](std::int64_t soFar, std::int64_t total) { events.emplace_back(soFar, total); });
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

  EXPECT_EQ(r.status, 200);
  EXPECT_EQ(r.bytesWritten, body.size());
  EXPECT_EQ(readHost(drive.host("Sistema.zip")), body);

  ASSERT_GE(events.size(), 3u);  // the start, at least one while flowing, the end
  const auto size = static_cast<std::int64_t>(body.size());
  EXPECT_EQ(events.front().first, 0);
  EXPECT_EQ(events.front().second, size);
  EXPECT_EQ(events.back().first, static_cast<std::int64_t>(body.size()));
  for (size_t i = 1; i < events.size(); ++i) {
    EXPECT_GE(events[i].first, events[i - 1].first);
    EXPECT_EQ(events[i].second, static_cast<std::int64_t>(body.size()));
  }
  EXPECT_LE(events.size(), 2 + static_cast<size_t>(seconds * 4) + 1) << "progress is paced, not per piece";
}

TEST_F(HttpClient, GetOfALargeGeneratedStreamIsByteExact) {
  const std::uint64_t size = 48ull * 1024 * 1024 + 5;
  std::int64_t lastSeen = -1;
  GetResult r = getToFile(server.url("_/stream/" + std::to_string(size)), kDownloadHeaders, drive.host("big.bin"),
                          [&](std::int64_t soFar, std::int64_t) { lastSeen = soFar; });
  EXPECT_EQ(r.status, 200);
  EXPECT_EQ(r.bytesWritten, size);
  EXPECT_EQ(lastSeen, static_cast<std::int64_t>(size));
  std::ifstream in(drive.host("big.bin"), std::ios::binary);
  std::string piece(1 << 20, '\0');
  std::uint64_t offset = 0;
  while (offset < size) {
    size_t n = static_cast<size_t>(std::min<std::uint64_t>(piece.size(), size - offset));
    in.read(piece.data(), static_cast<std::streamsize>(n));
    ASSERT_EQ(static_cast<size_t>(in.gcount()), n);
    ASSERT_EQ(piece.substr(0, n), HttpTestServer::streamBytes(offset, n)) << "at offset " << offset;
    offset += n;
  }
  EXPECT_EQ(in.peek(), std::char_traits<char>::eof());
}

TEST_F(HttpClient, AnErrorStatusOrRedirectLeavesTheFileEmpty) {
  std::string rel = publish("Caspelo.zip", "zip bytes");
  for (const std::string& path : {folder + "/missing.zip", "_/redirect/" + rel, std::string("_/status/500")}) {
    SCOPED_TRACE(path);
    drive.write("out.zip", "an older copy");
    GetResult r = getToFile(server.url(path), kDownloadHeaders, drive.host("out.zip"));
    EXPECT_NE(r.status, 200);
    EXPECT_EQ(r.bytesWritten, 0u);
    EXPECT_EQ(drive.read("out.zip"), "");
  }
  EXPECT_TRUE(server.requestsTo("/" + rel).empty()) << "the redirect was followed";
}

TEST_F(HttpClient, ABodyCutShortIsAFailureThatKeepsWhatArrived) {
  std::string body = sampleBytes(200000);
  std::string rel = publish("Cortado.zip", body);
  EXPECT_EQ(failureOf([&] { getToFile(server.url("_/cut/" + rel), kDownloadHeaders, drive.host("Cortado.zip")); }),
            Kind::kBrokenBody);
  EXPECT_EQ(readHost(drive.host("Cortado.zip")), body.substr(0, body.size() / 2));
}

TEST_F(HttpClient, AStalledServerTimesOut) {
  std::string rel = publish("Parado.zip", sampleBytes(100000));
  Timeouts quick;
  quick.stall = std::chrono::milliseconds(1000);
  auto started = std::chrono::steady_clock::now();
  EXPECT_EQ(failureOf([&] {
              getToFile(server.url("_/stall/20/" + rel), kDownloadHeaders, drive.host("Parado.zip"), {}, {}, quick);
            }),
            Kind::kTimeout)
      << lastFailure;
  EXPECT_EQ(failureOf([&] { head(server.url("_/hang/20"), kDownloadHeaders, quick); }), Kind::kTimeout)
      << lastFailure;
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(15));
}

TEST_F(HttpClient, ConnectionAndAddressFailuresAreReported) {
  // Port 1 on loopback: nothing listens there.
  EXPECT_EQ(failureOf([&] { head("http://127.0.0.1:1/x.zip", kDownloadHeaders); }), Kind::kConnect);
  EXPECT_EQ(failureOf([&] { getToFile("http://127.0.0.1:1/x.zip", kDownloadHeaders, drive.host("x.zip")); }),
            Kind::kConnect);
  EXPECT_EQ(failureOf([&] { head("ftp://127.0.0.1/x.zip", kDownloadHeaders); }), Kind::kBadUrl);
}

TEST_F(HttpClient, AFileThatCannotBeCreatedIsALocalFailure) {
  std::string rel = publish("a.zip", "x");
  EXPECT_EQ(failureOf([&] { getToFile(server.url(rel), kDownloadHeaders, drive.host("missing\\folder\\a.zip")); }),
            Kind::kLocalFile);
}

TEST_F(HttpClient, TheCallerCanCancelATransfer) {
  int calls = 0;
  EXPECT_EQ(failureOf([&] {
              getToFile(server.url("_/stream/1073741824"), kDownloadHeaders, drive.host("c.bin"),
                        [&](std::int64_t, std::int64_t) {}, [&] { return ++calls > 3; });
            }),
            Kind::kCancelled);
  EXPECT_LT(std::filesystem::file_size(drive.host("c.bin")), 1073741824u);
}

} // namespace
} // namespace vt::platform::http
