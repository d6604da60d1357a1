#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/files.h"
#include "platform/os_error.h"
#include "tests/dmutils/module_fixture.h"

namespace vt {
namespace {

namespace fs = std::filesystem;

TEST(criaArquivo, ReplacesWhatTheFileHeldWithTheTextAndOneLineBreak) {
  test::ModuleFixture f;
  f.drive.write("log.txt", "conteúdo antigo bem mais longo\r\n");
  std::string error = "antes";
  EXPECT_TRUE(f.dmUtils.criaArquivo("Início do log", f.drive.path("log.txt"), error));
  EXPECT_EQ(error, "");
#ifdef _WIN32
  EXPECT_EQ(f.drive.read("log.txt"), "In\xED" "cio do log\r\n");  // the system code page
#else
  EXPECT_EQ(f.drive.read("log.txt"), "Início do log\r\n");
#endif
}

TEST(criaArquivo, AMissingFolderGivesFalseAndThePlatformsMessage) {
  test::ModuleFixture f;
  std::string error;
  const std::string target = f.drive.path("nao-existe\\log.txt");
  EXPECT_FALSE(f.dmUtils.criaArquivo("x", target, error));
  EXPECT_EQ(error.rfind("Cannot create file \"" + target + "\". ", 0), 0u) << error;
  EXPECT_GT(error.size(), target.size() + 22);
  EXPECT_TRUE(f.ui.shown.empty());
}

TEST(criaArquivo, WithoutANameWritesADatedFileInTheQueriesFolder) {
  test::ModuleFixture f;
  f.drive.installRoot();
  f.clock.set({2024, 3, 5, 7, 8, 9, 0, 3});
  std::string error;
  ASSERT_TRUE(f.dmUtils.criaArquivo("abc", "", error)) << error;
  auto entries = platform::listDirectory("C:\\Quorvelin\\consultas", "criaArquivoUtils_*.txt");
  ASSERT_EQ(entries.size(), 1u);
  ASSERT_EQ(f.clock.pauses().size(), 1u);  // the folder was created: one 3-second wait
  EXPECT_EQ(f.clock.pauses()[0].count(), 3000);
#ifndef _WIN32
  // Brazilian formats; the time is read after the wait.
  EXPECT_EQ(entries[0].name, "criaArquivoUtils_05032024_070812.txt");
#endif
}

TEST(deletarDiretorio, RemovesAWholeTreeAndIgnoresWhatIsMissing) {
  test::ModuleFixture f;
  f.drive.write("heidi\\a.txt", "1");
  f.drive.write("heidi\\sub\\b.txt", "2");
  TdmUtils::deletarDiretorio(f.drive.path("heidi"));
  EXPECT_FALSE(f.drive.exists("heidi"));
  EXPECT_NO_THROW(TdmUtils::deletarDiretorio(f.drive.path("nao-existe")));
  f.drive.write("solto.txt", "3");
  TdmUtils::deletarDiretorio(f.drive.path("solto.txt"));
  EXPECT_FALSE(f.drive.exists("solto.txt"));
}

TEST(copiarDiretorio, CopiesAFolderWithItsContent) {
  test::ModuleFixture f;
  f.drive.write("origem\\a.txt", "1");
  f.drive.write("origem\\sub\\b.txt", "2");
  TdmUtils::copiarDiretorio(f.drive.path("origem"), f.drive.path("destino"));
  EXPECT_EQ(f.drive.read("destino\\a.txt"), "1");
  EXPECT_EQ(f.drive.read("destino\\sub\\b.txt"), "2");
  EXPECT_EQ(f.drive.read("origem\\a.txt"), "1");
}

TEST(limparArquivosDiretorio, RemovesTheFilesAndLeavesTheSubfolders) {
  test::ModuleFixture f;
  f.drive.write("dwd\\a.zip", "1");
  f.drive.write("dwd\\.oculto", "1");
  f.drive.write("dwd\\reports\\r.fr3", "2");
  TdmUtils::limparArquivosDiretorio(f.drive.path("dwd"));
  EXPECT_FALSE(f.drive.exists("dwd\\a.zip"));
  EXPECT_FALSE(f.drive.exists("dwd\\.oculto"));
  EXPECT_EQ(f.drive.read("dwd\\reports\\r.fr3"), "2");
  EXPECT_NO_THROW(TdmUtils::limparArquivosDiretorio(f.drive.path("nao-existe")));
}

TEST(getFileSize, ReadsSizesPastFourGibibytesAndMinusOneForAMissingFile) {
  test::ModuleFixture f;
  f.drive.write("grande.bin", "");
  const auto fiveGiB = 5LL * 1024 * 1024 * 1024;
  fs::resize_file(f.drive.host("grande.bin"), static_cast<uintmax_t>(fiveGiB));  // sparse
  EXPECT_EQ(TdmUtils::getFileSize(f.drive.path("grande.bin")), fiveGiB);
  EXPECT_EQ(TdmUtils::getFileSize(f.drive.path("nao-existe.bin")), -1);
  EXPECT_DOUBLE_EQ(TdmUtils::tamanhoArquivo(f.drive.path("grande.bin")), 5.0 * 1024 * 1024);
}

TEST(getFileSize, AFolderReadsAsLengthZero) {
  test::ModuleFixture f;
  f.drive.write("pasta\\dentro.bin", std::string(5000, 'x'));
  EXPECT_EQ(TdmUtils::getFileSize(f.drive.path("pasta")), 0);
}

TEST(tamanhoArquivo, AMissingFileOrAFolderRaisesTheOpenError) {
  test::ModuleFixture f;
  f.drive.write("k.bin", std::string(2048 + 512, 'x'));
  f.drive.write("pasta\\dentro.bin", std::string(5000, 'x'));
  EXPECT_DOUBLE_EQ(TdmUtils::tamanhoArquivo(f.drive.path("k.bin")), 2.5);
  for (const char* name : {"nao.bin", "pasta"}) {
    try {
      TdmUtils::tamanhoArquivo(f.drive.path(name));
      ADD_FAILURE() << "no error raised for " << name;
    } catch (const platform::OsError& e) {
      EXPECT_EQ(std::string(e.what()).rfind("Cannot open file \"" + f.drive.path(name) + "\". ", 0), 0u) << e.what();
    }
  }
}

TEST(VerificaCopia, WaitsHalfSecondsForTheFileUpToTenSeconds) {
  test::ModuleFixture f;
  const std::string local = f.drive.path("copia.txt");
  // The file appears after 3 seconds of waiting.
  f.clock.onPause = [&](int index) {
    if (index == 5) f.drive.write("copia.txt", "x");
  };
  EXPECT_TRUE(f.dmUtils.VerificaCopia(local, "\\\\SERVIDOR\\x.txt"));
  EXPECT_EQ(f.clock.pauses().size(), 6u);
  EXPECT_TRUE(f.ui.shown.empty());

  test::ModuleFixture g;
  EXPECT_FALSE(g.dmUtils.VerificaCopia(g.drive.path("nunca.txt"), "\\\\SERVIDOR\\x.txt"));
  EXPECT_EQ(g.clock.pauses().size(), 20u);
  EXPECT_EQ(g.clock.totalPaused().count(), 10000);
  ASSERT_EQ(g.ui.shown.size(), 1u);
  EXPECT_EQ(g.ui.shown[0].text,
            "Não foi possível copiar o arquivo \"\\\\SERVIDOR\\x.txt\".\rVerifique suas configurações de rede e tente novamente.");
}

TEST(FileNames, ExtensionsAreTakenAsTheUtilityModuleDoes) {
  struct Case {
    const char* input;
    const char* withoutFirstExtension;
    const char* onlyName;
  } cases[] = {
      {"C:\\dados\\nota.xml", "nota", "nota"},
      {"a.txt.b.txt", "a.b.txt", "a.txt.b"},
      {"C:semext", "semext", "semext"},
      {"C:\\pasta.d\\arquivo", "arquivo", "arquivo"},
      // Only the backslash and the drive colon end a folder.
      {"C:\\web/img.d/logo.png", "web/img.d/logo", "web/img.d/logo"},
      {"pasta/nota.xml", "pasta/nota", "pasta/nota"},
      {"", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TdmUtils::extractFileNameFromPath(c.input), c.withoutFirstExtension) << c.input;
    EXPECT_EQ(TdmUtils::extractFileOnlyName(c.input), c.onlyName) << c.input;
  }
}

TEST(blobToHex, WritesEachByteAsTwoUpperCaseDigitsFromTheCurrentPosition) {
  std::istringstream a(std::string("\x0A\xFF", 2));
  EXPECT_EQ(TdmUtils::blobToHex(a), "0AFF");
  std::istringstream empty("");
  EXPECT_EQ(TdmUtils::blobToHex(empty), "");
  std::string big(3 * 1024 * 1024 + 3, '\x5A');
  std::istringstream large(big);
  std::string hex = TdmUtils::blobToHex(large);
  EXPECT_EQ(hex.size(), big.size() * 2);
  EXPECT_EQ(hex.substr(hex.size() - 4), "5A5A");
}

TEST(carregaEtiqueta, PrefersTheCustomisedLabelOfTheDataHost) {
  test::ModuleFixture f;
  f.drive.installRoot();
  f.dmUtils.setToConfig("CONEXAO", "Caminho dos dados", "localHost", "C:\\Quorvelin\\Config.ini");
  EXPECT_EQ(f.dmUtils.carregaEtiqueta("gondola.fr3"), "C:\\Quorvelin\\reports\\etiquetas\\gondola.fr3");
  f.drive.write("C:\\Quorvelin\\reports\\etiquetas\\personalizados\\gondola.fr3", "x");
  EXPECT_EQ(f.dmUtils.carregaEtiqueta("gondola.fr3"), "C:\\Quorvelin\\reports\\etiquetas\\personalizados\\gondola.fr3");
  f.dmUtils.setToConfig("CONEXAO", "Caminho dos dados", "SRV01", "C:\\Quorvelin\\Config.ini");
  EXPECT_EQ(f.dmUtils.carregaEtiqueta("gondola.fr3"), "\\\\SRV01\\Quorvelin\\reports\\etiquetas\\gondola.fr3");
}

TEST(verificaXmlCdata, StripsTheMarkersIntoABackupAndRemovesTheWorkFile) {
  test::ModuleFixture f;
  const std::string folder = f.drive.path("xml");
  f.drive.write("xml\\nfe.xml", "<a><![CDATA[texto]]></a>");
  std::string backup = f.dmUtils.verificaXmlCdata(folder, "nfe.xml", true);
  EXPECT_EQ(backup, folder + "bkpnfe.xml");
  EXPECT_EQ(f.drive.read(backup), "<a>texto</a>");
  EXPECT_FALSE(f.drive.exists(folder + "nfe.txt"));
  EXPECT_EQ(f.drive.read("xml\\nfe.xml"), "<a><![CDATA[texto]]></a>");
  EXPECT_EQ(f.clock.totalPaused().count(), 4500);

  f.drive.write("xml\\limpo.xml", "<a>x</a>");
  EXPECT_EQ(f.dmUtils.verificaXmlCdata(folder, "limpo.xml", false), "");
  EXPECT_FALSE(f.drive.exists(folder + "limpo.txt"));
}

} // namespace
} // namespace vt
