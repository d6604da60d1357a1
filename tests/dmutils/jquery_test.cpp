// verificaArquivoJQuery with the stand-in library, embedded by the build's own
// step (cmake/jquery_copy.cmake) from tests/dmutils/jquery-1.2.6-standin.min.js.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "dmutils/jquery_copy.h"
#include "tests/dmutils/module_fixture.h"

namespace vt {
namespace test {
std::optional<std::string_view> standInJQueryCopy();
} // namespace test
namespace {

// The stand-in's bytes as they are in the tree (under Wine the host's root is drive Z:).
std::string standInFile() {
#ifdef _WIN32
  std::ifstream in("Z:" VT_JQUERY_STANDIN_FILE, std::ios::binary);
#else
  std::ifstream in(VT_JQUERY_STANDIN_FILE, std::ios::binary);
#endif
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

TEST(verificaArquivoJQuery, CreatesTheFolderAndTheFileWhenMissingAndLeavesAnExistingFile) {
  test::ModuleFixture f;
  const auto copy = test::standInJQueryCopy();
  ASSERT_TRUE(copy);
  ASSERT_EQ(*copy, standInFile());
  const std::string file = "app\\js\\jquery-1.2.6.min.js";
  f.drive.write("app\\Quorvelin.exe", "x");

  writeJQueryCopy(f.drive.path("app\\"), copy);
  ASSERT_TRUE(f.drive.exists(file));
  EXPECT_EQ(f.drive.read(file), standInFile());
  EXPECT_FALSE(f.drive.exists("app\\js\\novo_jquery-1.2.6.min.js"));

  // The folder there and the file missing: the file is written.
  std::filesystem::remove(f.drive.host(file));
  writeJQueryCopy(f.drive.path("app\\"), copy);
  EXPECT_EQ(f.drive.read(file), standInFile());

  // An existing file is not touched, whatever it holds, in a build with or without the copy.
  f.drive.write(file, "alterado pelo suporte");
  writeJQueryCopy(f.drive.path("app\\"), copy);
  writeJQueryCopy(f.drive.path("app\\"), std::nullopt);
  EXPECT_EQ(f.drive.read(file), "alterado pelo suporte");
}

TEST(verificaArquivoJQuery, ABuildWithoutTheLibrarySaysSoAndCreatesNothing) {
  test::ModuleFixture f;
  f.drive.write("app\\Quorvelin.exe", "x");
  try {
    writeJQueryCopy(f.drive.path("app\\"), std::nullopt);
    ADD_FAILURE() << "no error raised";
  } catch (const JQueryCopyMissing& e) {
    EXPECT_EQ(std::string(e.what()), "This build carries no copy of jquery-1.2.6.min.js to write as " +
                                         f.drive.path("app\\js\\jquery-1.2.6.min.js") +
                                         ": build it with -DVANTORIM_JQUERY_FILE=<the published "
                                         "jquery-1.2.6.min.js>.");
  }
  EXPECT_FALSE(f.drive.exists("app\\js"));

  // This test build is configured without the library, as a plain build is:
  // the operation itself, on the program's own folder, raises the same error.
  if (embeddedJQueryCopy()) GTEST_SKIP() << "this build was configured with VANTORIM_JQUERY_FILE";
  EXPECT_THROW(f.dmUtils.verificaArquivoJQuery(), JQueryCopyMissing);
}

} // namespace
} // namespace vt
