// Vantorim.exe: creates the application and hands it to the front end.
// Windows: the native window and its message loop. Linux: the console front
// end; the window's show and first activation happen in order, and the
// process ends when the run requests termination.
#include "app/launcher_app.h"
#include "platform/input_dialog.h"
#include "platform/instance_lock.h"
#include "platform/self.h"

#ifndef VT_SERVER_BASE_ADDRESS
#error "VT_SERVER_BASE_ADDRESS names the maker's download web server of this build"
#endif
#ifndef VT_PAUSES_ENABLED
#define VT_PAUSES_ENABLED 1
#endif

#ifdef _WIN32
#include <windows.h>

#include "ui/win32_keypad.h"
#include "ui/win32_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  // Before anything is made or shown: a second launcher ends silently.
  vt::platform::InstanceLock lock = vt::platform::InstanceLock::acquire();
  if (lock.state() == vt::platform::InstanceLock::State::HeldElsewhere) return vt::kAnotherLauncherRunsExitCode;
  const vt::BuildSettings build{VT_SERVER_BASE_ADDRESS, VT_PAUSES_ENABLED != 0};
  auto ui = vt::platform::makeNativeMessageUi();
  vt::Win32Window window;
  if (!window.create(instance)) return 1;
  try {
    // The dialogs of the first-run registration: the password keypad over
    // the main window and the platform's text-input dialog.
    vt::Win32Keypad keypad(window.handle());
    auto input = vt::platform::makeNativeInputUi();
    vt::LauncherApp app(build, *ui, *input, window, vt::platform::currentExecutablePath());
    app.dmForms.attachKeypad(keypad);
    app.run.attachInstanceLock(lock);
    window.attach(app.form());
    return window.run(showCommand);
  } catch (const vt::CredentialsError& e) {
    // The program cannot start without its credentials library.
    ui->show(e.what(), "Vantorim", vt::platform::mb::kOk | 0x10 /* MB_ICONERROR */);
    return 1;
  }
}

#else
#include <iostream>
#include <memory>

#include "platform/console_echo.h"
#include "ui/console_keypad.h"
#include "ui/console_view.h"

int main() {
  // Before anything is made or printed: a second launcher on this drive ends
  // silently.
  vt::platform::InstanceLock lock = vt::platform::InstanceLock::acquire();
  if (lock.state() == vt::platform::InstanceLock::State::HeldElsewhere) return vt::kAnotherLauncherRunsExitCode;
  const vt::BuildSettings build{VT_SERVER_BASE_ADDRESS, VT_PAUSES_ENABLED != 0};
  // On a terminal a download is one line redrawn in place; a file or a pipe
  // gets the plain lines.
  vt::ConsoleView view(std::cout, vt::platform::standardOutputIsTerminal());
  vt::platform::ConsoleMessageUi ui(std::cin, std::cout);
  // The registration's dialogs read their answers from standard input (the
  // password without echo on a terminal).
  vt::ConsoleKeypad keypad = vt::makeStandardConsoleKeypad();
  vt::platform::ConsoleInputUi input(std::cin, std::cout);
  const bool answersFromTerminal = vt::platform::standardInputIsTerminal();
  keypad.endAnsweredLines(!answersFromTerminal);
  input.endAnsweredLines(!answersFromTerminal);
  ui.endAnsweredLines(!answersFromTerminal);
  std::unique_ptr<vt::LauncherApp> started;
  try {
    started = std::make_unique<vt::LauncherApp>(build, ui, input, view, vt::platform::currentExecutablePath());
  } catch (const vt::CredentialsError& e) {
    // The program cannot start without its credentials library.
    ui.show(e.what(), "Vantorim", vt::platform::mb::kOk);
    return 1;
  }
  vt::LauncherApp& app = *started;
  app.dmForms.attachKeypad(keypad);
  app.run.attachInstanceLock(lock);
  app.form().FormShow();
  app.form().FormActivate();
  if (app.form().terminationRequested()) return 0;
  // The run ended without asking to end the program: the window would stay
  // open until the user closes it. A console has nobody to close it.
  app.form().FormClose();
  return 1;
}
#endif
