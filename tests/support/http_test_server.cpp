#include "tests/support/http_test_server.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <stdexcept>

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

#ifndef VT_HTTP_SERVER_STATE_DIR
#error "VT_HTTP_SERVER_STATE_DIR names the folder where the fixture keeps the server's port"
#endif

namespace vt::test {
namespace fs = std::filesystem;

namespace {

bool sameIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

// The build tree is a Linux folder; under Wine the same folder is on drive Z:.
fs::path stateDirectory() {
  std::string dir = VT_HTTP_SERVER_STATE_DIR;
#ifdef _WIN32
  if (!dir.empty() && dir.front() == '/') {
    std::replace(dir.begin(), dir.end(), '/', '\\');
    dir = "Z:" + dir;
  }
#endif
  return fs::path(dir);
}

constexpr std::uint64_t kPeriod = 1048573;

const std::string& pattern() {
  static const std::string bytes = [] {
    std::string p(kPeriod, '\0');
    std::uint32_t x = 0x12345678;
    for (auto& c : p) {
      x = x * 1664525u + 1013904223u;
      c = static_cast<char>(x >> 24);
    }
    return p;
  }();
  return bytes;
}

} // namespace

std::string RecordedRequest::header(std::string_view name) const {
  for (const auto& [k, v] : headers) {
    if (sameIgnoringCase(k, name)) return v;
  }
  return {};
}

bool RecordedRequest::hasHeader(std::string_view name) const {
  return std::any_of(headers.begin(), headers.end(), [&](const auto& h) { return sameIgnoringCase(h.first, name); });
}

HttpTestServer::HttpTestServer() : stateDir_(stateDirectory()) {
  std::ifstream in(stateDir_ / "port");
  if (!(in >> port_) || port_ <= 0) {
    throw std::runtime_error("the test HTTP server is not running (no port file in " + stateDir_.string() +
                             "); declare the suite with FIXTURES http_server");
  }
}

std::string HttpTestServer::url(std::string_view path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + "/" + std::string(path);
}

void HttpTestServer::put(std::string_view relative, std::string_view bytes) const {
  fs::path p = docRoot() / fs::path(std::string(relative));
  fs::create_directories(p.parent_path());
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + p.string());
}

std::vector<RecordedRequest> HttpTestServer::requestsTo(std::string_view path) const {
  std::vector<RecordedRequest> found;
  for (auto& r : requestsUnder(path))
    if (r.path == path) found.push_back(std::move(r));
  return found;
}

std::vector<RecordedRequest> HttpTestServer::requestsUnder(std::string_view prefix) const {
  // The server writes each request's line before it answers it.
  std::ifstream in(stateDir_ / "requests.jsonl", std::ios::binary);
  std::vector<RecordedRequest> found;
  std::string line;
  while (std::getline(in, line)) {
    auto j = nlohmann::json::parse(line, nullptr, false);
    if (j.is_discarded() || j.value("path", "").rfind(prefix, 0) != 0) continue;
    RecordedRequest r;
    r.method = j.value("method", "");
    r.path = j.value("path", "");
    for (const auto& h : j["headers"]) r.headers.emplace_back(h[0].get<std::string>(), h[1].get<std::string>());
    found.push_back(std::move(r));
  }
  return found;
}

std::string HttpTestServer::streamBytes(std::uint64_t offset, std::size_t count) {
  const std::string& p = pattern();
  std::string out;
  out.reserve(count);
  while (out.size() < count) {
    std::size_t start = static_cast<std::size_t>((offset + out.size()) % kPeriod);
    std::size_t n = std::min(count - out.size(), static_cast<std::size_t>(kPeriod) - start);
    out.append(p, start, n);
  }
  return out;
}

std::string HttpTestServer::uniqueFolder() {
  const auto* info = testing::UnitTest::GetInstance()->current_test_info();
  std::string name = info ? std::string(info->test_suite_name()) + "_" + info->name() : "test";
  for (auto& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
#ifdef _WIN32
  int pid = _getpid();
#else
  int pid = static_cast<int>(getpid());
#endif
  return name + "_" + std::to_string(pid);
}

} // namespace vt::test
