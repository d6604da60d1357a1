#pragma once
// How the launcher asks the maker's download web server for a file: the two
// forms of address and the request headers every download carries.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/http.h"

namespace vt {

// The headers of every download request (no proxy, no authentication).
platform::http::Headers downloadRequestHeaders();

// The report form (handle text and folder both non-empty):
//   base + "nuvem/reports/" + handle + "/" + folder + "/" + file
// otherwise the path form: base + folder + file.
std::string downloadAddress(std::string_view serverBase, std::string_view fileName, std::string_view handleText,
                            std::string_view folder);

// The notices of a download that failed: the file is not on the server, or
// the transfer went wrong (error: the client's text).
std::string downloadNotFoundMessage(std::string_view fileName);
std::string downloadErrorMessage(std::string_view fileName, std::string_view error);

// The two requests of a download, with the download headers. An answer with
// an error status raises its text ("HTTP/1.1 404 Not Found"), as transport
// failures raise theirs; the GET streams the body into the local file, which
// the caller holds open from before the HEAD request. A body shorter than the
// length the HEAD request announced raises too, whether or not the GET's own
// answer carried a length: a short file is never a download.
platform::http::HeadResult headForDownload(const std::string& address);
void getForDownload(const std::string& address, platform::http::BodyFile& localFile, std::int64_t announcedByHead,
                    const platform::http::Progress& progress = {});

} // namespace vt
