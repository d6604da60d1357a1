#include <windows.h>

#include <bcrypt.h>

#include <algorithm>

#include "platform/os_error.h"
#include "platform/sha256.h"

namespace vt::platform {
namespace {

void check(NTSTATUS status, const char* step) {
  if (status >= 0) return;
  throw OsError(static_cast<long>(status), std::string("SHA-256 digest failed: ") + step);
}

struct Provider {
  BCRYPT_ALG_HANDLE handle = nullptr;
  ~Provider() {
    if (handle) BCryptCloseAlgorithmProvider(handle, 0);
  }
};

struct Hash {
  BCRYPT_HASH_HANDLE handle = nullptr;
  ~Hash() {
    if (handle) BCryptDestroyHash(handle);
  }
};

} // namespace

Sha256Digest sha256(std::string_view data) {
  Provider provider;
  check(BCryptOpenAlgorithmProvider(&provider.handle, BCRYPT_SHA256_ALGORITHM, nullptr, 0), "open provider");
  Hash hash;
  check(BCryptCreateHash(provider.handle, &hash.handle, nullptr, 0, nullptr, 0, 0), "create hash");
  // BCryptHashData takes a 32-bit length: feed large inputs in pieces.
  constexpr std::size_t kPiece = 1u << 30;
  for (std::size_t offset = 0; offset < data.size(); offset += kPiece) {
    const std::size_t length = std::min(kPiece, data.size() - offset);
    auto* bytes = reinterpret_cast<PUCHAR>(const_cast<char*>(data.data() + offset));
    check(BCryptHashData(hash.handle, bytes, static_cast<ULONG>(length), 0), "hash data");
  }
  Sha256Digest digest{};
  check(BCryptFinishHash(hash.handle, digest.data(), static_cast<ULONG>(digest.size()), 0), "finish hash");
  return digest;
}

} // namespace vt::platform
