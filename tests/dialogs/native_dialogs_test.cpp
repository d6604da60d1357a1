// The native Win32 keypad and text-input dialogs, driven for real: a second
// thread plays the user, finds the open dialog by its caption and sends it
// keys and clicks while the test thread waits in the dialog's modal loop.
// Needs a display (CTest runs the suite on a private Xvfb display).
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>

#include "dialogs/forms.h"
#include "dmutils/dm_utils.h"
#include "platform/clock.h"
#include "platform/encoding.h"
#include "platform/input_dialog.h"
#include "tests/support/scripted_ui.h"
#include "ui/win32_keypad.h"

namespace vt {
namespace {

namespace ids = keypad_ids;

std::wstring textOf(HWND hwnd) {
  wchar_t buffer[1024] = {};
  SendMessageW(hwnd, WM_GETTEXT, std::size(buffer), reinterpret_cast<LPARAM>(buffer));
  return buffer;
}

// Polls until the condition holds (up to 5 s).
bool eventually(const std::function<bool()>& condition) {
  for (int i = 0; i < 250; ++i) {
    if (condition()) return true;
    Sleep(20);
  }
  return condition();
}

// A key pressed on the keyboard: posted, so it passes through the dialog's
// own message loop (and its keyboard handling) like a real key.
void pressKey(HWND target, UINT virtualKey) {
  const UINT scan = MapVirtualKeyW(virtualKey, 0 /* MAPVK_VK_TO_VSC */);
  PostMessageW(target, WM_KEYDOWN, virtualKey, 1 | (scan << 16));
  PostMessageW(target, WM_KEYUP, virtualKey, 1 | (scan << 16) | (1u << 30) | (1u << 31));
}

void typeChars(HWND edit, const std::wstring& text) {
  for (wchar_t c : text) SendMessageW(edit, WM_CHAR, c, 1);
}

// The user, on a second thread: waits for the dialog with the caption to show, runs
// the steps on it, and closes it if the steps left it open, so that a fault
// never hangs the suite.
class User {
public:
  User(std::wstring caption, std::function<void(HWND)> steps)
      : thread_([this, caption = std::move(caption), steps = std::move(steps)] {
          HWND dialog = nullptr;
          // Visible: the dialog has built its controls (WM_INITDIALOG) and entered its loop.
          eventually([&] {
            dialog = FindWindowW(L"#32770", caption.c_str());
            return dialog && IsWindowVisible(dialog);
          });
          found = dialog != nullptr;
          if (!dialog) return;
          steps(dialog);
          if (!eventually([&] { return !IsWindow(dialog); })) {
            leftOpen = true;
            PostMessageW(dialog, WM_CLOSE, 0, 0);
          }
        }) {}
  ~User() { finish(); }
  void finish() {
    if (thread_.joinable()) thread_.join();
  }

  bool found = false;
  bool leftOpen = false;

private:
  std::thread thread_; // last: it starts once the flags exist
};

struct NativeKeypadFixture {
  test::ScriptedMessageUi ui;
  platform::ManualClock clock;
  TdmUtils dmUtils{clock, ui};
  TdmForms dmForms;
  HWND mainWindow = nullptr;
  Win32Keypad keypad;

  NativeKeypadFixture() {
    dmUtils.attachForms(dmForms);
    dmForms.attachUtils(dmUtils);
    // A stand-in for the main window, for the dialog to centre on.
    mainWindow = CreateWindowExW(0, L"STATIC", L"Vantorim Quorvelin", WS_POPUP | WS_VISIBLE, 60, 40, 400, 250,
                                 nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    keypad.setMainWindow(mainWindow);
    dmForms.attachKeypad(keypad);
  }
  ~NativeKeypadFixture() {
    if (mainWindow) DestroyWindow(mainWindow);
  }

  // formSenhaAdmin(2, ...) answered by the user's steps; the caller's
  // variable starts as «antes».
  std::pair<bool, std::string> ask(const std::function<void(HWND)>& steps, int tag = 2,
                                   const wchar_t* caption = L"Senha do Desenvolvimento") {
    User user(caption, steps);
    std::string password = "antes";
    const bool confirmed = dmForms.formSenhaAdmin(tag, password);
    user.finish();
    EXPECT_TRUE(user.found) << "the keypad dialog did not appear";
    EXPECT_FALSE(user.leftOpen) << "the keypad dialog stayed open";
    return {confirmed, password};
  }
};

TEST(Win32Keypad, ADisplayIsThere) {
  HWND probe = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(probe, nullptr) << "no display: run the suite through CTest, which gives it an Xvfb display";
  DestroyWindow(probe);
}

TEST(Win32Keypad, TheCompactDialogAsTheUserSeesIt) {
  NativeKeypadFixture f;
  struct Seen {
    std::wstring caption, label;
    LONG style = 0;
    int width = 0, height = 0;
    POINT centre{};
    bool panelVisible = true;
    wchar_t passwordChar = 0;
    LRESULT limit = 0;
    LONG okStyle = -1, cancelStyle = -1;
    std::wstring okText, cancelText;
    bool editFocused = false;
  } seen;
  const auto answer = f.ask([&](HWND d) {
    seen.caption = textOf(d);
    seen.style = GetWindowLongW(d, GWL_STYLE);
    RECT r;
    GetWindowRect(d, &r);
    seen.width = r.right - r.left, seen.height = r.bottom - r.top;
    seen.centre = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    seen.label = textOf(GetDlgItem(d, ids::kLabel));
    seen.panelVisible = IsWindowVisible(GetDlgItem(d, ids::kPanel)) != 0;
    HWND edit = GetDlgItem(d, ids::kEdit);
    seen.passwordChar = static_cast<wchar_t>(SendMessageW(edit, EM_GETPASSWORDCHAR, 0, 0));
    seen.limit = SendMessageW(edit, EM_GETLIMITTEXT, 0, 0);
    seen.okStyle = GetWindowLongW(GetDlgItem(d, ids::kOk), GWL_STYLE) & 0x0F;
    seen.cancelStyle = GetWindowLongW(GetDlgItem(d, ids::kCancel), GWL_STYLE) & 0x0F;
    seen.okText = textOf(GetDlgItem(d, ids::kOk));
    seen.cancelText = textOf(GetDlgItem(d, ids::kCancel));
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    GetGUIThreadInfo(GetWindowThreadProcessId(d, nullptr), &gui);
    seen.editFocused = gui.hwndFocus == edit;
    SendMessageW(GetDlgItem(d, ids::kCancel), BM_CLICK, 0, 0);
  });
  EXPECT_FALSE(answer.first);
  EXPECT_EQ(seen.caption, L"Senha do Desenvolvimento");
  EXPECT_EQ(seen.label, L"Digite a Senha Desenvolvedor:");
  EXPECT_EQ(seen.style & WS_CAPTION, WS_CAPTION);
  EXPECT_EQ(seen.style & WS_SYSMENU, 0) << "no close box, no system menu";
  EXPECT_EQ(seen.style & WS_THICKFRAME, 0);
  EXPECT_EQ(seen.width, 282);
  EXPECT_EQ(seen.height, 135);
  EXPECT_NEAR(seen.centre.x, 60 + 200, 1) << "centred on the main window";
  EXPECT_NEAR(seen.centre.y, 40 + 125, 1);
  EXPECT_FALSE(seen.panelVisible);
  EXPECT_EQ(seen.passwordChar, L'*');
  EXPECT_EQ(seen.limit, 255);
  EXPECT_EQ(seen.okStyle, BS_PUSHBUTTON) << "no default button";
  EXPECT_EQ(seen.cancelStyle, BS_PUSHBUTTON);
  EXPECT_EQ(seen.okText, L"OK");
  EXPECT_EQ(seen.cancelText, L"Cancelar");
  EXPECT_TRUE(seen.editFocused);
}

TEST(Win32Keypad, TheKeyboardAndTheButtons) {
  struct Case {
    const char* name;
    std::function<void(HWND)> steps;
    bool confirmed;
    std::string password;
  } cases[] = {
      {"typed, then Enter in the edit",
       [](HWND d) {
         typeChars(GetDlgItem(d, ids::kEdit), L"Senha1");
         pressKey(GetDlgItem(d, ids::kEdit), VK_RETURN);
       },
       true, "Senha1"},
      {"typed, then OK",
       [](HWND d) {
         typeChars(GetDlgItem(d, ids::kEdit), L"ção");
         SendMessageW(GetDlgItem(d, ids::kOk), BM_CLICK, 0, 0);
       },
       true, "ção"},
      {"OK on an empty edit", [](HWND d) { SendMessageW(GetDlgItem(d, ids::kOk), BM_CLICK, 0, 0); }, true, ""},
      {"Esc does nothing, then OK",
       [](HWND d) {
         typeChars(GetDlgItem(d, ids::kEdit), L"abc");
         pressKey(GetDlgItem(d, ids::kEdit), VK_ESCAPE);
         PostMessageW(GetDlgItem(d, ids::kOk), BM_CLICK, 0, 0);
       },
       true, "abc"},
      {"Cancelar",
       [](HWND d) {
         typeChars(GetDlgItem(d, ids::kEdit), L"abc");
         SendMessageW(GetDlgItem(d, ids::kCancel), BM_CLICK, 0, 0);
       },
       false, "antes"},
      {"a close request",
       [](HWND d) {
         typeChars(GetDlgItem(d, ids::kEdit), L"abc");
         PostMessageW(d, WM_CLOSE, 0, 0);
       },
       false, "antes"},
      {"300 characters typed",
       [](HWND d) {
         typeChars(GetDlgItem(d, ids::kEdit), std::wstring(300, L'x'));
         SendMessageW(GetDlgItem(d, ids::kOk), BM_CLICK, 0, 0);
       },
       true, std::string(255, 'x')},
  };
  for (const auto& c : cases) {
    NativeKeypadFixture f;
    EXPECT_EQ(f.ask(c.steps), std::make_pair(c.confirmed, c.password)) << c.name;
  }
}

TEST(Win32Keypad, TheTouchKeypadTypesIntoTheEditWhichKeepsTheFocus) {
  NativeKeypadFixture f;
  f.dmUtils.gTouch = true;
  int width = 0, height = 0;
  bool panelVisible = false;
  std::wstring afterDigits, afterBackSpace, afterEsc, afterMouse;
  bool editFocused = false;
  const auto answer = f.ask(
      [&](HWND d) {
        RECT r;
        GetWindowRect(d, &r);
        width = r.right - r.left, height = r.bottom - r.top;
        HWND panel = GetDlgItem(d, ids::kPanel);
        HWND edit = GetDlgItem(d, ids::kEdit);
        panelVisible = IsWindowVisible(panel) != 0;
        auto click = [&](int id) { SendMessageW(GetDlgItem(panel, id), BM_CLICK, 0, 0); };
        click(ids::kDigit0 + 1), click(ids::kDigit0 + 2), click(ids::kDigit0 + 3);
        afterDigits = textOf(edit);
        click(ids::kBackSpace);
        afterBackSpace = textOf(edit);
        click(ids::kEsc);
        afterEsc = textOf(edit);
        // A real click of the mouse on 7.
        HWND seven = GetDlgItem(panel, ids::kDigit0 + 7);
        PostMessageW(seven, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
        PostMessageW(seven, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
        eventually([&] { return textOf(edit) == L"7"; });
        afterMouse = textOf(edit);
        GUITHREADINFO gui{};
        gui.cbSize = sizeof gui;
        GetGUIThreadInfo(GetWindowThreadProcessId(d, nullptr), &gui);
        editFocused = gui.hwndFocus == edit;
        click(ids::kDigit0);
        pressKey(edit, VK_RETURN);
      },
      2);
  EXPECT_EQ(width, 347);
  EXPECT_EQ(height, 396);
  EXPECT_TRUE(panelVisible);
  EXPECT_EQ(afterDigits, L"123");
  EXPECT_EQ(afterBackSpace, L"12");
  EXPECT_EQ(afterEsc, L"");
  EXPECT_EQ(afterMouse, L"7");
  EXPECT_TRUE(editFocused);
  EXPECT_EQ(answer, std::make_pair(true, std::string("70")));
}

TEST(Win32Keypad, OtherTagsKeepTheDesignWording) {
  NativeKeypadFixture f;
  std::wstring label;
  const auto answer = f.ask(
      [&](HWND d) {
        label = textOf(GetDlgItem(d, ids::kLabel));
        SendMessageW(GetDlgItem(d, ids::kOk), BM_CLICK, 0, 0);
      },
      0, L"Acesso Restrito");
  EXPECT_TRUE(answer.first);
  EXPECT_EQ(label, L"Digite a Senha do Administrador: ");
}

constexpr wchar_t kCaption[] = L"Configuração Inicial";
constexpr char kPrompt[] = "Digite o handle do cliente que o Vantorim irá trabalhar inicialmente:";

struct InputAnswer {
  bool confirmed;
  std::string value;
};

InputAnswer query(const std::function<void(HWND)>& steps, std::string value = "antes") {
  User user(kCaption, steps);
  auto input = platform::makeNativeInputUi();
  const bool confirmed = input->inputQuery(platform::wideToUtf8(kCaption), kPrompt, value);
  user.finish();
  EXPECT_TRUE(user.found) << "the text-input dialog did not appear";
  EXPECT_FALSE(user.leftOpen) << "the text-input dialog stayed open";
  return {confirmed, value};
}

// The text-input dialog's controls, found by their class.
struct InputControls {
  HWND prompt = nullptr, edit = nullptr, ok = nullptr, cancel = nullptr;
};

InputControls controlsOf(HWND dialog) {
  InputControls c;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t cls[32] = {};
    GetClassNameW(child, cls, 32);
    const std::wstring name = cls, text = textOf(child);
    if (_wcsicmp(cls, L"Static") == 0) c.prompt = child;
    if (_wcsicmp(cls, L"Edit") == 0) c.edit = child;
    if (_wcsicmp(cls, L"Button") == 0 && text == L"OK") c.ok = child;
    if (_wcsicmp(cls, L"Button") == 0 && text == L"Cancelar") c.cancel = child;
  }
  return c;
}

TEST(NativeInputUi, ShowsCaptionPromptAndValueAndAnswersTheEditsText) {
  std::wstring prompt, initial;
  bool promptFits = false;
  const InputAnswer answer = query(
      [&](HWND d) {
        const InputControls c = controlsOf(d);
        prompt = textOf(c.prompt);
        initial = textOf(c.edit);
        // The whole prompt fits on its line.
        HDC dc = GetDC(c.prompt);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(c.prompt, WM_GETFONT, 0, 0)));
        SIZE text{};
        GetTextExtentPoint32W(dc, prompt.c_str(), static_cast<int>(prompt.size()), &text);
        SelectObject(dc, old);
        ReleaseDC(c.prompt, dc);
        RECT r;
        GetClientRect(c.prompt, &r);
        promptFits = r.right >= text.cx;
        SendMessageW(c.edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Açaí 53"));
        SendMessageW(c.ok, BM_CLICK, 0, 0);
      },
      "12");
  EXPECT_EQ(prompt, platform::utf8ToWide(kPrompt));
  EXPECT_EQ(initial, L"12");
  EXPECT_TRUE(promptFits);
  EXPECT_TRUE(answer.confirmed);
  EXPECT_EQ(answer.value, "Açaí 53");
}

TEST(NativeInputUi, EnterConfirmsAndEscCancelarOrCloseCancel) {
  struct Case {
    const char* name;
    std::function<void(HWND)> steps;
    bool confirmed;
    std::string value;
  } cases[] = {
      {"Enter",
       [](HWND d) {
         const InputControls c = controlsOf(d);
         typeChars(c.edit, L"53");
         pressKey(c.edit, VK_RETURN);
       },
       true, "53"},
      {"Esc",
       [](HWND d) {
         const InputControls c = controlsOf(d);
         typeChars(c.edit, L"53");
         pressKey(c.edit, VK_ESCAPE);
       },
       false, "antes"},
      {"Cancelar",
       [](HWND d) {
         const InputControls c = controlsOf(d);
         typeChars(c.edit, L"53");
         SendMessageW(c.cancel, BM_CLICK, 0, 0);
       },
       false, "antes"},
      {"the close box", [](HWND d) { PostMessageW(d, WM_CLOSE, 0, 0); }, false, "antes"},
      {"OK on an empty edit",
       [](HWND d) {
         const InputControls c = controlsOf(d);
         SendMessageW(c.edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
         SendMessageW(c.ok, BM_CLICK, 0, 0);
       },
       true, ""},
  };
  for (const auto& c : cases) {
    const InputAnswer answer = query(c.steps);
    EXPECT_EQ(answer.confirmed, c.confirmed) << c.name;
    EXPECT_EQ(answer.value, c.value) << c.name;
  }
}

} // namespace
} // namespace vt
