#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>
#include <thread>

#include "platform/process.h"
#include "tests/dmutils/module_fixture.h"
#include "tests/fixtures/pe_builder.h"

namespace vt {
namespace {

TEST(shellExecuta, AMissingFileGivesItsTextOrItsCode) {
  test::ModuleFixture f;
  const std::string missing = f.drive.path("nao-existe.exe");
  EXPECT_EQ(f.dmUtils.shellExecuta(missing, "", false, 0), "Aquivo não encontrado");
  EXPECT_EQ(f.dmUtils.shellExecuta(missing, "", true, 0), "2");
}

#ifndef _WIN32
TEST(shellExecuta, StartsAProgramWithoutWaitingAndPassesItsParameters) {
  test::ModuleFixture f;
  f.drive.write("prog.sh", "#!/bin/sh\necho \"$1|$2\" > \"$3\"\n");
  std::filesystem::permissions(f.drive.host("prog.sh"), std::filesystem::perms::owner_all);
  const std::string out = f.drive.host("saida.txt").string();
  EXPECT_EQ(f.dmUtils.shellExecuta(f.drive.path("prog.sh"), "um \"dois tres\" " + out, false, 0), "");
  for (int i = 0; i < 200 && !f.drive.exists("saida.txt"); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  for (int i = 0; i < 200 && f.drive.read("saida.txt").empty(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_EQ(f.drive.read("saida.txt"), "um|dois tres\n");
}

TEST(shellOpen, AFileTheKernelDoesNotRunItselfRunsThroughTheShellWithOurEnvironment) {
  test::ModuleFixture f;
  setenv("VT_HERDADO", "herdado", 1);
  test::PeOptions pe;
  pe.shellLine = test::kStartMark;
  const struct {
    const char* name;
    std::string bytes;
    std::string expected;
  } cases[] = {
      {"semcabecalho.sh", "echo \"$VT_HERDADO $1\" >> \"${0%/*}/iniciados.txt\"\n", "herdado um\n"},
      {"Caspelo.exe", test::buildPe(pe).bytes, f.drive.host("Caspelo.exe").string() + "\n"},
  };
  for (const auto& c : cases) {
    std::filesystem::remove(f.drive.host("iniciados.txt"));
    f.drive.write(c.name, c.bytes);
    std::filesystem::permissions(f.drive.host(c.name), std::filesystem::perms::owner_all);
    EXPECT_GT(platform::shellOpen(f.drive.path(c.name), "um", platform::kShowNormal), 32) << c.name;
    for (int i = 0; i < 300 && (!f.drive.exists("iniciados.txt") || f.drive.read("iniciados.txt").empty()); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(f.drive.exists("iniciados.txt") ? f.drive.read("iniciados.txt") : "", c.expected) << c.name;
  }
  unsetenv("VT_HERDADO");
  // The shell line leaves the file a Windows executable with its version.
  EXPECT_EQ(TdmUtils::GetExeVersion(f.drive.path("Caspelo.exe")), "V1.00.00.00");
}

TEST(shellExecuta, AProgramStillBeingWrittenIsASharingViolationNotAStart) {
  test::ModuleFixture f;
  f.drive.write("gravando.sh", "#!/bin/sh\necho iniciado > \"${0%/*}/iniciados.txt\"\n");
  std::filesystem::permissions(f.drive.host("gravando.sh"), std::filesystem::perms::owner_all);
  {
    std::ofstream writing(f.drive.host("gravando.sh"), std::ios::app);
    ASSERT_TRUE(writing.is_open());
    EXPECT_EQ(f.dmUtils.shellExecuta(f.drive.path("gravando.sh"), "", false, 0), "Violação de compartilhamento");
    EXPECT_EQ(f.dmUtils.shellExecuta(f.drive.path("gravando.sh"), "", true, 0), "26");
  }
  // Written and closed, the same file starts.
  EXPECT_EQ(f.dmUtils.shellExecuta(f.drive.path("gravando.sh"), "", false, 0), "");
  for (int i = 0; i < 300 && !f.drive.exists("iniciados.txt"); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_TRUE(f.drive.exists("iniciados.txt"));
}

TEST(shellExecuta, NoErrorNumberReadsAsTheEmptyTextOfSuccess) {
  const std::set<long> named = {2, 3, 5, 8, 26, 27, 28, 29, 30, 31, 32};
  for (int err = 1; err < 256; ++err) {
    const long code = platform::shellCodeForErrno(err);
    EXPECT_TRUE(named.count(code)) << "errno " << err << " gives " << code;
  }
  EXPECT_EQ(platform::shellCodeForErrno(ETXTBSY), 26);
  EXPECT_EQ(platform::shellCodeForErrno(EIO), 29);
}

TEST(shellExecuta, AFileWithoutTheRunBitIsAccessDenied) {
  test::ModuleFixture f;
  f.drive.write("dados.txt", "x");
  std::filesystem::permissions(f.drive.host("dados.txt"), std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  EXPECT_EQ(f.dmUtils.shellExecuta(f.drive.path("dados.txt"), "", false, 0), "Acesso negado");
  EXPECT_EQ(f.dmUtils.shellExecuta(f.drive.path("dados.txt"), "", true, 0), "5");
}
#endif

TEST(IsRunningProcess, FindsThisProgramByNameAndCountsCopies) {
  // The snapshot's entry for this test program.
  std::string self;
  for (const auto& p : platform::processSnapshot())
    if (p.pid == platform::currentProcessId()) self = p.exeName;
  ASSERT_FALSE(self.empty());
  std::string upper = self;
  for (auto& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  EXPECT_TRUE(TdmUtils::IsRunningProcess(self, 1));
  EXPECT_TRUE(TdmUtils::IsRunningProcess(upper, 1));
  EXPECT_FALSE(TdmUtils::IsRunningProcess(upper == self ? self + "x" : upper, 0));
  // One copy runs: a second is not there.
  EXPECT_FALSE(TdmUtils::IsRunningProcess(self, 0));
  EXPECT_FALSE(TdmUtils::IsRunningProcess("nenhum-programa-assim.exe", 1));
}

TEST(killTask, ANameNoProcessHasGivesZero) { EXPECT_EQ(TdmUtils::killTask("nenhum-programa-assim.exe"), 0); }

TEST(checkEssencials, StopsAtTheFirstMissingFileWithItsPathInTheMessage) {
  test::ModuleFixture f;
  f.drive.installRoot();
#ifdef _WIN32
  // C:\Windows\System is the real one here: only the first file is ours to place.
  EXPECT_FALSE(f.dmUtils.checkEssencials());
  ASSERT_EQ(f.ui.shown.size(), 1u);
  EXPECT_EQ(f.ui.shown[0].text,
            "Não foi possível encontrar a \"C:\\Quorvelin\\libmySQL.dll\" para o funcionamento correto de sistema.");
#else
  const char* files[] = {"C:\\Quorvelin\\libmySQL.dll",     "C:\\Windows\\System\\Zendral.dll",
                         "C:\\Windows\\System\\libeay32.dll", "C:\\Windows\\System\\MP2032.dll",
                         "C:\\Windows\\System\\P05.dll",      "C:\\Windows\\System\\SiUSBXp.dll",
                         "C:\\Windows\\System\\ssleay32.dll"};
  for (const char* missing : files) {
    for (const char* file : files) {
      if (file != missing) f.drive.write(file, "x");
    }
    std::filesystem::remove(f.drive.host(missing));
    f.ui.shown.clear();
    EXPECT_FALSE(f.dmUtils.checkEssencials());
    ASSERT_EQ(f.ui.shown.size(), 1u);
    EXPECT_EQ(f.ui.shown[0].caption, "Atenção");
    EXPECT_EQ(f.ui.shown[0].text,
              std::string("Não foi possível encontrar a \"") + missing + "\" para o funcionamento correto de sistema.");
  }
  f.drive.write(files[6], "x");
  f.ui.shown.clear();
  EXPECT_TRUE(f.dmUtils.checkEssencials());
  EXPECT_TRUE(f.ui.shown.empty());
#endif
}

TEST(MachineQueries, AnswerWithoutFailing) {
  EXPECT_FALSE(TdmUtils::pubNomeComputador().empty());
  EXPECT_LE(TdmUtils::pubNomeComputador().size(), 15u);
  EXPECT_FALSE(TdmUtils::sysUserName().empty());
  EXPECT_EQ(TdmUtils::sysUserName().find('\0'), std::string::npos);
#ifdef _WIN32
  // Wine here is a 64-bit Windows: the 32-bit program would run under WOW64
  // and answer true; this 64-bit test build is no WOW64 process.
  EXPECT_EQ(TdmUtils::isWindows64(), sizeof(void*) == 4);
#else
  EXPECT_TRUE(TdmUtils::isWindows64());
#endif
  EXPECT_FALSE(TdmUtils::verificaPing(""));
  EXPECT_FALSE(TdmUtils::verificaPing("nome-que-nao-resolve.invalid"));
}

#ifndef _WIN32
TEST(MachineQueries, TheSimulatedRegistryAnswersLikeTheWindowsOne) {
  test::TempDrive drive;
  const std::string key = "C:\\.vantorim\\registry\\HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\";
  EXPECT_EQ(TdmUtils::winVersion(), " -  - ");
  drive.write(key + "ProductName", "Windows 10 Pro\n");
  drive.write(key + "CurrentBuild", "19045");
  EXPECT_EQ(TdmUtils::winVersion(), "Windows 10 Pro -  - 19045");
  EXPECT_FALSE(TdmUtils::verificaVisualCInstalado());
  drive.write("C:\\.vantorim\\registry\\HKLM\\SOFTWARE\\Classes\\Installer\\Dependencies\\"
              "{f65db027-aff3-4070-886a-0d87064aabb1}\\Version", "14");
  EXPECT_TRUE(TdmUtils::verificaVisualCInstalado());
}
#endif

TEST(caminhoDirAbsoluto, ExpandsDefinedVariablesAndKeepsUndefinedOnes) {
#ifdef _WIN32
  _putenv_s("VT_TESTE_VAR", "C:\\Pasta");
#else
  setenv("VT_TESTE_VAR", "C:\\Pasta", 1);
#endif
  EXPECT_EQ(TdmUtils::caminhoDirAbsoluto("%VT_TESTE_VAR%\\temp"), "C:\\Pasta\\temp");
  EXPECT_EQ(TdmUtils::caminhoDirAbsoluto("%VT_NAO_DEFINIDA%\\x"), "%VT_NAO_DEFINIDA%\\x");
  EXPECT_EQ(TdmUtils::caminhoDirAbsoluto("%VT_NAO_DEFINIDA%%VT_TESTE_VAR%"), "%VT_NAO_DEFINIDA%C:\\Pasta");
}

} // namespace
} // namespace vt
