#pragma once
// The suite's web pages load jQuery 1.2.6 from a fixed subfolder of the
// application folder; the utility module keeps a copy of the published
// library to write there. The library is not part of this tree: a build
// carries it only when configured with VANTORIM_JQUERY_FILE (see the README).
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace vt {

// The file's name and the subfolder of the application folder it goes to.
inline constexpr std::string_view kJQueryFileName = "jquery-1.2.6.min.js";
inline constexpr std::string_view kJQueryFolder = "js";

// The library's bytes as this build carries them; std::nullopt in a build
// configured without the file.
std::optional<std::string_view> embeddedJQueryCopy();

// Raised when the file is missing and the build carries no copy to write.
struct JQueryCopyMissing : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The work of verificaArquivoJQuery on a given application folder (a Windows
// path with its trailing backslash): creates <folder>js\ when missing and
// writes the copy as <folder>js\jquery-1.2.6.min.js when that file is
// missing; an existing file is left as it is. Without a copy, a missing file
// raises JQueryCopyMissing before anything is created. A refused write
// raises the platform's error (OsError).
void writeJQueryCopy(std::string_view applicationFolder, std::optional<std::string_view> copy);

} // namespace vt
