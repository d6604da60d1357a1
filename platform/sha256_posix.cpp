#include <openssl/err.h>
#include <openssl/evp.h>

#include "platform/os_error.h"
#include "platform/sha256.h"

namespace vt::platform {

Sha256Digest sha256(std::string_view data) {
  Sha256Digest digest{};
  unsigned int length = 0;
  if (EVP_Digest(data.data(), data.size(), digest.data(), &length, EVP_sha256(), nullptr) != 1 ||
      length != digest.size()) {
    const unsigned long code = ERR_get_error();
    char text[256] = "SHA-256 digest failed";
    if (code != 0) ERR_error_string_n(code, text, sizeof text);
    throw OsError(static_cast<long>(code), text);
  }
  return digest;
}

} // namespace vt::platform
