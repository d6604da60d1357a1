#include "online/zendral_credentials.h"

#include <vector>

#include "utils/utf8.h"

namespace vt {

ZendralCredentials::ZendralCredentials(std::string_view libraryPath) {
  std::string reason;
  if (!library_.load(libraryPath, reason))
    throw CredentialsError("Não foi possível carregar a biblioteca de credenciais \"" + std::string(libraryPath) +
                           "\": " + reason);
  library_.keepLoaded();
  const auto bind = [&](const char* name) {
    auto function = reinterpret_cast<zendral::TextFunction>(library_.symbol(name));
    if (!function)
      throw CredentialsError("A biblioteca de credenciais \"" + std::string(libraryPath) +
                             "\" não tem a função " + name);
    return function;
  };
  nameDB_ = bind("nameDB");
  userNameDB_ = bind("userNameDB");
  passDB_ = bind("passDB");
  serverDB_ = bind("serverDB");
  portDB_ = bind("portDB");
}

std::string ZendralCredentials::call(zendral::TextFunction function) {
  // Most answers fit the first buffer; a longer one is asked again at its size.
  std::vector<char16_t> buffer(128);
  std::size_t length = function(buffer.data(), buffer.size());
  if (length >= buffer.size()) {
    buffer.resize(length + 1);
    length = function(buffer.data(), buffer.size());
    if (length >= buffer.size()) length = buffer.size() - 1;  // a library that changed its answer
  }
  return utf16ToUtf8(std::u16string_view(buffer.data(), length));
}

std::string utf16ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t k = 0; k < text.size(); ++k) {
    char32_t cp = text[k];
    if (cp >= 0xD800 && cp <= 0xDBFF && k + 1 < text.size() && text[k + 1] >= 0xDC00 && text[k + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[k + 1] - 0xDC00);
      ++k;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = utils::utf8::kReplacement;
    }
    utils::utf8::append(out, cp);
  }
  return out;
}

} // namespace vt
