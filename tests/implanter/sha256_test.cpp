#include <gtest/gtest.h>

#include <string>

#include "platform/sha256.h"

namespace vt::platform {
namespace {

TEST(sha256, KnownVectors) {
  struct Case {
    const char* name;
    std::string input;
    const char* hex;
  } cases[] = {
      {"empty", "", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"two blocks", "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {"zero bytes count", std::string("a\0b", 3), "59b271ae1bbcb1d31d41929817f4b16fb439eb4f31520b5ad1d5ce98920a7138"},
      {"a million a", std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
  };
  for (const auto& c : cases) EXPECT_EQ(sha256Hex(c.input), c.hex) << c.name;
}

TEST(sha256, TheHexTextSpellsTheDigestBytes) {
  const Sha256Digest digest = sha256("abc");
  EXPECT_EQ(digest[0], 0xBA);
  EXPECT_EQ(digest[31], 0xAD);
}

} // namespace
} // namespace vt::platform
