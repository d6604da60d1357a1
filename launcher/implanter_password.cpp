#include "launcher/implanter_password.h"

#include <string>

#include "implanter_password_digest.h"
#include "platform/sha256.h"
#include "utils/text.h"

namespace vt {

bool isImplanterPassword(std::string_view typed) {
  const std::string digest = platform::sha256Hex(std::string(implanter::kSalt) + utils::lowerCase(typed));
  const std::string_view expected = implanter::kDigest;
  if (digest.size() != expected.size()) return false;
  // Every digit is compared, so the time taken tells nothing of how much matched.
  unsigned char difference = 0;
  for (std::size_t i = 0; i < digest.size(); ++i)
    difference |= static_cast<unsigned char>(digest[i] ^ expected[i]);
  return difference == 0;
}

} // namespace vt
