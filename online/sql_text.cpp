#include "online/sql_text.h"

namespace vt::online_detail {
namespace {

bool isIdentifierChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
         static_cast<unsigned char>(c) >= 0x80;
}
bool isIdentifierStart(char c) { return isIdentifierChar(c) && !(c >= '0' && c <= '9'); }
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

// When text[pos] opens a quoted text or a comment, the position just past its
// end (text.size() + 1 when it never closes); otherwise pos itself.
std::size_t skipQuotedOrComment(std::string_view text, std::size_t pos, bool& isComment) {
  const char c = text[pos];
  const std::size_t n = text.size();
  isComment = false;
  if (c == '\'' || c == '"' || c == '`') {
    for (std::size_t k = pos + 1; k < n; ++k) {
      if (c != '`' && text[k] == '\\') {
        ++k;  // the escaped character
      } else if (text[k] == c) {
        if (k + 1 < n && text[k + 1] == c) {
          ++k;  // a doubled quote stands for itself
        } else {
          return k + 1;
        }
      }
    }
    return n + 1;
  }
  const bool dashComment = c == '-' && pos + 1 < n && text[pos + 1] == '-' &&
                           (pos + 2 == n || isBlank(text[pos + 2]) || static_cast<unsigned char>(text[pos + 2]) < 0x20);
  if (c == '#' || dashComment) {
    isComment = true;
    const std::size_t end = text.find('\n', pos);
    return end == std::string_view::npos ? n : end + 1;
  }
  if (c == '/' && pos + 1 < n && text[pos + 1] == '*') {
    isComment = true;
    const std::size_t end = text.find("*/", pos + 2);
    return end == std::string_view::npos ? n + 1 : end + 2;
  }
  return pos;
}

std::string trimmed(std::string_view text) {
  std::size_t b = 0, e = text.size();
  while (b < e && isBlank(text[b])) ++b;
  while (e > b && isBlank(text[e - 1])) --e;
  return std::string(text.substr(b, e - b));
}

} // namespace

ParameterisedStatement toPlaceholders(std::string_view sql) {
  ParameterisedStatement out;
  out.text.reserve(sql.size());
  for (std::size_t pos = 0; pos < sql.size();) {
    bool isComment = false;
    const std::size_t end = skipQuotedOrComment(sql, pos, isComment);
    if (end != pos) {
      const std::size_t stop = end > sql.size() ? sql.size() : end;
      out.text.append(sql.substr(pos, stop - pos));
      pos = stop;
      continue;
    }
    const bool previousIsPart = pos > 0 && (isIdentifierChar(sql[pos - 1]) || sql[pos - 1] == ':');
    if (sql[pos] == ':' && !previousIsPart && pos + 1 < sql.size() && isIdentifierStart(sql[pos + 1])) {
      std::size_t k = pos + 1;
      while (k < sql.size() && isIdentifierChar(sql[k])) ++k;
      out.parameters.emplace_back(sql.substr(pos + 1, k - pos - 1));
      out.text += '?';
      pos = k;
      continue;
    }
    out.text += sql[pos++];
  }
  return out;
}

std::optional<std::vector<std::string>> splitScript(std::string_view script) {
  std::vector<std::string> statements;
  std::size_t start = 0;
  bool hasContent = false;  // something other than blanks and comments
  const auto finish = [&](std::size_t end) {
    if (hasContent) statements.push_back(trimmed(script.substr(start, end - start)));
    hasContent = false;
  };
  for (std::size_t pos = 0; pos < script.size();) {
    bool isComment = false;
    const std::size_t end = skipQuotedOrComment(script, pos, isComment);
    if (end > script.size()) return std::nullopt;  // left open
    if (end != pos) {
      if (!isComment) hasContent = true;
      pos = end;
      continue;
    }
    if (script[pos] == ';') {
      finish(pos);
      start = pos + 1;
    } else if (!isBlank(script[pos])) {
      hasContent = true;
    }
    ++pos;
  }
  finish(script.size());
  return statements;
}

} // namespace vt::online_detail
