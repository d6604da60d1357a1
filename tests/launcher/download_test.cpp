// DownloadFile against the test HTTP server on loopback.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/encoding.h"
#include "platform/files.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/scoped_handle_win.h"
#endif

#include "tests/launcher/launcher_fixture.h"
#include "tests/support/http_test_server.h"

namespace vt {
namespace {

using test::LauncherFixture;

struct DownloadFixture : LauncherFixture {
  test::HttpTestServer server;
  std::string folder = test::HttpTestServer::uniqueFolder();
  DownloadFixture() : LauncherFixture("C:\\Quorvelin\\Vantorim.exe", test::HttpTestServer().url()) {
    drive.write("C:\\Quorvelin\\dwd\\.keep", "");
  }
};

TEST(DownloadFile, ThePathFormFetchesTheFileWithTheClientsHeadersAndEndsTheBarAtZero) {
  DownloadFixture f;
  std::string body(300000, '\0');
  for (size_t i = 0; i < body.size(); ++i) body[i] = static_cast<char>(i * 7 + 3);
  f.server.put(f.folder + "/upd/Caspelo.zip", body);
  ASSERT_TRUE(f.form.DownloadFile("Caspelo.zip", "", f.folder + "/upd/", "C:\\Quorvelin\\dwd\\Caspelo.zip"));
  EXPECT_EQ(f.drive.read("C:\\Quorvelin\\dwd\\Caspelo.zip"), body);
  EXPECT_EQ(f.form.state().pgbDownload.position, 0);
  ASSERT_EQ(f.view.downloadMaxima.size(), 1u);
  EXPECT_EQ(f.view.downloadMaxima[0], 300000);
  auto requests = f.server.requestsTo("/" + f.folder + "/upd/Caspelo.zip");
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].method, "HEAD");
  EXPECT_EQ(requests[1].method, "GET");
  EXPECT_EQ(requests[1].header("Accept"), "text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8");
  EXPECT_EQ(requests[1].header("User-Agent"), "Mozilla/3.0 (compatible; Indy Library)");
  EXPECT_TRUE(f.ui.shown.empty());
  EXPECT_EQ(f.form.state().memLog, "- Baixando arquivo C:\\Quorvelin\\dwd\\Caspelo.zip do FTP da Quorvelin\r\n");
}

TEST(DownloadFile, TheReportFormNeedsBothTheHandleAndTheFolder) {
  DownloadFixture f;
  // The report form: base + nuvem/reports/<handle>/<folder>/<file>.
  f.server.put("nuvem/reports/1200/" + f.folder + "/vendas.fr3", "relatorio");
  ASSERT_TRUE(f.form.DownloadFile("vendas.fr3", "1200", f.folder, "C:\\Quorvelin\\dwd\\vendas.fr3"));
  EXPECT_EQ(f.drive.read("C:\\Quorvelin\\dwd\\vendas.fr3"), "relatorio");
  // A handle with an empty folder falls back to the path form.
  f.server.put("v.fr3", "raiz");
  ASSERT_TRUE(f.form.DownloadFile("v.fr3", "1200", "", "C:\\Quorvelin\\dwd\\v.fr3"));
  EXPECT_EQ(f.drive.read("C:\\Quorvelin\\dwd\\v.fr3"), "raiz");
}

TEST(DownloadFile, AnAnswerWithoutLengthIsNotFoundAndLeavesAnEmptyFile) {
  DownloadFixture f;
  f.server.put(f.folder + "/Caspelo.zip", "conteudo");
  f.drive.write("C:\\Quorvelin\\dwd\\Caspelo.zip", "copia anterior");
  EXPECT_FALSE(f.form.DownloadFile("Caspelo.zip", "", "_/no-length/" + f.folder + "/", "C:\\Quorvelin\\dwd\\Caspelo.zip"));
  ASSERT_EQ(f.ui.shown.size(), 1u);
  EXPECT_EQ(f.ui.shown[0].text, "O arquivo Caspelo.zip não foi encontrado para download nos servidores da Quorvelin.");
  EXPECT_EQ(f.ui.shown[0].caption, "Atenção");
  EXPECT_EQ(f.drive.read("C:\\Quorvelin\\dwd\\Caspelo.zip"), "");
  // No failure line for this case: only the download's own entry.
  EXPECT_EQ(f.form.state().memLog, "- Baixando arquivo C:\\Quorvelin\\dwd\\Caspelo.zip do FTP da Quorvelin\r\n");
}

TEST(DownloadFile, AnErrorStatusOrABrokenBodyShowsTheErrorMessageWithTheClientsText) {
  struct Case {
    const char* what;
    std::string folder;
    const char* errorHas;
  };
  DownloadFixture f;
  f.server.put(f.folder + "/Caspelo.zip", std::string(100000, 'z'));
  const Case cases[] = {
      {"404", f.folder + "/nao-existe/", "404"},
      {"cut body", "_/cut/" + f.folder + "/", ""},
      // The GET's answer carries no length and ends at half of what HEAD announced.
      {"GET shorter than HEAD", "_/short-get/" + f.folder + "/", "recebidos 50000 bytes de 100000"},
  };
  for (const auto& c : cases) {
    f.ui.shown.clear();
    f.form.clearLog();
    EXPECT_FALSE(f.form.DownloadFile("Caspelo.zip", "", c.folder, "C:\\Quorvelin\\dwd\\Caspelo.zip")) << c.what;
    ASSERT_EQ(f.ui.shown.size(), 1u) << c.what;
    const std::string& text = f.ui.shown[0].text;
    const std::string head = "Erro ao realizar o download do arquivo Caspelo.zip. Possíveis causas:\r\n"
                             "- oscilação da internet ao realizar o download client-server.\r\n"
                             "- arquivo baixado corrompido.\r\n\r\nErro informado: \r\n";
    ASSERT_EQ(text.rfind(head, 0), 0u) << text;
    const std::string error = text.substr(head.size());
    EXPECT_FALSE(error.empty()) << c.what;
    EXPECT_NE(error.find(c.errorHas), std::string::npos) << error;
    EXPECT_NE(f.form.state().memLog.find("- Falha para baixar o arquivo Caspelo.zip. Erro informado: " + error + "\r\n"),
              std::string::npos)
        << f.form.state().memLog;
    EXPECT_EQ(f.form.state().pgbDownload.position, 0) << c.what;
    EXPECT_TRUE(f.drive.exists("C:\\Quorvelin\\dwd\\Caspelo.zip")) << c.what;  // what arrived stays
  }
}

TEST(DownloadFile, TheLocalFileIsHeldExclusivelyFromTheHeadRequestToTheEndOfTheGet) {
  DownloadFixture f;
  const std::string body(200000, 'p');
  f.server.put(f.folder + "/Caspelo.zip", body);
  // HEAD waits a second before it answers; GET sends half, waits, sends the rest.
  const std::string folder = "_/pause/1/" + f.folder + "/";
  const std::string requested = "/_/pause/1/" + f.folder + "/Caspelo.zip";
  const std::string local = "C:\\Quorvelin\\dwd\\Caspelo.zip";
  bool stored = false;
  std::thread download([&] { stored = f.form.DownloadFile("Caspelo.zip", "", folder, local); });
  auto heldWhenRequested = [&](size_t requests) {
    while (f.server.requestsTo(requested).size() < requests) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    try {
      platform::exclusiveFileSize(local);
      return false;
    } catch (const std::exception&) {
      return true;
    }
  };
  const bool heldDuringHead = heldWhenRequested(1);
  const bool heldDuringGet = heldWhenRequested(2);
  download.join();
  EXPECT_TRUE(heldDuringHead);
  EXPECT_TRUE(heldDuringGet);
  EXPECT_TRUE(stored);
  EXPECT_EQ(f.drive.read(local), body);
  EXPECT_EQ(platform::exclusiveFileSize(local), static_cast<int64_t>(body.size()));  // let go at the end
}

TEST(DownloadFile, AnAnnouncedSizeThatIsNotPositiveAsA32BitNumberIsNotFound) {
  DownloadFixture f;
  // 2 GiB announced (the generated stream): negative as a signed 32-bit number.
  EXPECT_FALSE(f.form.DownloadFile("2147483648", "", "_/stream/", "C:\\Quorvelin\\dwd\\grande.bin"));
  ASSERT_EQ(f.ui.shown.size(), 1u);
  EXPECT_EQ(f.ui.shown[0].text, "O arquivo 2147483648 não foi encontrado para download nos servidores da Quorvelin.");
}

TEST(DownloadFile, AnUnreachableServerIsReportedNotThrown) {
  LauncherFixture f("C:\\Quorvelin\\Vantorim.exe", "http://127.0.0.1:9/");
  f.drive.write("C:\\Quorvelin\\dwd\\.keep", "");
  EXPECT_FALSE(f.form.DownloadFile("Caspelo.zip", "", "Quorvelin/upd/", "C:\\Quorvelin\\dwd\\Caspelo.zip"));
  ASSERT_EQ(f.ui.shown.size(), 1u);
  EXPECT_EQ(f.ui.shown[0].text.rfind("Erro ao realizar o download do arquivo Caspelo.zip.", 0), 0u);
}

#ifdef _WIN32
TEST(DownloadFile, ALocalFileHeldByAnotherProgramIsAnErrorNotAHang) {
  DownloadFixture f;
  f.server.put(f.folder + "/Caspelo.zip", "conteudo");
  f.drive.write("C:\\Quorvelin\\dwd\\Caspelo.zip", "em uso");
  // Another program holds the file and denies every sharing.
  platform::ScopedHandle held(
      CreateFileW(L"C:\\Quorvelin\\dwd\\Caspelo.zip", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(held.valid());
  const bool stored = f.form.DownloadFile("Caspelo.zip", "", f.folder + "/", "C:\\Quorvelin\\dwd\\Caspelo.zip");
  held.close();
  EXPECT_FALSE(stored);
  ASSERT_EQ(f.ui.shown.size(), 1u);
  EXPECT_EQ(f.ui.shown[0].text.rfind("Erro ao realizar o download do arquivo Caspelo.zip.", 0), 0u);
  EXPECT_EQ(f.drive.read("C:\\Quorvelin\\dwd\\Caspelo.zip"), "em uso");
  EXPECT_TRUE(f.server.requestsTo("/" + f.folder + "/Caspelo.zip").empty());  // nothing was asked
}
#endif

} // namespace
} // namespace vt
