#include <winsock2.h>
#include <windows.h>
#include <winhttp.h>

#include <algorithm>
#include <vector>

#include "platform/encoding.h"
#include "platform/http.h"
#include "platform/http_internal.h"
#include "platform/os_error.h"
#include "platform/scoped_handle_win.h"

namespace vt::platform::http {
namespace {

using Kind = HttpError::Kind;

// Closes a WinHTTP handle on every path.
class Handle {
public:
  explicit Handle(HINTERNET h = nullptr) : h_(h) {}
  ~Handle() {
    if (h_) WinHttpCloseHandle(h_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  void reset(HINTERNET h) {
    if (h_) WinHttpCloseHandle(h_);
    h_ = h;
  }
  HINTERNET get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }

private:
  HINTERNET h_;
};

struct Target {
  std::wstring host;
  INTERNET_PORT port = 80;
  std::wstring pathAndQuery;
};

Target crack(const std::string& url) {
  std::wstring wide = utf8ToWide(url);
  URL_COMPONENTS parts{};
  parts.dwStructSize = sizeof(parts);
  parts.dwSchemeLength = static_cast<DWORD>(-1);
  parts.dwHostNameLength = static_cast<DWORD>(-1);
  parts.dwUrlPathLength = static_cast<DWORD>(-1);
  parts.dwExtraInfoLength = static_cast<DWORD>(-1);
  if (!WinHttpCrackUrl(wide.c_str(), static_cast<DWORD>(wide.size()), 0, &parts) ||
      parts.nScheme != INTERNET_SCHEME_HTTP || parts.dwHostNameLength == 0) {
    throw HttpError(Kind::kBadUrl, detail::badUrlText(url));
  }
  Target t;
  t.host.assign(parts.lpszHostName, parts.dwHostNameLength);
  t.port = parts.nPort;
  if (parts.lpszUrlPath) t.pathAndQuery.assign(parts.lpszUrlPath, parts.dwUrlPathLength);
  if (parts.lpszExtraInfo) t.pathAndQuery.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  if (t.pathAndQuery.empty()) t.pathAndQuery = L"/";
  return t;
}

std::string winHttpDetail(DWORD code) {
  switch (code) {
    case ERROR_WINHTTP_CANNOT_CONNECT: return "conexão recusada";
    case ERROR_WINHTTP_NAME_NOT_RESOLVED: return "nome do servidor não encontrado";
    case ERROR_WINHTTP_CONNECTION_ERROR: return "conexão encerrada pelo servidor";
    case ERROR_WINHTTP_INVALID_SERVER_RESPONSE: return "resposta inválida do servidor";
    case ERROR_WINHTTP_TIMEOUT:
    case ERROR_TIMEOUT:
    case WSAETIMEDOUT: return "tempo esgotado";
    default: return "WinHTTP " + std::to_string(code);
  }
}

// One request from start to end. `answered` tells the error mapping whether
// the failure came before or after the answer's headers.
struct Exchange {
  const std::string& url;
  const Timeouts& timeouts;
  bool answered = false;
  bool connected = false;

  [[noreturn]] void fail(DWORD code, std::uint64_t received, std::optional<std::int64_t> announced) const {
    switch (code) {
      case ERROR_WINHTTP_CANNOT_CONNECT:
      case ERROR_WINHTTP_NAME_NOT_RESOLVED:
        throw HttpError(Kind::kConnect, detail::connectText(url, winHttpDetail(code)));
      case ERROR_WINHTTP_TIMEOUT:
      case ERROR_TIMEOUT:
      case WSAETIMEDOUT:  // what a read that timed out reports under some WinHTTP versions
        if (!connected) throw HttpError(Kind::kTimeout, detail::connectTimeoutText(url, timeouts.connect));
        throw HttpError(Kind::kTimeout, detail::stallTimeoutText(url, timeouts.stall));
      case ERROR_WINHTTP_CONNECTION_ERROR:
        if (answered) throw HttpError(Kind::kBrokenBody, detail::brokenBodyText(received, announced));
        throw HttpError(Kind::kProtocol, detail::connectText(url, winHttpDetail(code)));
      default:
        throw HttpError(Kind::kProtocol, winHttpDetail(code) + " (" + url + ")");
    }
  }
};

struct Opened {
  Handle session, connection, request;
  detail::AnswerHead answer;
};

// Sends the request and reads the answer's status and headers.
void open(Opened& o, Exchange& x, const wchar_t* verb, const Headers& requestHeaders) {
  Target target = crack(x.url);

  // The user agent belongs to the session in WinHTTP; every other header is
  // added to the request as the caller wrote it.
  std::wstring agent;
  std::wstring extra;
  for (const auto& h : requestHeaders) {
    if (_stricmp(h.name.c_str(), "User-Agent") == 0) {
      agent = utf8ToWide(h.value);
    } else {
      extra += utf8ToWide(h.name + ": " + h.value + "\r\n");
    }
  }
  o.session.reset(WinHttpOpen(agent.empty() ? nullptr : agent.c_str(), WINHTTP_ACCESS_TYPE_NO_PROXY,
                                      WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
  if (!o.session) x.fail(GetLastError(), 0, std::nullopt);
  int connectMs = static_cast<int>(x.timeouts.connect.count());
  int stallMs = static_cast<int>(x.timeouts.stall.count());
  WinHttpSetTimeouts(o.session.get(), connectMs, connectMs, stallMs, stallMs);
  DWORD never = WINHTTP_OPTION_REDIRECT_POLICY_NEVER;
  WinHttpSetOption(o.session.get(), WINHTTP_OPTION_REDIRECT_POLICY, &never, sizeof(never));

  o.connection.reset(WinHttpConnect(o.session.get(), target.host.c_str(), target.port, 0));
  if (!o.connection) x.fail(GetLastError(), 0, std::nullopt);
  o.request.reset(WinHttpOpenRequest(o.connection.get(), verb, target.pathAndQuery.c_str(), nullptr,
                                             WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES, 0));
  if (!o.request) x.fail(GetLastError(), 0, std::nullopt);
  // The wait for the answer's headers has its own time-out (90 s unless set).
  DWORD headerWait = static_cast<DWORD>(stallMs);
  WinHttpSetOption(o.request.get(), WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &headerWait, sizeof(headerWait));
  WinHttpSetOption(o.request.get(), WINHTTP_OPTION_RECEIVE_TIMEOUT, &headerWait, sizeof(headerWait));
  DWORD disable = WINHTTP_DISABLE_REDIRECTS;
  WinHttpSetOption(o.request.get(), WINHTTP_OPTION_DISABLE_FEATURE, &disable, sizeof(disable));

  if (!extra.empty() && !WinHttpAddRequestHeaders(o.request.get(), extra.c_str(), static_cast<DWORD>(extra.size()),
                                                  WINHTTP_ADDREQ_FLAG_ADD | WINHTTP_ADDREQ_FLAG_REPLACE)) {
    x.fail(GetLastError(), 0, std::nullopt);
  }
  if (!WinHttpSendRequest(o.request.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0)) {
    x.fail(GetLastError(), 0, std::nullopt);
  }
  x.connected = true;
  if (!WinHttpReceiveResponse(o.request.get(), nullptr)) x.fail(GetLastError(), 0, std::nullopt);
  x.answered = true;

  DWORD size = 0;
  WinHttpQueryHeaders(o.request.get(), WINHTTP_QUERY_RAW_HEADERS_CRLF, WINHTTP_HEADER_NAME_BY_INDEX, nullptr, &size,
                      WINHTTP_NO_HEADER_INDEX);
  std::wstring raw(size / sizeof(wchar_t) + 1, L'\0');
  if (!WinHttpQueryHeaders(o.request.get(), WINHTTP_QUERY_RAW_HEADERS_CRLF, WINHTTP_HEADER_NAME_BY_INDEX, raw.data(),
                           &size, WINHTTP_NO_HEADER_INDEX)) {
    x.fail(GetLastError(), 0, std::nullopt);
  }
  raw.resize(size / sizeof(wchar_t));
  o.answer = detail::parseHeaderBlock(wideToUtf8(raw));
}

} // namespace

// No sharing: no other process may open the file while it is held.
BodyFile::BodyFile(const std::filesystem::path& hostFile) : path_(hostFile) {
  HANDLE h = CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    throw HttpError(Kind::kLocalFile,
                    detail::localFileText(wideToUtf8(path_.wstring()), OsError::messageFor(GetLastError())));
  }
  handle_ = reinterpret_cast<std::intptr_t>(h);
}

BodyFile::~BodyFile() {
  if (handle_ != -1) {
    flush();
    ScopedHandle(reinterpret_cast<HANDLE>(handle_)).close();
  }
}

bool BodyFile::writeThrough(const char* data, std::size_t size) {
  while (size > 0) {
    DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30)), done = 0;
    if (!WriteFile(reinterpret_cast<HANDLE>(handle_), data, chunk, &done, nullptr)) {
      error_ = OsError::messageFor(GetLastError());
      return false;
    }
    data += done;
    size -= done;
  }
  return true;
}

void BodyFile::closeHandle() {
  ScopedHandle h(reinterpret_cast<HANDLE>(handle_));
  handle_ = -1;
  if (!h.close()) {
    throw HttpError(Kind::kLocalFile,
                    detail::localFileText(wideToUtf8(path_.wstring()), OsError::messageFor(GetLastError())));
  }
}

HeadResult head(const std::string& url, const Headers& requestHeaders, const Timeouts& timeouts) {
  Exchange x{url, timeouts};
  Opened o;
  open(o, x, L"HEAD", requestHeaders);
  return HeadResult{o.answer.status, o.answer.reason, o.answer.contentLength, std::move(o.answer.headers)};
}

GetResult getToFile(const std::string& url, const Headers& requestHeaders, BodyFile& file, const Progress& progress,
                    const Cancelled& cancelled, const Timeouts& timeouts) {
  Exchange x{url, timeouts};
  Opened o;
  open(o, x, L"GET", requestHeaders);

  GetResult result;
  result.status = o.answer.status;
  result.reason = o.answer.reason;
  result.contentLength = o.answer.contentLength;
  bool keep = result.status >= 200 && result.status < 300;
  detail::ProgressPacer pacer(progress);
  if (keep) pacer.begin(result.contentLength.value_or(-1));

  std::vector<char> buffer(256 * 1024);
  for (;;) {
    if (cancelled && cancelled()) throw HttpError(Kind::kCancelled, detail::cancelledText());
    DWORD read = 0;
    if (!WinHttpReadData(o.request.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &read)) {
      x.fail(GetLastError(), result.bytesWritten, result.contentLength);
    }
    if (read == 0) break;
    if (!keep) continue; // an error page is not the file
    if (!file.write(buffer.data(), read)) {
      throw HttpError(Kind::kLocalFile, detail::localFileText(wideToUtf8(file.path().wstring()), file.error()));
    }
    result.bytesWritten += read;
    pacer.advance(static_cast<std::int64_t>(result.bytesWritten));
  }
  if (keep && result.contentLength && result.bytesWritten != static_cast<std::uint64_t>(*result.contentLength)) {
    throw HttpError(Kind::kBrokenBody, detail::brokenBodyText(result.bytesWritten, result.contentLength));
  }
  if (keep) pacer.finish(static_cast<std::int64_t>(result.bytesWritten));
  result.headers = std::move(o.answer.headers);
  return result;
}

} // namespace vt::platform::http
