#pragma once
// A small plain-HTTP client for the downloads: a HEAD request that tells
// whether a file is there and how large it is, and a GET request whose body
// goes straight to a file on disk as it arrives, so a package of any size
// passes through without being held in memory.
//
// Redirects are never followed: a 3xx answer is reported with its status.
// No proxy is used, whatever the environment says.
//
// Transport failures (refused or broken connection, time-outs, a body cut
// short, a cancelled transfer, a local file that cannot be written) raise
// HttpError. An answer from the server, whatever its status, is a result: the
// caller decides what a 404 means to it.
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace vt::platform::http {

struct Header {
  std::string name;
  std::string value;
};
using Headers = std::vector<Header>;

// The value of the first header of that name (letter case ignored).
std::optional<std::string> findHeader(const Headers& headers, std::string_view name);

struct Timeouts {
  // Time allowed to open the connection.
  std::chrono::milliseconds connect{15000};
  // Longest time without a single byte from the server, before the answer's
  // headers and between pieces of the body. Checked about once a second, so
  // a stall is noticed up to a second late.
  std::chrono::milliseconds stall{30000};
};

struct HeadResult {
  int status = 0;
  std::string reason;                        // the status line's reason phrase ("Not Found")
  std::optional<std::int64_t> contentLength; // absent when the server sends none
  Headers headers;                           // the answer's headers, in order
};

struct GetResult {
  int status = 0;
  std::string reason;
  std::optional<std::int64_t> contentLength;
  Headers headers;
  // Bytes of body written to the file. Only a 2xx answer's body is written;
  // for any other status the file is left empty.
  std::uint64_t bytesWritten = 0;
};

// Called with the bytes received so far and the expected total (-1 when the
// server announced none): once when the answer's headers arrive (0 so far),
// at most a few times a second while the body flows, and once at the end with
// the final count.
using Progress = std::function<void(std::int64_t bytesSoFar, std::int64_t totalOrMinus1)>;
// Asked between pieces of the transfer; true abandons it (HttpError kCancelled).
using Cancelled = std::function<bool()>;

class HttpError : public std::runtime_error {
public:
  enum class Kind {
    kBadUrl,      // not an http:// address this client understands
    kConnect,     // name resolution or connection failed
    kTimeout,     // connect time-out or stall time-out
    kBrokenBody,  // the connection ended before the announced body was complete
    kCancelled,   // the caller's Cancelled answered true
    kLocalFile,   // the target file could not be created or written
    kProtocol,    // anything else the transport reported
  };
  HttpError(Kind kind, const std::string& message) : std::runtime_error(message), kind_(kind) {}
  Kind kind() const { return kind_; }

private:
  Kind kind_;
};

HeadResult head(const std::string& url, const Headers& requestHeaders, const Timeouts& timeouts = {});

// The file a body is written to: created (or emptied) when it is opened and
// held for exclusive writing until it is closed (no sharing on Windows; an
// exclusive lock on POSIX, which the other holders' exclusive locks respect),
// so a caller can hold it from before its HEAD request to the end of the GET.
// Closed by the destructor on every path, which first writes what is still
// collected (so a broken transfer keeps every byte that arrived); close()
// reports a failed write of the rest or a failed close.
class BodyFile {
public:
  explicit BodyFile(const std::filesystem::path& hostFile); // throws HttpError kLocalFile
  ~BodyFile();
  BodyFile(const BodyFile&) = delete;
  BodyFile& operator=(const BodyFile&) = delete;

  // Takes the bytes; false with the system's reason kept in error() when a
  // write to the file failed. The transports hand the body over in pieces of
  // a few KiB; they are collected and written kWriteSize at a time, which
  // costs a sixty-fourth of the system calls.
  bool write(const char* data, std::size_t size);
  void close(); // throws HttpError kLocalFile
  const std::string& error() const { return error_; }
  const std::filesystem::path& path() const { return path_; }

  static constexpr std::size_t kWriteSize = 1024 * 1024;

private:
  bool flush();
  bool writeThrough(const char* data, std::size_t size); // the platform's write of every byte
  void closeHandle();                                    // the platform's close; throws HttpError kLocalFile

  std::filesystem::path path_;
  std::intptr_t handle_ = -1; // the descriptor or HANDLE; -1 once closed
  std::string error_;
  std::unique_ptr<char[]> buffer_;
  std::size_t buffered_ = 0;
};

// Sends the GET request and streams a 2xx answer's body into the open file,
// which the call leaves open; on a failure it keeps whatever arrived. A body
// shorter than the Content-Length the server announced is a failure
// (kBrokenBody), never a short success.
GetResult getToFile(const std::string& url, const Headers& requestHeaders, BodyFile& file,
                    const Progress& progress = {}, const Cancelled& cancelled = {}, const Timeouts& timeouts = {});
// The same into hostFile, created (or emptied) first and closed before the
// call returns, on every path.
GetResult getToFile(const std::string& url, const Headers& requestHeaders, const std::filesystem::path& hostFile,
                    const Progress& progress = {}, const Cancelled& cancelled = {}, const Timeouts& timeouts = {});

// The text of a body that ended before its announced length.
std::string brokenBodyText(std::uint64_t received, std::optional<std::int64_t> announced);

} // namespace vt::platform::http
