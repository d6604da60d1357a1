// Whole runs on a drive that fills: the install root is a small tmpfs, and a
// package that does not fit in the download folder, or one whose extraction
// does not, ends the update with its failure message. The installed files
// stay whole and the run does not go on to the hand-over.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/mount.h>

#include <cerrno>
#include <cstring>
#include <random>

#include "online/dm_online.h"
#include "tests/fixtures/zip_writer.h"
#include "tests/launcher/suite_run_support.h"
#include "tests/support/client_library.h"

namespace vt {
namespace {

const platform::FileVersion kOld{2, 3, 10, 0};
const platform::FileVersion kNew{2, 3, 11, 0};
constexpr std::uint64_t kMiB = 1024 * 1024;

class FullDisk : public test::SuiteRun {
protected:
  void SetUp() override {
    SuiteRun::SetUp();
    if (HasFatalFailure()) return;
    // The install root becomes a tmpfs a few times the size of what it holds.
    const std::uint64_t size = 8 * executable(kOld).size() + 2 * kMiB;
    mountPoint_ = f->drive.host("C:\\Quorvelin");
    const std::string options = "size=" + std::to_string(size);
    if (mount("tmpfs", mountPoint_.c_str(), "tmpfs", 0, options.c_str()) != 0)
      GTEST_SKIP() << "a tmpfs cannot be mounted here (" << std::strerror(errno)
                   << "; it needs root or CAP_SYS_ADMIN): no drive that fills can be made";
    mounted_ = true;
    capacity_ = size;
    // What the fixture had put there is under the mount now: again.
    f->drive.write("C:\\Quorvelin\\Vantorim.exe", executable(kLauncherVersion));
    test::placeClientLibrary("C:\\Quorvelin\\libmySQL.dll");
  }
  void TearDown() override {
    if (mounted_) umount2(mountPoint_.c_str(), MNT_DETACH);
    SuiteRun::TearDown();
  }

  std::filesystem::path mountPoint_;
  bool mounted_ = false;
  std::uint64_t capacity_ = 0;
};

// Bytes that do not compress.
std::string noise(std::uint64_t size) {
  std::mt19937_64 random(7);
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(random());
  return bytes;
}

struct FullCase {
  const char* where;
  std::string package;                       // the application whose package overflows the drive
  bool inTheDownload;                        // the package itself does not fit (else: its contents)
  std::string message;                       // how the first message begins
};

void PrintTo(const FullCase& c, std::ostream* out) { *out << c.where; }

class FullDiskRun : public FullDisk, public ::testing::WithParamInterface<FullCase> {};

TEST_P(FullDiskRun, TheUpdateFailsWithItsMessageAndTheInstalledFilesStayWhole) {
  const FullCase& c = GetParam();
  addCompany({53, "2.03.11.00"});
  addCompany({12, "2.03.11.00", 0, "VAREJO", "nuvem-12.quorvelin:3306/loja12"});
  addModules(12, {7});
  const std::vector<std::string> apps = {"Quorvelin", "Pendrak", "Caspelo"};
  for (const std::string& app : apps) {
    install(app + ".exe", kOld);
    if (app != c.package) servePackage("upd", app, kNew);
  }
  {
    test::ZipWriter zip;
    test::ZipEntryOptions runnable;
    runnable.unixMode = 0100755;
    zip.add(c.package + ".exe", executable(kNew), runnable);
    if (c.inTheDownload) {
      test::ZipEntryOptions stored;
      stored.deflate = false;
      zip.add("dados.bin", noise(2 * capacity_), stored);
    } else {
      // A few kilobytes in the package, many times the drive once extracted.
      zip.addGenerated("dados.bin", 4 * capacity_, [](std::uint64_t, char* b, std::size_t n) { std::memset(b, 0, n); });
    }
    server.put(folder_ + "/Quorvelin/upd/" + c.package + ".zip", zip.finish());
  }
  serveReports("upd", {{"venda/padrao.fr3", "padrão novo"}});
  setBaseApplication("Caspelo");
  registerTerminal({ReportRow{12, "", "", std::nullopt}});
  f->drive.write("C:\\Quorvelin\\reports\\venda\\personalizados\\vendas.fr3", "vendas do cliente");
  const std::string before = bancoOnLine();

  runLauncher();

  // The download's or the extraction's own message, first.
  ASSERT_FALSE(f->ui.shown.empty());
  EXPECT_EQ(f->ui.shown[0].caption, "Atenção");
  EXPECT_EQ(f->ui.shown[0].text.rfind(c.message, 0), 0u) << f->ui.shown[0].text;
  if (c.inTheDownload)
    EXPECT_TRUE(logHas("- Falha para baixar o arquivo " + c.package + ".zip. Erro informado: " +
                       f->ui.shown[0].text.substr(f->ui.shown[0].text.rfind('\n') + 1)))
        << "the log line names the error the message names";
  // Nothing reported as success: the run ends by the update's failure.
  EXPECT_TRUE(f->form.terminationRequested());
  EXPECT_EQ(lastLog(2), (std::vector<std::string>{"- Falha ao tentar realizar a atualização dos arquivos",
                                                  "- Encerra a aplicação"}));
  EXPECT_FALSE(logHas("- Processo do Vantorim realizado com sucesso"));
  EXPECT_EQ(bancoOnLine(), before);
  EXPECT_EQ(config("CONEXAO", "CaminhoExterno"), "");
  EXPECT_FALSE(f->drive.exists("C:\\Quorvelin\\iniciados.txt"));
  EXPECT_FALSE(f->dmOnline.connected());
  // Every installed executable is whole: the old build, or the new one where
  // its replacement went through; the one whose package overflowed is old.
  for (const std::string& app : apps) {
    SCOPED_TRACE(app);
    ASSERT_TRUE(f->drive.exists("C:\\Quorvelin\\" + app + ".exe"));
    const std::string bytes = f->drive.read("C:\\Quorvelin\\" + app + ".exe");
    if (app == c.package && c.inTheDownload)
      EXPECT_EQ(bytes, executable(kOld));
    else
      EXPECT_TRUE(bytes == executable(kOld) || bytes == executable(kNew)) << "a damaged executable";
  }
  EXPECT_EQ(f->drive.read("C:\\Quorvelin\\reports\\venda\\personalizados\\vendas.fr3"), "vendas do cliente");
}

INSTANTIATE_TEST_SUITE_P(
    OnASmallDrive, FullDiskRun,
    ::testing::Values(
        FullCase{"a package that does not fit in the download folder", "Caspelo", true,
                 "Erro ao realizar o download do arquivo Caspelo.zip. Possíveis causas:\r\n"},
        FullCase{"a package whose extraction does not fit", "Quorvelin", false,
                 "Houve problemas ao tentar descompactar o arquivo Quorvelin.zip. Isso pode ter acontecido pelo "
                 "arquivo ter sido baixado corrompido"}));

} // namespace
} // namespace vt
#endif
