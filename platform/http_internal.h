#pragma once
// Pieces the two HTTP implementations share: reading an answer's header
// block, and pacing the progress callback.
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/http.h"

namespace vt::platform::http::detail {

// Status line and headers of one answer, read from raw "Name: value" lines.
struct AnswerHead {
  int status = 0;
  std::string reason;
  Headers headers;
  std::optional<std::int64_t> contentLength;
};

// Feeds one header line (CR LF removed or not). A status line ("HTTP/1.1 200
// OK") starts a new answer, so an interim 1xx answer is replaced by the final one.
void addHeaderLine(AnswerHead& head, std::string_view line);
// A whole CR LF separated block, status line first.
AnswerHead parseHeaderBlock(std::string_view block);

// "Content-Length" as a non-negative number; absent when missing or not a number.
std::optional<std::int64_t> contentLengthOf(const Headers& headers);

// Calls the caller's progress at the start, at most every `interval` while the
// body flows, and once at the end.
class ProgressPacer {
public:
  explicit ProgressPacer(const Progress& progress, std::chrono::milliseconds interval = std::chrono::milliseconds(250))
      : progress_(progress), interval_(interval) {}

  void begin(std::int64_t total);
  void advance(std::int64_t soFar);
  void finish(std::int64_t soFar);
  bool begun() const { return begun_; }

private:
  const Progress& progress_;
  std::chrono::milliseconds interval_;
  std::chrono::steady_clock::time_point last_{};
  std::int64_t total_ = -1;
  bool begun_ = false;
};

// The error texts reach the operator inside the launcher's Portuguese failure
// message, so they are Portuguese too; the transport's own detail follows in
// parentheses for support.
using http::brokenBodyText;
std::string connectText(const std::string& url, const std::string& detail);
std::string connectTimeoutText(const std::string& url, std::chrono::milliseconds timeout);
std::string stallTimeoutText(const std::string& url, std::chrono::milliseconds timeout);
std::string localFileText(const std::string& file, const std::string& detail);
std::string cancelledText();
std::string badUrlText(const std::string& url);

} // namespace vt::platform::http::detail
