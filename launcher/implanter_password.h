#pragma once
// The implanter password, which the first-run registration asks for. The
// program holds only a salted digest of it (set at build time, see
// VANTORIM_IMPLANTER_PASSWORD), never the password's text.
#include <string_view>

namespace vt {

// True when the typed text, lower-cased, is the implanter password. A blank
// or any other extra character makes it another text.
bool isImplanterPassword(std::string_view typed);

} // namespace vt
