#pragma once
// The test HTTP server (tests/support/http_server.py) as a suite sees it. A
// suite that uses it is declared with `FIXTURES http_server`; CTest then starts
// the server before the suite and stops it after. Each test should put its
// files under a folder of its own: suites run in parallel against one server.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vt::test {

struct RecordedRequest {
  std::string method;
  std::string path;
  std::vector<std::pair<std::string, std::string>> headers;

  // First header of that name, letter case ignored; empty when absent.
  std::string header(std::string_view name) const;
  bool hasHeader(std::string_view name) const;
};

class HttpTestServer {
public:
  // Finds the running server; throws when the fixture did not start one.
  HttpTestServer();

  int port() const { return port_; }
  // "http://127.0.0.1:<port>/" + path (path without a leading slash).
  std::string url(std::string_view path = "") const;

  // Writes a file under the document root ('/' separated relative path).
  void put(std::string_view relative, std::string_view bytes) const;
  std::filesystem::path docRoot() const { return stateDir_ / "docroot"; }

  // Requests the server received for a URL path ("/a/b.zip"), oldest first.
  std::vector<RecordedRequest> requestsTo(std::string_view path) const;
  // Every request whose path begins with the prefix ("/<folder>/"), oldest first.
  std::vector<RecordedRequest> requestsUnder(std::string_view prefix) const;

  // The bytes /_/stream/<n> delivers from `offset` on.
  static std::string streamBytes(std::uint64_t offset, std::size_t count);
  // A folder name unique to the running test (suite, test name, process).
  static std::string uniqueFolder();

private:
  std::filesystem::path stateDir_;
  int port_ = 0;
};

} // namespace vt::test
