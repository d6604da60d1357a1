// Zendral: answers the five connection parameters of the primary online
// database server. The values are fixed when the library is built (see
// credentials/CMakeLists.txt); the source text is UTF-8 and the compiler turns
// it into the UTF-16 literals the callers receive.
#include "credentials/zendral.h"

#include "zendral_values.h"

namespace {

template <std::size_t N>
std::size_t handOut(const char16_t (&value)[N], char16_t* out, std::size_t capacity) {
  const std::size_t length = N - 1;  // without the literal's terminating zero
  if (out) {
    std::size_t k = 0;
    for (; k < length && k < capacity; ++k) out[k] = value[k];
    if (k < capacity) out[k] = u'\0';
  }
  return length;
}

} // namespace

extern "C" {
std::size_t nameDB(char16_t* out, std::size_t capacity) { return handOut(zendral_values::kName, out, capacity); }
std::size_t userNameDB(char16_t* out, std::size_t capacity) { return handOut(zendral_values::kUser, out, capacity); }
std::size_t passDB(char16_t* out, std::size_t capacity) { return handOut(zendral_values::kPassword, out, capacity); }
std::size_t serverDB(char16_t* out, std::size_t capacity) { return handOut(zendral_values::kServer, out, capacity); }
std::size_t portDB(char16_t* out, std::size_t capacity) { return handOut(zendral_values::kPort, out, capacity); }
}
