#include "platform/http_internal.h"

#include <cctype>
#include <charconv>
#include <cstring>

namespace vt::platform::http {
namespace {

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '\n')) s.remove_suffix(1);
  return s;
}

} // namespace

std::optional<std::string> findHeader(const Headers& headers, std::string_view name) {
  for (const auto& h : headers) {
    if (equalsIgnoringCase(h.name, name)) return h.value;
  }
  return std::nullopt;
}

std::string brokenBodyText(std::uint64_t received, std::optional<std::int64_t> announced) {
  std::string text = "Conexão interrompida durante o download: recebidos " + std::to_string(received) + " bytes";
  if (announced) text += " de " + std::to_string(*announced);
  return text + ".";
}

bool BodyFile::write(const char* data, std::size_t size) {
  if (!buffer_) buffer_.reset(new char[kWriteSize]);
  if (size > kWriteSize - buffered_) {
    if (!flush()) return false;
    // A piece as large as the buffer goes straight to the file.
    if (size >= kWriteSize) return writeThrough(data, size);
  }
  std::memcpy(buffer_.get() + buffered_, data, size);
  buffered_ += size;
  return buffered_ < kWriteSize || flush();
}

bool BodyFile::flush() {
  if (buffered_ == 0) return true;
  const std::size_t n = buffered_;
  buffered_ = 0;
  return writeThrough(buffer_.get(), n);
}

void BodyFile::close() {
  if (handle_ == -1) return;
  if (!flush()) {
    try {
      closeHandle();
    } catch (const HttpError&) {
    }
    const std::u8string name = path_.u8string();
    throw HttpError(HttpError::Kind::kLocalFile,
                    detail::localFileText(std::string(reinterpret_cast<const char*>(name.data()), name.size()), error_));
  }
  closeHandle();
}

GetResult getToFile(const std::string& url, const Headers& requestHeaders, const std::filesystem::path& hostFile,
                    const Progress& progress, const Cancelled& cancelled, const Timeouts& timeouts) {
  BodyFile file(hostFile);
  GetResult result = getToFile(url, requestHeaders, file, progress, cancelled, timeouts);
  file.close();
  return result;
}

namespace detail {

void addHeaderLine(AnswerHead& head, std::string_view line) {
  line = trim(line);
  if (line.empty()) return;
  if (line.size() > 5 && line.substr(0, 5) == "HTTP/") {
    head = AnswerHead{};
    size_t sp = line.find(' ');
    if (sp == std::string_view::npos) return;
    std::string_view rest = line.substr(sp + 1);
    int status = 0;
    auto [p, ec] = std::from_chars(rest.data(), rest.data() + rest.size(), status);
    if (ec == std::errc()) head.status = status;
    std::string_view after(p, static_cast<size_t>(rest.data() + rest.size() - p));
    head.reason = std::string(trim(after));
    return;
  }
  size_t colon = line.find(':');
  if (colon == std::string_view::npos) return;
  head.headers.push_back({std::string(trim(line.substr(0, colon))), std::string(trim(line.substr(colon + 1)))});
  head.contentLength = contentLengthOf(head.headers);
}

AnswerHead parseHeaderBlock(std::string_view block) {
  AnswerHead head;
  size_t start = 0;
  while (start < block.size()) {
    size_t end = block.find('\n', start);
    if (end == std::string_view::npos) end = block.size();
    addHeaderLine(head, block.substr(start, end - start));
    start = end + 1;
  }
  return head;
}

std::optional<std::int64_t> contentLengthOf(const Headers& headers) {
  auto value = findHeader(headers, "Content-Length");
  if (!value) return std::nullopt;
  std::string_view v = trim(*value);
  std::int64_t n = 0;
  auto [p, ec] = std::from_chars(v.data(), v.data() + v.size(), n);
  if (ec != std::errc() || p != v.data() + v.size() || n < 0) return std::nullopt;
  return n;
}

void ProgressPacer::begin(std::int64_t total) {
  if (begun_) return;
  begun_ = true;
  total_ = total;
  last_ = std::chrono::steady_clock::now();
  if (progress_) progress_(0, total_);
}

void ProgressPacer::advance(std::int64_t soFar) {
  if (!progress_ || !begun_) return;
  auto now = std::chrono::steady_clock::now();
  if (now - last_ < interval_) return;
  last_ = now;
  progress_(soFar, total_);
}

void ProgressPacer::finish(std::int64_t soFar) {
  if (!begun_) begin(-1);
  if (progress_) progress_(soFar, total_);
}

std::string connectText(const std::string& url, const std::string& detail) {
  return "Não foi possível conectar ao servidor de " + url + " (" + detail + ").";
}

std::string connectTimeoutText(const std::string& url, std::chrono::milliseconds timeout) {
  return "Tempo esgotado ao conectar ao servidor de " + url + " (" + std::to_string(timeout.count()) + " ms).";
}

std::string stallTimeoutText(const std::string& url, std::chrono::milliseconds timeout) {
  return "O servidor de " + url + " parou de responder (" + std::to_string(timeout.count()) + " ms sem dados).";
}

std::string localFileText(const std::string& file, const std::string& detail) {
  return "Não foi possível gravar o arquivo " + file + " (" + detail + ").";
}

std::string cancelledText() { return "Download cancelado."; }

std::string badUrlText(const std::string& url) { return "Endereço inválido para download: " + url; }

} // namespace detail
} // namespace vt::platform::http
