#include <gtest/gtest.h>

#include "tests/dmutils/module_fixture.h"

namespace vt {
namespace {

// These tests use the fixed install root, mapped into the test drive.
class ConfigAccess : public ::testing::Test {
protected:
  test::ModuleFixture f;
  void SetUp() override { f.drive.installRoot(); }
};

TEST_F(ConfigAccess, OnlyTheExactDefaultPathIsRedirectedToThePerUserFile) {
  f.dmUtils.setToConfig("CONEXAO", "Chave", "padrao", "C:\\Quorvelin\\Config.ini");
  f.dmUtils.gPathConfig = "C:\\Quorvelin\\Config_Operador.ini";
  f.dmUtils.setToConfig("CONEXAO", "Chave", "usuario", "C:\\Quorvelin\\Config.ini");
  EXPECT_EQ(f.dmUtils.getFromConfig("CONEXAO", "Chave", "C:\\Quorvelin\\Config.ini"), "usuario");
  // Another letter case is another text: not redirected.
  EXPECT_EQ(f.dmUtils.getFromConfig("CONEXAO", "Chave", "c:\\quorvelin\\config.ini"), "padrao");
  // An empty path is never replaced by the default file.
  EXPECT_EQ(f.dmUtils.getFromConfig("CONEXAO", "Chave", ""), "");
  f.dmUtils.gPathConfig.clear();
  EXPECT_EQ(f.dmUtils.getFromConfig("CONEXAO", "Chave", "C:\\Quorvelin\\Config.ini"), "padrao");
}

TEST_F(ConfigAccess, ARefusedWriteRaisesUnableToWriteWithTheResolvedPath) {
  const std::string missing = "C:\\Quorvelin\\nao-existe\\Config.ini";
  try {
    f.dmUtils.setToConfig("A", "b", "c", missing);
    FAIL() << "no error raised";
  } catch (const ConfigWriteError& e) {
    EXPECT_EQ(std::string(e.what()), "Unable to write to " + missing);
  }
  EXPECT_THROW(f.dmUtils.delSectionFromConfig("A", missing), ConfigWriteError);
  EXPECT_NO_THROW(f.dmUtils.deleteFromConfig("A", "b", missing));
}

TEST_F(ConfigAccess, SetToConfigAnswersEmptyAndDeleteRemovesOnlyTheKey) {
  EXPECT_EQ(f.dmUtils.setToConfig("DIV", "VER", "V1.00.00.01", "C:\\Quorvelin\\Config.ini"), "");
  f.dmUtils.setToConfig("DIV", "Outra", "x", "C:\\Quorvelin\\Config.ini");
  f.dmUtils.deleteFromConfig("DIV", "VER", "C:\\Quorvelin\\Config.ini");
  EXPECT_EQ(f.dmUtils.getFromConfig("DIV", "VER", "C:\\Quorvelin\\Config.ini"), "");
  EXPECT_EQ(f.dmUtils.getFromConfig("DIV", "Outra", "C:\\Quorvelin\\Config.ini"), "x");
  f.dmUtils.delSectionFromConfig("DIV", "C:\\Quorvelin\\Config.ini");
  EXPECT_EQ(f.dmUtils.getFromConfig("DIV", "Outra", "C:\\Quorvelin\\Config.ini"), "");
}

TEST_F(ConfigAccess, PerUserConfigurationCreatesItsFolderAndWarnsWhenTheFileIsMissing) {
  f.dmUtils.setToConfig("CONEXAO", "Listar todos BD", "do-padrao", "C:\\Quorvelin\\Config.ini");
  std::string answer = f.dmUtils.configUsuario();
  EXPECT_NE(f.dmUtils.gPathConfig.find("C:\\Quorvelin\\configUsuario\\Config_"), std::string::npos);
  EXPECT_EQ(f.dmUtils.gPathConfig.substr(f.dmUtils.gPathConfig.size() - 4), ".ini");
  EXPECT_EQ(f.dmUtils.gPathConfig.find(' '), std::string::npos);
  EXPECT_EQ(answer, "");  // the per-user file does not exist and is not created
  EXPECT_FALSE(f.drive.exists(f.dmUtils.gPathConfig));
  ASSERT_EQ(f.ui.shown.size(), 2u);
  EXPECT_EQ(f.ui.shown[0].text, "Selecione o banco de dados que deseja conectar.");
  EXPECT_EQ(f.ui.shown[1].text, "Para utilizar o Configurações para o Config.ini, utilize o módulo Quorvelin Gerencial.");
  EXPECT_EQ(f.clock.pauses().size(), 2u);  // folder created: two one-second waits
  // From now on the default path reads the per-user file.
  f.dmUtils.setToConfig("CONEXAO", "Listar todos BD", "do-usuario", "C:\\Quorvelin\\Config.ini");
  f.ui.shown.clear();
  EXPECT_EQ(f.dmUtils.configUsuario(), "do-usuario");
  EXPECT_TRUE(f.ui.shown.empty());
  EXPECT_EQ(f.clock.pauses().size(), 2u);  // the folder exists now: no more waits
}

TEST_F(ConfigAccess, VersionCheckAgainstADataServerComparesTheFirstEightCharacters) {
#ifdef _WIN32
  GTEST_SKIP() << "no server share is reachable from the test machine";
#endif
  f.dmUtils.setToConfig("CONEXAO", "Caminho dos dados", "SERVIDOR", "C:\\Quorvelin\\Config.ini");
  f.dmUtils.setToConfig("DIV", "VER", "V2.01.03.17", "C:\\Quorvelin\\Config.ini");
  f.drive.write("C:\\.unc\\SERVIDOR\\Quorvelin\\Config.ini", "[DIV]\r\nVER=V2.01.03.99\r\n");
  EXPECT_TRUE(f.dmUtils.validaVersaoConfig(1));
  EXPECT_TRUE(f.ui.shown.empty());
  f.drive.write("C:\\.unc\\SERVIDOR\\Quorvelin\\Config.ini", "[DIV]\r\nVER=V2.02.00.01\r\n");
  EXPECT_FALSE(f.dmUtils.validaVersaoConfig(1));
  ASSERT_EQ(f.ui.shown.size(), 1u);
  EXPECT_EQ(f.ui.shown[0].caption, "Atenção");
  EXPECT_EQ(f.ui.shown[0].text,
            "O \"Config.ini\" do servidor (SERVIDOR) está com uma versão diferente do \"Config.ini\" desse terminal.\r\r"
            "\"Config.ini\" do servidor: V2.02.00.01\r\n\"Config.ini\" do terminal: V2.01.03.17\r\n\r\n"
            "Entre em contato com o Suporte Quorvelin para solução do problema.");
}

TEST_F(ConfigAccess, VersionCheckOnThisTerminalRecordsTheExecutablesVersion) {
  f.dmUtils.setToConfig("CONEXAO", "Caminho dos dados", "LOCALHOST", "C:\\Quorvelin\\Config.ini");
  f.dmUtils.setToConfig("DIV", "VER", "V9.99.99.99", "C:\\Quorvelin\\Config.ini");
  // No Quorvelin.exe in this install: the version read is empty and recorded.
  EXPECT_TRUE(f.dmUtils.validaVersaoConfig(1));
  EXPECT_EQ(f.dmUtils.getFromConfig("DIV", "VER", "C:\\Quorvelin\\Config.ini"), "");
  EXPECT_TRUE(f.ui.shown.empty());
}

} // namespace
} // namespace vt
