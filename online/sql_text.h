#pragma once
// Reading SQL text the way the server does, as far as the session needs it:
// quoted texts ('...', "...", `...`) and comments (-- , #, /* */) are passed
// over whole, so a ";" or a ":name" inside them means nothing.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vt::online_detail {

// A statement with named parameters (":vp1") turned into the client library's
// placeholders ("?"), and the parameter names in placeholder order (a name
// used twice appears twice). ":=" is the assignment operator, not a parameter.
struct ParameterisedStatement {
  std::string text;
  std::vector<std::string> parameters;
};
ParameterisedStatement toPlaceholders(std::string_view sql);

// The statements of a script, each ended by ";" (the ";" left out, blanks
// around trimmed); text after the last ";" is a statement of its own. Parts
// with nothing but blanks and comments are dropped. nullopt when a quoted
// text or a comment is still open at the end of the script.
std::optional<std::vector<std::string>> splitScript(std::string_view script);

} // namespace vt::online_detail
