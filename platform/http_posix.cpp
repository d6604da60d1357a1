#include <curl/curl.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <memory>
#include <mutex>

#include "platform/http.h"
#include "platform/http_internal.h"

namespace vt::platform::http {
namespace {

using detail::AnswerHead;

void initCurlOnce() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct EasyDeleter {
  void operator()(CURL* c) const { curl_easy_cleanup(c); }
};
struct ListDeleter {
  void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};

// State shared with the transfer library's callbacks.
struct Transfer {
  CURL* curl = nullptr;
  std::chrono::milliseconds stall{0};
  // The last sign of life from the server; unset until the connection is up.
  std::optional<std::chrono::steady_clock::time_point> lastByte;
  bool stalled = false;
  AnswerHead answer;
  BodyFile* file = nullptr;
  detail::ProgressPacer* pacer = nullptr;
  const Cancelled* cancelled = nullptr;
  std::uint64_t written = 0;
  bool headersDone = false;
  bool cancelledByCaller = false;
  bool writeFailed = false;

  bool keepsBody() const { return answer.status >= 200 && answer.status < 300; }
};

size_t onHeader(char* data, size_t size, size_t count, void* user) {
  auto* t = static_cast<Transfer*>(user);
  t->lastByte = std::chrono::steady_clock::now();
  std::string_view line(data, size * count);
  if (line == "\r\n" || line == "\n") {
    // The end of one answer's headers; a 1xx answer is followed by another.
    if (t->answer.status >= 200 && !t->headersDone) {
      t->headersDone = true;
      if (t->pacer && t->keepsBody()) t->pacer->begin(t->answer.contentLength.value_or(-1));
    }
  } else {
    detail::addHeaderLine(t->answer, line);
  }
  return size * count;
}

size_t onBody(char* data, size_t size, size_t count, void* user) {
  auto* t = static_cast<Transfer*>(user);
  t->lastByte = std::chrono::steady_clock::now();
  size_t n = size * count;
  if (t->cancelled && *t->cancelled && (*t->cancelled)()) {
    t->cancelledByCaller = true;
    return 0;
  }
  if (!t->file || !t->keepsBody()) return n; // an error page is not the file
  if (!t->file->write(data, n)) {
    t->writeFailed = true;
    return 0;
  }
  t->written += n;
  if (t->pacer) t->pacer->advance(static_cast<std::int64_t>(t->written));
  return n;
}

// Called by the library at least once a second, also while nothing arrives.
// The stall time-out is kept here rather than with the library's low-speed
// limit, which averages over several seconds and would answer late.
int onTick(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  auto* t = static_cast<Transfer*>(user);
  if (t->cancelled && *t->cancelled && (*t->cancelled)()) {
    t->cancelledByCaller = true;
    return 1;
  }
  auto now = std::chrono::steady_clock::now();
  if (!t->lastByte) {
    curl_off_t connected = 0;
    curl_easy_getinfo(t->curl, CURLINFO_CONNECT_TIME_T, &connected);
    if (connected > 0) t->lastByte = now;
    return 0;
  }
  if (now - *t->lastByte > t->stall) {
    t->stalled = true;
    return 1;
  }
  return 0;
}

[[noreturn]] void fail(CURLcode code, CURL* curl, const Transfer& t, const std::string& url, const Timeouts& timeouts,
                       const std::filesystem::path* file, const char* detailText) {
  using Kind = HttpError::Kind;
  std::string detail = detailText[0] ? detailText : curl_easy_strerror(code);
  if (t.cancelledByCaller) throw HttpError(Kind::kCancelled, detail::cancelledText());
  if (t.stalled) throw HttpError(Kind::kTimeout, detail::stallTimeoutText(url, timeouts.stall));
  if (t.writeFailed && file) throw HttpError(Kind::kLocalFile, detail::localFileText(file->string(), t.file->error()));
  switch (code) {
    case CURLE_UNSUPPORTED_PROTOCOL:
    case CURLE_URL_MALFORMAT:
      throw HttpError(Kind::kBadUrl, detail::badUrlText(url));
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_CONNECT:
      throw HttpError(Kind::kConnect, detail::connectText(url, detail));
    case CURLE_OPERATION_TIMEDOUT: {
      curl_off_t connected = 0;
      curl_easy_getinfo(curl, CURLINFO_CONNECT_TIME_T, &connected);
      if (connected == 0) throw HttpError(Kind::kTimeout, detail::connectTimeoutText(url, timeouts.connect));
      throw HttpError(Kind::kTimeout, detail::stallTimeoutText(url, timeouts.stall));
    }
    case CURLE_PARTIAL_FILE:
    case CURLE_RECV_ERROR:
      if (t.headersDone) throw HttpError(Kind::kBrokenBody, detail::brokenBodyText(t.written, t.answer.contentLength));
      throw HttpError(Kind::kProtocol, detail);
    default:
      throw HttpError(Kind::kProtocol, detail + " (" + url + ")");
  }
}

Transfer perform(const std::string& url, const Headers& requestHeaders, const Timeouts& timeouts, bool headOnly,
                 BodyFile* file, const std::filesystem::path* filePath, detail::ProgressPacer* pacer,
                 const Cancelled* cancelled) {
  initCurlOnce();
  std::unique_ptr<CURL, EasyDeleter> curl(curl_easy_init());
  if (!curl) throw HttpError(HttpError::Kind::kProtocol, "curl_easy_init");
  CURL* c = curl.get();

  std::unique_ptr<curl_slist, ListDeleter> list;
  for (const auto& h : requestHeaders) {
    std::string line = h.name + ": " + h.value;
    curl_slist* grown = curl_slist_append(list.get(), line.c_str());
    if (!grown) throw HttpError(HttpError::Kind::kProtocol, "curl_slist_append");
    list.release();
    list.reset(grown);
  }

  Transfer t;
  t.curl = c;
  t.stall = timeouts.stall;
  t.file = file;
  t.pacer = pacer;
  t.cancelled = cancelled;
  char errorText[CURL_ERROR_SIZE] = {};

  curl_easy_setopt(c, CURLOPT_URL, url.c_str());
  curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http");
  curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 0L);
  curl_easy_setopt(c, CURLOPT_PROXY, "");
  curl_easy_setopt(c, CURLOPT_NOPROXY, "*");
  curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(c, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_1);
  curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(timeouts.connect.count()));
  curl_easy_setopt(c, CURLOPT_ERRORBUFFER, errorText);
  curl_easy_setopt(c, CURLOPT_HTTPHEADER, list.get());
  curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, onHeader);
  curl_easy_setopt(c, CURLOPT_HEADERDATA, &t);
  curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, onBody);
  curl_easy_setopt(c, CURLOPT_WRITEDATA, &t);
  curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, onTick);
  curl_easy_setopt(c, CURLOPT_XFERINFODATA, &t);
  curl_easy_setopt(c, CURLOPT_BUFFERSIZE, 256L * 1024L);
  if (headOnly) curl_easy_setopt(c, CURLOPT_NOBODY, 1L);

  CURLcode code = curl_easy_perform(c);
  if (code != CURLE_OK) fail(code, c, t, url, timeouts, filePath, errorText);

  // The library checks the length of a kept body itself; this guards the rule
  // that a short body never counts as a download, whatever the library does.
  if (!headOnly && t.keepsBody() && t.answer.contentLength &&
      t.written != static_cast<std::uint64_t>(*t.answer.contentLength)) {
    throw HttpError(HttpError::Kind::kBrokenBody, detail::brokenBodyText(t.written, t.answer.contentLength));
  }
  return t;
}

} // namespace

BodyFile::BodyFile(const std::filesystem::path& hostFile) : path_(hostFile) {
  int fd = ::open(hostFile.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) throw HttpError(HttpError::Kind::kLocalFile, detail::localFileText(path_.string(), std::strerror(errno)));
  // The lock comes before the emptying, so a file another holder keeps
  // locked is neither emptied nor written.
  if (flock(fd, LOCK_EX | LOCK_NB) != 0 || ftruncate(fd, 0) != 0) {
    int err = errno;
    ::close(fd);
    throw HttpError(HttpError::Kind::kLocalFile, detail::localFileText(path_.string(), std::strerror(err)));
  }
  handle_ = fd;
}

BodyFile::~BodyFile() {
  if (handle_ >= 0) {
    flush();
    ::close(static_cast<int>(handle_));
  }
}

bool BodyFile::writeThrough(const char* data, size_t size) {
  while (size > 0) {
    ssize_t n = ::write(static_cast<int>(handle_), data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      error_ = std::strerror(errno);
      return false;
    }
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

void BodyFile::closeHandle() {
  int fd = static_cast<int>(handle_);
  handle_ = -1;
  if (fd >= 0 && ::close(fd) != 0) {
    throw HttpError(HttpError::Kind::kLocalFile, detail::localFileText(path_.string(), std::strerror(errno)));
  }
}

HeadResult head(const std::string& url, const Headers& requestHeaders, const Timeouts& timeouts) {
  Transfer t = perform(url, requestHeaders, timeouts, true, nullptr, nullptr, nullptr, nullptr);
  return HeadResult{t.answer.status, t.answer.reason, t.answer.contentLength, std::move(t.answer.headers)};
}

GetResult getToFile(const std::string& url, const Headers& requestHeaders, BodyFile& file, const Progress& progress,
                    const Cancelled& cancelled, const Timeouts& timeouts) {
  detail::ProgressPacer pacer(progress);
  Transfer t = perform(url, requestHeaders, timeouts, false, &file, &file.path(), &pacer, &cancelled);
  if (t.keepsBody()) pacer.finish(static_cast<std::int64_t>(t.written));
  GetResult result;
  result.status = t.answer.status;
  result.reason = t.answer.reason;
  result.contentLength = t.answer.contentLength;
  result.headers = std::move(t.answer.headers);
  result.bytesWritten = t.written;
  return result;
}

} // namespace vt::platform::http
