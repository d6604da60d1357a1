// The Windows program and its native window, for real under Wine on a private
// display: Vantorim.exe started as a terminal would start it, its message
// boxes read and answered by the test; and the window's text box and title
// as the run's routines change them.
#include <windows.h>
#include <wininet.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "launcher/frm_vantorim.h"
#include "platform/encoding.h"
#include "platform/path.h"
#include "platform/scoped_handle_win.h"
#include "tests/launcher/launcher_fixture.h"
#include "tests/support/client_library.h"
#include "tests/support/temp_drive.h"
#include "ui/win32_window.h"

namespace vt {
namespace {

namespace fs = std::filesystem;

std::wstring textOf(HWND hwnd) {
  const int length = GetWindowTextLengthW(hwnd);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  GetWindowTextW(hwnd, text.data(), length + 1);
  text.resize(static_cast<size_t>(length));
  return text;
}

std::wstring classOf(HWND hwnd) {
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  return name;
}

std::string utf8(const std::wstring& text) { return platform::wideToUtf8(text); }

struct SeenBox {
  std::string caption, text;
  std::string mainWindowTitle;  // the program's main window while the box showed
  bool operator==(const SeenBox& o) const { return caption == o.caption && text == o.text; }
};

void PrintTo(const SeenBox& box, std::ostream* out) { *out << "[" << box.caption << "] " << box.text; }

struct ProcessWindows {
  DWORD pid = 0;
  std::vector<HWND> boxes;
  HWND mainWindow = nullptr;
};

BOOL CALLBACK collect(HWND hwnd, LPARAM data) {
  auto* found = reinterpret_cast<ProcessWindows*>(data);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != found->pid) return TRUE;
  const std::wstring name = classOf(hwnd);
  if (name == L"#32770" && IsWindowVisible(hwnd)) found->boxes.push_back(hwnd);
  if (name == L"TfrmVantorim") found->mainWindow = hwnd;
  return TRUE;
}

struct ProgramRun {
  std::vector<SeenBox> boxes;
  DWORD exitCode = 0xFFFFFFFF;
  bool ended = false;
};

// Starts the program (false when it does not start).
bool startProgram(const std::string& exe, PROCESS_INFORMATION& process) {
  std::wstring commandLine = L"\"" + platform::utf8ToWide(exe) + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  process = PROCESS_INFORMATION{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    ADD_FAILURE() << "the program did not start: error " << GetLastError();
    return false;
  }
  return true;
}

// A message box the program shows, once it is complete (nullptr when none
// comes within the time).
HWND waitForBox(DWORD pid, std::chrono::seconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < deadline) {
    ProcessWindows found;
    found.pid = pid;
    EnumWindows(collect, reinterpret_cast<LPARAM>(&found));
    for (HWND box : found.boxes)
      if (GetDlgItem(box, 0xFFFF) && GetDlgItem(box, IDOK)) return box;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return nullptr;
}

ProgramRun playUser(PROCESS_INFORMATION& process);

// Starts the program and plays the user: every message box it shows is read
// (caption, text, and the main window's title at that moment) and answered
// with OK, until the process ends (at most 60 s).
ProgramRun runProgram(const std::string& exe) {
  PROCESS_INFORMATION process{};
  if (!startProgram(exe, process)) return ProgramRun{};
  return playUser(process);
}

ProgramRun playUser(PROCESS_INFORMATION& process) {
  ProgramRun run;
  std::vector<HWND> answered;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (std::chrono::steady_clock::now() < deadline) {
    if (WaitForSingleObject(process.hProcess, 20) == WAIT_OBJECT_0) {
      run.ended = true;
      break;
    }
    ProcessWindows found;
    found.pid = process.dwProcessId;
    EnumWindows(collect, reinterpret_cast<LPARAM>(&found));
    for (HWND box : found.boxes) {
      if (std::find(answered.begin(), answered.end(), box) != answered.end()) continue;
      HWND text = GetDlgItem(box, 0xFFFF);  // the message box's text
      HWND ok = GetDlgItem(box, IDOK);
      if (!text || !ok) continue;  // still being built
      answered.push_back(box);
      run.boxes.push_back({utf8(textOf(box)), utf8(textOf(text)),
                           found.mainWindow ? utf8(textOf(found.mainWindow)) : "(no main window)"});
      PostMessageW(ok, BM_CLICK, 0, 0);
    }
  }
  if (!run.ended) TerminateProcess(process.hProcess, 99);
  GetExitCodeProcess(process.hProcess, &run.exitCode);
  platform::ScopedHandle(process.hThread).close();
  platform::ScopedHandle(process.hProcess).close();
  return run;
}

// The program and its credentials library, as the build made them, in a folder
// of the drive.
void install(const std::string& folder) {
  const fs::path target = platform::toHost(folder);
  fs::create_directories(target);
  for (const char* file : {"Vantorim.exe", "Zendral.dll"})
    fs::copy_file(test::testProgramFolder() / file, target / file, fs::copy_options::overwrite_existing);
}

TEST(NativeProgram, ADisplayIsThere) {
  HWND probe = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(probe, nullptr) << "no display: run the suite through CTest, which gives it an Xvfb display";
  DestroyWindow(probe);
}

TEST(NativeProgram, TwoFailingStartupChecksShowBothBoxesInOrderAndTheProgramEnds) {
  test::TempDrive drive;
  drive.installRoot();  // there, but the program does not run from it
  const std::string folder = drive.path("Outra\\");
  install(folder);
  DWORD flags = 0;
  const bool online = InternetGetConnectedState(&flags, 0) != FALSE;

  const ProgramRun run = runProgram(folder + "Vantorim.exe");
  ASSERT_TRUE(run.ended) << "the program did not end";
  EXPECT_EQ(run.exitCode, 0u);
  std::vector<SeenBox> expected;
  if (!online) expected.push_back({"Atenção", "O Vantorim não pode ser executado sem Internet."});
  expected.push_back({"Atenção", "O Vantorim não pode ser executado fora da \"C:\\Quorvelin\\\"."});
  expected.push_back(
      {"Atenção", "Não foi possível encontrar a \"C:\\Quorvelin\\libmySQL.dll\" para o funcionamento correto do Vantorim."});
  EXPECT_EQ(run.boxes, expected);
  for (const SeenBox& box : run.boxes) EXPECT_EQ(box.mainWindowTitle, "") << "a failed check empties the caption";
  // The checks went on to their common end: the data path is written.
  EXPECT_EQ(drive.read("C:\\Quorvelin\\Config.ini"), "[CONEXAO]\r\nCaminho dos dados=LocalHost\r\n");
  EXPECT_FALSE(drive.exists("C:\\Quorvelin\\logs")) << "no phase ran";
}

// A second launcher while one runs: the first is held at its first message
// box; the second ends at once with its own exit status, shows nothing and
// writes nothing. Once the first has ended, the next one runs.
TEST(NativeProgram, ASecondLauncherWhileOneRunsEndsAtOnceWithoutABoxOrAWrite) {
  test::TempDrive drive;
  drive.installRoot();
  const std::string elsewhere = drive.path("Outra\\");
  install(elsewhere);
  install("C:\\Quorvelin\\");  // without libmySQL.dll: a launcher that runs says so

  PROCESS_INFORMATION first{};
  ASSERT_TRUE(startProgram(elsewhere + "Vantorim.exe", first));
  ASSERT_NE(waitForBox(first.dwProcessId, std::chrono::seconds(60)), nullptr) << "the first launcher shows no box";

  const auto started = std::chrono::steady_clock::now();
  const ProgramRun second = runProgram("C:\\Quorvelin\\Vantorim.exe");
  ASSERT_TRUE(second.ended);
  EXPECT_EQ(second.exitCode, 3u);
  EXPECT_TRUE(second.boxes.empty()) << second.boxes[0].text;
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20)) << "it ends at once";
  EXPECT_FALSE(drive.exists("C:\\Quorvelin\\Config.ini")) << "the second launcher wrote the data path";

  const ProgramRun firstRun = playUser(first);
  ASSERT_TRUE(firstRun.ended);
  EXPECT_EQ(firstRun.exitCode, 0u);
  EXPECT_FALSE(firstRun.boxes.empty());

  const ProgramRun third = runProgram("C:\\Quorvelin\\Vantorim.exe");
  ASSERT_TRUE(third.ended);
  EXPECT_EQ(third.exitCode, 0u);
  ASSERT_FALSE(third.boxes.empty()) << "the next launcher ran";
  EXPECT_EQ(third.boxes.back().text,
            "Não foi possível encontrar a \"C:\\Quorvelin\\libmySQL.dll\" para o funcionamento correto do Vantorim.");
}

// Run by CTest in a network namespace that has only loopback, with a Wine
// server of its own started inside it (Wine asks its server for the network
// adapters: a program in a namespace of its own would still see the host's).
TEST(NativeProgramOffline, WithoutInternetTheOfflineBoxComesFirstAndTheOtherChecksStillSpeak) {
  DWORD flags = 0;
  ASSERT_FALSE(InternetGetConnectedState(&flags, 0)) << "not offline: run the suite through CTest";
  test::TempDrive drive;
  drive.installRoot();
  install("C:\\Quorvelin\\");  // from the install root, but without libmySQL.dll

  const ProgramRun run = runProgram("C:\\Quorvelin\\Vantorim.exe");
  ASSERT_TRUE(run.ended) << "the program did not end";
  EXPECT_EQ(run.exitCode, 0u);
  EXPECT_EQ(run.boxes, (std::vector<SeenBox>{
                           {"Atenção", "O Vantorim não pode ser executado sem Internet."},
                           {"Atenção", "Não foi possível encontrar a \"C:\\Quorvelin\\libmySQL.dll\" para o "
                                       "funcionamento correto do Vantorim."}}));
  EXPECT_EQ(drive.read("C:\\Quorvelin\\Config.ini"), "[CONEXAO]\r\nCaminho dos dados=LocalHost\r\n");
  EXPECT_FALSE(drive.exists("C:\\Quorvelin\\logs")) << "no phase ran";
}

// ---- The native window as the run's routines change it --------------------

struct NativeWindow : ::testing::Test {
  test::LauncherFixture f;
  Win32Window window;
  TfrmVantorim form{f.dmUtils, f.dmOnline, f.clock, window, "http://127.0.0.1:9/"};
  HWND memLog = nullptr;

  void SetUp() override {
    ASSERT_TRUE(window.create(GetModuleHandleW(nullptr)));
    window.attach(form);
    memLog = FindWindowExW(window.handle(), nullptr, L"EDIT", nullptr);
    ASSERT_NE(memLog, nullptr);
  }
  void TearDown() override { DestroyWindow(window.handle()); }
};

TEST_F(NativeWindow, EachLogEntryIsFollowedByAnEmptyLine) {
  form.WriteLogLine("abc");
  form.WriteLogLine("Confere se existe o serviço");
  EXPECT_EQ(utf8(textOf(memLog)), "- abc\r\n\r\n- Confere se existe o serviço\r\n\r\n");
  form.clearLog();
  EXPECT_EQ(textOf(memLog), L"");
}

TEST_F(NativeWindow, TheLogOfALongRunKeepsGrowingPastTheControlsDefaultLimit) {
  std::wstring expected;
  for (int i = 0; i < 2000; ++i) {
    const std::string entry = "Baixando arquivo C:\\Quorvelin\\dwd\\pacote" + std::to_string(i) + ".zip";
    form.WriteLogLine(entry);
    expected += platform::utf8ToWide("- " + entry) + L"\r\n\r\n";
  }
  ASSERT_GT(expected.size(), 32767u);
  EXPECT_EQ(textOf(memLog), expected);
}

TEST_F(NativeWindow, AnEmptiedCaptionEmptiesTheWindowsTitle) {
  EXPECT_EQ(textOf(window.handle()), L"Vantorim Quorvelin");
  form.setCaption("");
  EXPECT_EQ(textOf(window.handle()), L"");
  EXPECT_EQ(form.state().caption, "");
}

} // namespace
} // namespace vt
