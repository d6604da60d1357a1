#pragma once
// SHA-256 digests, from the platform's own cryptography: CNG (BCrypt) on
// Windows, libcrypto elsewhere.
#include <array>
#include <string>
#include <string_view>

namespace vt::platform {

using Sha256Digest = std::array<unsigned char, 32>;

// Throws OsError when the platform's provider fails.
Sha256Digest sha256(std::string_view data);

// The digest as 64 lower-case hexadecimal digits.
std::string sha256Hex(std::string_view data);

} // namespace vt::platform
