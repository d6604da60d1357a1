// The same expectations run against our reader/writer on Linux and against
// the Windows profile functions under Wine.
#include <gtest/gtest.h>

#include "platform/profile.h"

#ifndef _WIN32
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif
#include "tests/support/temp_drive.h"

namespace vt::platform {
namespace {

class Profile : public ::testing::Test {
protected:
  test::TempDrive drive;
  std::string ini = drive.path("Config.ini");
};

TEST_F(Profile, MissingFileSectionOrKeyReadsEmptyAndCreatesNothing) {
  EXPECT_EQ(profileRead("CONEXAO", "Caminho dos dados", ini), "");
  EXPECT_FALSE(drive.exists("Config.ini"));
  drive.write("Config.ini", "[CONEXAO]\r\nOutra=1\r\n");
  EXPECT_EQ(profileRead("CONEXAO", "Caminho dos dados", ini), "");
  EXPECT_EQ(profileRead("DIV", "VER", ini), "");
}

TEST_F(Profile, NamesMatchWithoutRegardToLetterCaseAndBlanksAroundThemAreIgnored) {
  drive.write("Config.ini", "[Conexao]\r\n  caminho DOS dados =  Servidor01  \r\n");
  EXPECT_EQ(profileRead("CONEXAO", "Caminho dos dados", ini), "Servidor01");
  EXPECT_EQ(profileRead("conexao", "CAMINHO DOS DADOS", ini), "Servidor01");
}

TEST_F(Profile, QuotedValuesLoseTheirQuotes) {
  drive.write("Config.ini", "[S]\r\na=\"x y\"\r\nb='z'\r\nc=\"unbalanced\r\n");
  EXPECT_EQ(profileRead("S", "a", ini), "x y");
  EXPECT_EQ(profileRead("S", "b", ini), "z");
  EXPECT_EQ(profileRead("S", "c", ini), "\"unbalanced");
}

TEST_F(Profile, LongValuesReadBackCutTo2047Characters) {
  std::string value(3000, 'x');
  for (size_t i = 0; i < value.size(); i += 7) value[i] = 'a' + static_cast<char>(i % 26);
  ASSERT_TRUE(profileWrite("CONFIGURACAO", "BancoOnLine", value, ini));
  std::string back = profileRead("CONFIGURACAO", "BancoOnLine", ini);
  EXPECT_EQ(back, value.substr(0, 2047));
}

TEST_F(Profile, WritingAKeyOfAMissingSectionAppendsTheSectionAndKeepsEveryOtherLine) {
  drive.write("Config.ini", "[CONEXAO]\r\nCaminho dos dados=LocalHost\r\n; comentário\r\n[DIV]\r\nVER=V1\r\n");
  ASSERT_TRUE(profileWrite("CONFIGURACAO", "BancoOnLine", "abc", ini));
  std::string text = drive.read("Config.ini");
  EXPECT_EQ(text.rfind("[CONEXAO]\r\nCaminho dos dados=LocalHost\r\n; comentário\r\n[DIV]\r\nVER=V1\r\n", 0), 0u) << text;
  EXPECT_NE(text.find("[CONFIGURACAO]\r\nBancoOnLine=abc\r\n"), std::string::npos) << text;
  EXPECT_GT(text.find("[CONFIGURACAO]"), text.find("[DIV]"));
  EXPECT_EQ(profileRead("DIV", "VER", ini), "V1");
}

TEST_F(Profile, WritingAnExistingKeyChangesOnlyItsLine) {
  drive.write("Config.ini", "[A]\r\nx=1\r\ny=2\r\n[B]\r\nx=3\r\n");
  ASSERT_TRUE(profileWrite("a", "X", "9", ini));
  EXPECT_EQ(profileRead("A", "x", ini), "9");
  EXPECT_EQ(profileRead("A", "y", ini), "2");
  EXPECT_EQ(profileRead("B", "x", ini), "3");
  std::string text = drive.read("Config.ini");
  EXPECT_NE(text.find("y=2\r\n[B]\r\nx=3"), std::string::npos) << text;
}

TEST_F(Profile, ANewKeyJoinsItsSection) {
  drive.write("Config.ini", "[A]\r\nx=1\r\n[B]\r\nz=3\r\n");
  ASSERT_TRUE(profileWrite("A", "novo", "2", ini));
  std::string text = drive.read("Config.ini");
  EXPECT_LT(text.find("novo=2"), text.find("[B]")) << text;
  EXPECT_EQ(profileRead("A", "novo", ini), "2");
  EXPECT_EQ(profileRead("B", "z", ini), "3");
}

TEST_F(Profile, WritingCreatesTheFileAndReadsBackAccentedText) {
  ASSERT_TRUE(profileWrite("CONEXAO", "Caminho dos dados", "Estação São João", ini));
  EXPECT_EQ(profileRead("CONEXAO", "Caminho dos dados", ini), "Estação São João");
}

TEST_F(Profile, DeletingKeysAndSections) {
  drive.write("Config.ini", "[A]\r\nx=1\r\ny=2\r\n[B]\r\nz=3\r\n");
  EXPECT_TRUE(profileDeleteKey("A", "x", ini));
  EXPECT_EQ(profileRead("A", "x", ini), "");
  EXPECT_EQ(profileRead("A", "y", ini), "2");
  EXPECT_TRUE(profileDeleteSection("A", ini));
  EXPECT_EQ(profileRead("A", "y", ini), "");
  EXPECT_EQ(profileRead("B", "z", ini), "3");
  EXPECT_TRUE(profileDeleteKey("Nenhuma", "x", ini));
}

TEST_F(Profile, AUtf8ByteOrderMarkIsKept) {
  drive.write("Config.ini", "\xEF\xBB\xBF[CONEXAO]\r\nCaminho dos dados=LocalHost\r\n");
  ASSERT_TRUE(profileWrite("DIV", "VER", "V2.00.01.05", ini));
  std::string text = drive.read("Config.ini");
  EXPECT_EQ(text.rfind("\xEF\xBB\xBF", 0), 0u);
  EXPECT_EQ(profileRead("CONEXAO", "Caminho dos dados", ini), "LocalHost");
  EXPECT_EQ(profileRead("DIV", "VER", ini), "V2.00.01.05");
}

TEST_F(Profile, AWriteIntoAMissingFolderIsRefused) {
  EXPECT_FALSE(profileWrite("A", "x", "1", drive.path("nao-existe\\Config.ini")));
}

TEST_F(Profile, BinaryGarbageAndVeryLongLinesNeverBreakTheReader) {
  std::string garbage;
  for (int i = 0; i < 5000; ++i) garbage += static_cast<char>((i * 131 + 7) % 256);
  std::string longLine(200000, 'k');
  drive.write("Config.ini", garbage + "\r\n" + longLine + "\r\n[S]\r\nk=v\r\n" + garbage);
  EXPECT_EQ(profileRead("S", "k", ini), "v");
  EXPECT_EQ(profileRead("X", "k", ini), "");
  EXPECT_TRUE(profileWrite("S", "k", "w", ini));
  EXPECT_EQ(profileRead("S", "k", ini), "w");
}

#ifndef _WIN32
// The POSIX port reads a UTF-16 file into text and writes it back: units that
// are no character (a surrogate without its partner) and the last byte of a
// file of odd length must come back as they were, like every other line.
TEST_F(Profile, AWriteToAUtf16FileKeepsTheOtherLinesUnitForUnit) {
  const auto utf16 = [](std::u16string_view text) {
    std::string bytes;
    for (char16_t unit : text) {
      bytes += static_cast<char>(unit & 0xFF);
      bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
  };
  const std::string before = "\xFF\xFE" + utf16(u"[CONEXAO]\r\nA=x") + utf16(std::u16string(1, char16_t{0xD800})) +
                             utf16(u"y") + utf16(std::u16string(1, char16_t{0xDC01})) + utf16(u"\r\n");
  drive.write("Config.ini", before + "\x41");
  ASSERT_TRUE(profileWrite("CONFIGURACAO", "BancoOnLine", "7F3A", ini));
  EXPECT_EQ(drive.read("Config.ini"), before + utf16(u"[CONFIGURACAO]\r\nBancoOnLine=7F3A\r\n") + "\x41");
  EXPECT_EQ(profileRead("CONFIGURACAO", "BancoOnLine", ini), "7F3A");
}
#endif

#ifndef _WIN32
TEST_F(Profile, AWriterKilledInTheMiddleOfAWriteLeavesTheFileWhole) {
  // A large file, so that a write takes long enough to be cut.
  std::string bulk = "[CONEXAO]\r\nCaminho dos dados=LocalHost\r\n";
  for (int i = 0; i < 3000; ++i) bulk += "[S" + std::to_string(i) + "]\r\nchave=valor " + std::to_string(i) + "\r\n";
  drive.write("Config.ini", bulk);
  const std::string a(2000, 'a'), b(2000, 'b');
  for (int round = 0; round < 25; ++round) {
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (;;) {
        profileWrite("DIV", "VER", a, ini);
        profileWrite("DIV", "VER", b, ini);
      }
    }
    usleep(static_cast<useconds_t>(3000 + round * 1700));
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    const std::string v = profileRead("DIV", "VER", ini);
    EXPECT_TRUE(v == a || v == b || v.empty()) << "round " << round << ": " << v.size() << " characters";
    EXPECT_EQ(profileRead("CONEXAO", "Caminho dos dados", ini), "LocalHost") << "round " << round;
    EXPECT_EQ(profileRead("S2999", "chave", ini), "valor 2999") << "round " << round;
  }
}
#endif

} // namespace
} // namespace vt::platform
