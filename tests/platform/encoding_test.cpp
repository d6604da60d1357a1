#include <gtest/gtest.h>

#include "platform/encoding.h"

namespace vt::platform {
namespace {

TEST(Encoding, Cp1252RoundTripsPortugueseAndTheEuroSign) {
  const std::string text = "Atenção: €1,00 – São Paulo";
  std::string bytes = utf8ToCp1252(text);
  EXPECT_EQ(bytes.size(), 26u);
  EXPECT_EQ(static_cast<unsigned char>(bytes[4]), 0xE7);  // ç
  EXPECT_EQ(static_cast<unsigned char>(bytes[9]), 0x80);  // €
  EXPECT_EQ(cp1252ToUtf8(bytes), text);
}

TEST(Encoding, CharactersOutsideTheCodePageBecomeQuestionMarks) {
  EXPECT_EQ(utf8ToCp1252("a\xE4\xB8\xAD" "b"), "a?b");  // a, CJK ideograph, b
}

TEST(Encoding, MalformedUtf8NeverOverrunsAndDecodesAsReplacement) {
  const std::string cases[] = {"\xC3", "\xE2\x82", "\xF0\x9F\x98", "\xFF\xFE", "\xC0\x80", std::string("a\0b", 3)};
  for (const auto& bad : cases) {
    std::wstring wide = utf8ToWide(bad);
    EXPECT_LE(wide.size(), bad.size()) << bad;
    EXPECT_FALSE(wideToUtf8(wide).empty());
  }
}

TEST(Encoding, WideRoundTripKeepsCharactersBeyondTheBasicPlane) {
  const std::string text = "Ação \xF0\x9F\x98\x80";
  EXPECT_EQ(wideToUtf8(utf8ToWide(text)), text);
}

} // namespace
} // namespace vt::platform
