// The download folder's operations of the terminal-data module.
#include <gtest/gtest.h>

#include "platform/files.h"
#include "tests/fixtures/zip_writer.h"
#include "tests/launcher/launcher_fixture.h"
#include "tests/support/http_test_server.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/scoped_handle_win.h"
#endif

namespace vt {
namespace {

using test::LauncherFixture;

TEST(limpaDwd, EmptiesTheFolderWithHiddenFilesAndNestedFolders) {
  LauncherFixture f;
  f.drive.write("C:\\Quorvelin\\dwd\\Caspelo.zip", "1");
  f.drive.write("C:\\Quorvelin\\dwd\\.oculto", "2");
  f.drive.write("C:\\Quorvelin\\dwd\\reports\\venda\\v.fr3", "3");
  f.dbOnline.limpaDwd();
  EXPECT_TRUE(platform::listDirectory("C:\\Quorvelin\\dwd", "*").empty());
  EXPECT_TRUE(f.drive.exists("C:\\Quorvelin\\dwd"));
  EXPECT_TRUE(f.ui.shown.empty());
  // A missing folder: nothing happens, nothing is said.
  std::filesystem::remove_all(f.drive.host("C:\\Quorvelin\\dwd"));
  f.dbOnline.limpaDwd();
  EXPECT_TRUE(f.ui.shown.empty());
}

#ifdef _WIN32
TEST(limpaDwd, AFileInUseIsReportedAndTheOthersAreStillRemoved) {
  LauncherFixture f;
  f.drive.write("C:\\Quorvelin\\dwd\\a.zip", "1");
  f.drive.write("C:\\Quorvelin\\dwd\\preso.zip", "2");
  f.drive.write("C:\\Quorvelin\\dwd\\z.zip", "3");
  platform::ScopedHandle held(
      CreateFileW(L"C:\\Quorvelin\\dwd\\preso.zip", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(held.valid());
  f.dbOnline.limpaDwd();
  held.close();
  ASSERT_EQ(f.ui.shown.size(), 1u);
  EXPECT_EQ(f.ui.shown[0].text, "Não foi possível excluir C:\\Quorvelin\\dwd\\preso.zip");
  EXPECT_EQ(f.ui.shown[0].caption, "Atenção");
  EXPECT_FALSE(f.drive.exists("C:\\Quorvelin\\dwd\\a.zip"));
  EXPECT_FALSE(f.drive.exists("C:\\Quorvelin\\dwd\\z.zip"));
}
#endif

struct LauncherPackage : ::testing::Test {
  test::HttpTestServer server;
  std::string folder = test::HttpTestServer::uniqueFolder();
  std::unique_ptr<LauncherFixture> f;
  void SetUp() override {
    f = std::make_unique<LauncherFixture>("C:\\Quorvelin\\Vantorim.exe", server.url(folder + "/"));
    f->drive.write("C:\\Quorvelin\\Vantorim.exe", "versão antiga");
    f->drive.write("C:\\Quorvelin\\dwd\\sobra.txt", "de uma execução anterior");
  }
};

TEST_F(LauncherPackage, InstallsTheNewExecutableAndEmptiesTheDownloadFolder) {
  test::ZipWriter zip;
  zip.add("Vantorim.exe", "versão nova");
  server.put(folder + "/Quorvelin/upd/Vantorim.zip", zip.finish());
  EXPECT_TRUE(f->dbOnline.processoBaixaVantorim());
  EXPECT_EQ(f->drive.read("C:\\Quorvelin\\Vantorim.exe"), "versão nova");
  EXPECT_TRUE(platform::listDirectory("C:\\Quorvelin\\dwd", "*").empty());
  EXPECT_TRUE(f->ui.shown.empty());
  // Seven steps of half a second each.
  EXPECT_EQ(f->clock.pauses().size(), 7u);
  EXPECT_EQ(f->clock.totalPaused().count(), 3500);
}

TEST_F(LauncherPackage, AnAnswerWithoutLengthIsNotFoundAndLeavesAnEmptyPackage) {
  f = std::make_unique<LauncherFixture>("C:\\Quorvelin\\Vantorim.exe", server.url("_/no-length/" + folder + "/"));
  f->drive.write("C:\\Quorvelin\\Vantorim.exe", "versão antiga");
  server.put(folder + "/Quorvelin/upd/Vantorim.zip", "qualquer coisa");
  EXPECT_FALSE(f->dbOnline.processoBaixaVantorim());
  ASSERT_EQ(f->ui.shown.size(), 1u);
  EXPECT_EQ(f->ui.shown[0].text, "O arquivo Vantorim.zip não foi encontrado para download nos servidores da Quorvelin.");
  EXPECT_EQ(f->drive.read("C:\\Quorvelin\\dwd\\Vantorim.zip"), "");
  EXPECT_EQ(f->drive.read("C:\\Quorvelin\\Vantorim.exe"), "versão antiga");
}

TEST_F(LauncherPackage, APackageThatDoesNotUnpackIsReportedTwiceAndNothingIsReplaced) {
  server.put(folder + "/Quorvelin/upd/Vantorim.zip", "isto não é um zip");
  EXPECT_FALSE(f->dbOnline.processoBaixaVantorim());
  ASSERT_EQ(f->ui.shown.size(), 2u);
  EXPECT_EQ(f->ui.shown[0].text.rfind("Houve problemas ao tentar descompactar o arquivo Vantorim.zip. ", 0), 0u);
  EXPECT_NE(f->ui.shown[0].text.find("verificação das versões.\r\nDescrição do erro:\r\n\r\n"), std::string::npos);
  EXPECT_EQ(f->ui.shown[1].text,
            "Não foi encontrado o arquivo correto após o download. Entre em contato com o suporte Quorvelin para "
            "verificação das versões.");
  EXPECT_EQ(f->drive.read("C:\\Quorvelin\\Vantorim.exe"), "versão antiga");
  EXPECT_TRUE(f->drive.exists("C:\\Quorvelin\\dwd\\Vantorim.zip"));  // left untouched
}

TEST_F(LauncherPackage, AnErrorStatusShowsTheDownloadErrorMessage) {
  EXPECT_FALSE(f->dbOnline.processoBaixaVantorim());  // nothing published: 404
  ASSERT_EQ(f->ui.shown.size(), 1u);
  const std::string head =
      "Erro ao realizar o download do arquivo Vantorim.zip. Possíveis causas:\r\n- oscilação da internet ao realizar o "
      "download client-server.\r\n- arquivo baixado corrompido.\r\n\r\nErro informado: \r\n";
  ASSERT_EQ(f->ui.shown[0].text.rfind(head, 0), 0u);
  EXPECT_NE(f->ui.shown[0].text.find("404"), std::string::npos);
}

} // namespace
} // namespace vt
