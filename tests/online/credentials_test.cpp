// The Zendral binding: the library built with the test server's values is
// loaded by path and answers them as UTF-8; a missing library or entry point
// stops the binding with a message that names it.
#include <gtest/gtest.h>

#include "online/zendral_credentials.h"
#include "online_test_support.h"

namespace vt::test {
namespace {

TEST(ZendralCredentials, AnswersTheValuesTheLibraryWasBuiltWith) {
  TempDrive drive;
  ZendralCredentials zendral(placeZendral(drive));
  EXPECT_EQ(zendral.nameDB(), kPrimaryDb);
  EXPECT_EQ(zendral.userNameDB(), kPrimaryUser);
  EXPECT_EQ(zendral.passDB(), kPrimaryPassword);  // not ASCII: travels as UTF-16
  EXPECT_EQ(zendral.serverDB(), "127.0.0.1");
  EXPECT_EQ(zendral.portDB(), kPort);
  EXPECT_EQ(zendral.passDB(), zendral.passDB()) << "nothing is kept between calls";
}

TEST(ZendralCredentials, EntryPointsReportTheFullLengthAndFillWhatFits) {
  TempDrive drive;
  platform::DynamicLibrary library;
  std::string error;
  ASSERT_TRUE(library.load(placeZendral(drive), error)) << error;
  auto passDB = reinterpret_cast<zendral::TextFunction>(library.symbol("passDB"));
  ASSERT_NE(passDB, nullptr);
  const std::u16string expected = u"Prim#Senha-ção1";
  EXPECT_EQ(passDB(nullptr, 0), expected.size());
  char16_t small[5] = {u'z', u'z', u'z', u'z', u'z'};
  EXPECT_EQ(passDB(small, 4), expected.size());
  EXPECT_EQ(std::u16string(small, 5), u"Primz") << "at most `capacity` units written";
  char16_t exact[16];
  EXPECT_EQ(passDB(exact, 16), expected.size());
  EXPECT_EQ(std::u16string(exact), expected) << "terminated when there is room";
}

TEST(ZendralCredentials, MissingLibraryOrEntryPointIsReportedByName) {
  TempDrive drive;
  const std::string missing = drive.path("Zendral.dll");
  try {
    ZendralCredentials zendral(missing);
    FAIL() << "a missing library was bound";
  } catch (const CredentialsError& error) {
    EXPECT_EQ(std::string(error.what()).rfind("Não foi possível carregar a biblioteca de credenciais \"" + missing + "\": ", 0), 0u)
        << error.what();
  }
#ifdef _WIN32
  const std::string other = "C:\\windows\\system32\\version.dll";
#else
  const std::string other = drive.path("other.dll");
  std::filesystem::create_symlink(VT_MARIADB_CLIENT, platform::toHost(other));
#endif
  try {
    ZendralCredentials zendral(other);
    FAIL() << "a library without the entry points was bound";
  } catch (const CredentialsError& error) {
    EXPECT_EQ(std::string(error.what()), "A biblioteca de credenciais \"" + other + "\" não tem a função nameDB");
  }
}

TEST(ZendralCredentials, Utf16TextBecomesUtf8) {
  EXPECT_EQ(utf16ToUtf8(u"Ação"), "Ação");
  EXPECT_EQ(utf16ToUtf8(u"\U0001F600"), "\xF0\x9F\x98\x80") << "a surrogate pair is one character";
  EXPECT_EQ(utf16ToUtf8(std::u16string(1, u'\xD800') + u"a"), "\xEF\xBF\xBD" "a") << "a lone surrogate";
}

} // namespace
} // namespace vt::test
