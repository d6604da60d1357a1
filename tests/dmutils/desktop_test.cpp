// The operations that open the platform's own programs (calculator, on-screen
// keyboard, help viewer) and the questions about the user and the machine's
// address. The programs are start recorders placed where the operations look:
// on Linux on the test's mapped drive, under Wine in the prefix's own folders
// (which carry no calculator, keyboard or tablet input program).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <regex>
#include <string>
#include <thread>

#ifndef _WIN32
#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "platform/desktop.h"
#include "platform/files.h"
#include "platform/path.h"
#include "tests/dmutils/module_fixture.h"
#include "tests/fixtures/start_recorder.h"

namespace vt {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// A start recorder at a Windows path, for the test's lifetime. Under Wine a
// program of that name the prefix already has is left alone (placed() false).
class PlacedProgram {
public:
  explicit PlacedProgram(std::string windowsPath) : file_(platform::toHost(windowsPath)) {
    std::error_code ec;
    if (fs::exists(file_, ec)) return;
    fs::create_directories(file_.parent_path(), ec);
    fs::remove(log(), ec);
    const std::string bytes = test::recordingExecutable({1, 0, 0, 0});
    FILE* out = std::fopen(file_.string().c_str(), "wb");
    if (!out) return;
    std::fwrite(bytes.data(), 1, bytes.size(), out);
    std::fclose(out);
    fs::permissions(file_, fs::perms::owner_all, ec);
    placed_ = true;
  }
  ~PlacedProgram() {
    if (!placed_) return;
    // The recorder may still be running once its record is written, and
    // Windows keeps a running program's file: wait up to 5 seconds for it to
    // go, or the next run of the suite finds the program already there.
    std::error_code ec;
    for (int i = 0; i < 500 && fs::exists(file_, ec); ++i) {
      if (fs::remove(file_, ec)) break;
      std::this_thread::sleep_for(10ms);
    }
    fs::remove(log(), ec);
  }
  bool placed() const { return placed_; }
  // Waits up to 5 seconds for the program's record of its start.
  bool started() const {
    std::error_code ec;
    for (int i = 0; i < 500; ++i) {
      if (fs::file_size(log(), ec) > 0 && !ec) return true;
      std::this_thread::sleep_for(10ms);
    }
    return false;
  }

private:
  fs::path log() const { return file_.parent_path() / "iniciados.txt"; }
  fs::path file_;
  bool placed_ = false;
};

TEST(abrirCalculadora, OpensTheSystemCalculator) {
  test::ModuleFixture f;
  PlacedProgram calc("C:\\Windows\\System32\\calc.exe");
  ASSERT_TRUE(calc.placed());
  f.dmUtils.abrirCalculadora();
  EXPECT_TRUE(calc.started());
  EXPECT_TRUE(f.ui.shown.empty());
}

TEST(abrirTecladoVirtual, TriesBothKeyboardsUnderTheWaitCursorAndSaysWhenNeitherShows) {
  test::ModuleFixture f;
  PlacedProgram tablet("c:\\program files\\common files\\microsoft shared\\ink\\tabtip.exe");
  PlacedProgram keyboard("C:\\Windows\\system32\\osk.exe");
  ASSERT_TRUE(tablet.placed() && keyboard.placed());
  std::vector<platform::ScreenCursor> cursorAtPause;
  f.clock.onPause = [&](int) { cursorAtPause.push_back(platform::screenCursor()); };
  platform::ScreenCursor cursorAtMessage = platform::ScreenCursor::Default;
  f.ui.onShow = [&](const test::ShownBox&) { cursorAtMessage = platform::screenCursor(); };

  f.dmUtils.abrirTecladoVirtual();

  EXPECT_TRUE(tablet.started());
  EXPECT_TRUE(keyboard.started());
  // The recorders open no keyboard window: after each program its 1.5 seconds.
  EXPECT_EQ(f.clock.pauses(), (std::vector<std::chrono::milliseconds>{1500ms, 1500ms}));
  EXPECT_EQ(cursorAtPause, (std::vector<platform::ScreenCursor>{platform::ScreenCursor::Wait, platform::ScreenCursor::Wait}));
  ASSERT_EQ(f.ui.shown.size(), 1u);
  EXPECT_EQ(f.ui.shown[0].text, "Não foi possível iniciar o teclado virtual.");
  EXPECT_EQ(f.ui.shown[0].caption, "Atenção");
  EXPECT_EQ(cursorAtMessage, platform::ScreenCursor::Wait);
  EXPECT_EQ(platform::screenCursor(), platform::ScreenCursor::Default);
}

TEST(abrirAjuda, AMissingFileOrAViewerThatDoesNotStartIsTold) {
  test::ModuleFixture f;
  f.dmUtils.abrirAjuda(10, f.drive.path("nao-existe.chm"));
  ASSERT_EQ(f.ui.shown.size(), 1u);
  EXPECT_EQ(f.ui.shown[0].text, "Não foi possível encontrar o arquivo de ajuda " + f.drive.path("nao-existe.chm") + ".");
  EXPECT_EQ(f.ui.shown[0].caption, "Atenção");

  // A file the viewer cannot open (Windows), or no viewer at all (Linux
  // without hh.exe on the drive).
  f.drive.write("ajuda.chm", "isto nao e um arquivo de ajuda compilado");
  f.ui.shown.clear();
  f.dmUtils.abrirAjuda(10, f.drive.path("ajuda.chm"));
  ASSERT_EQ(f.ui.shown.size(), 1u);
  EXPECT_EQ(f.ui.shown[0].text, "Não foi possível abrir o arquivo de ajuda " + f.drive.path("ajuda.chm") + ".");
  EXPECT_EQ(f.ui.shown[0].caption, "Atenção");
}

#ifndef _WIN32
TEST(abrirAjuda, StartsTheViewerAtTheHelpContext) {
  test::ModuleFixture f;
  // The viewer records its arguments beside itself.
  f.drive.write("C:\\Windows\\System32\\hh.exe", "#!/bin/sh\nprintf '%s|' \"$@\" > \"${0%/*}/argumentos.txt\"\n");
  fs::permissions(platform::toHost("C:\\Windows\\System32\\hh.exe"), fs::perms::owner_all);
  f.drive.write("ajuda.chm", "x");
  f.dmUtils.abrirAjuda(1234, f.drive.path("ajuda.chm"));
  EXPECT_TRUE(f.ui.shown.empty());
  const std::string record = "C:\\Windows\\System32\\argumentos.txt";
  for (int i = 0; i < 500 && (!f.drive.exists(record) || f.drive.read(record).empty()); ++i)
    std::this_thread::sleep_for(10ms);
  EXPECT_EQ(f.drive.exists(record) ? f.drive.read(record) : "", "-mapid|1234|" + f.drive.path("ajuda.chm") + "|");
}

// Runs `check` in a child process and answers its exit code (-1 when the
// child could not be made or did not end normally).
template <typename Fn>
int inChild(Fn check) {
  pid_t child = fork();
  if (child < 0) return -1;
  if (child == 0) _exit(check());
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(rodandoComoAdmin, IsTrueForTheAdministratorOnlyAndGetIPResolvesTheComputerName) {
  if (geteuid() != 0) {
    EXPECT_FALSE(TdmUtils::rodandoComoAdmin());
    GTEST_SKIP() << "the other user and the host names need the administrator";
  }
  EXPECT_TRUE(TdmUtils::rodandoComoAdmin());
  // An ordinary user ("nobody") is no administrator.
  EXPECT_EQ(inChild([] { return setuid(65534) == 0 && !TdmUtils::rodandoComoAdmin() ? 0 : 1; }), 0);

  // getIP resolves the computer's own name: given the name "localhost" it is
  // the loopback address; a name nothing resolves gives the empty text.
  auto ipWithHostName = [](const char* name) {
    return inChild([name] {
      if (unshare(CLONE_NEWUTS) != 0 || sethostname(name, std::strlen(name)) != 0) return 2;
      return TdmUtils::getIP() == (std::string(name) == "localhost" ? "127.0.0.1" : "") ? 0 : 1;
    });
  };
  EXPECT_EQ(ipWithHostName("localhost"), 0);
  EXPECT_EQ(ipWithHostName("vt-nome-que-nao-resolve.invalid"), 0);
}
#else
TEST(rodandoComoAdmin, WineRunsProgramsAsAMemberOfTheAdministrators) { EXPECT_TRUE(TdmUtils::rodandoComoAdmin()); }
#endif

TEST(getIP, GivesFourDecimalNumbersOfTheComputersAddress) {
  const std::string ip = TdmUtils::getIP();
  std::smatch parts;
  ASSERT_TRUE(std::regex_match(ip, parts, std::regex(R"((\d{1,3})\.(\d{1,3})\.(\d{1,3})\.(\d{1,3}))"))) << ip;
  for (int i = 1; i <= 4; ++i) EXPECT_LE(std::stoi(parts[i].str()), 255) << ip;
}

} // namespace
} // namespace vt
