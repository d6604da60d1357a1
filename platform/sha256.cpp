#include "platform/sha256.h"

namespace vt::platform {

std::string sha256Hex(std::string_view data) {
  static constexpr char kDigits[] = "0123456789abcdef";
  const Sha256Digest digest = sha256(data);
  std::string hex;
  hex.reserve(2 * digest.size());
  for (unsigned char byte : digest) {
    hex += kDigits[byte >> 4];
    hex += kDigits[byte & 0x0F];
  }
  return hex;
}

} // namespace vt::platform
