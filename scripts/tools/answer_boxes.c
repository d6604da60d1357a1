/* answer_boxes <program.exe> <answers file>
 *
 * Starts a Windows program, answers each message box it shows with its OK
 * button, as a person would, and writes one line "caption|text" per box (UTF-8)
 * to the answers file. Ends when the program ends, with the program's exit
 * status, or with 124 when it has not ended within two minutes.
 * Built and run by scripts/check-terminal-build, under Wine on a display. */
#include <windows.h>
#include <stdio.h>

static DWORD target;
static FILE* answers;

static void writeUtf8(const wchar_t* text) {
  char buffer[4096];
  int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, buffer, sizeof buffer, NULL, NULL);
  if (n > 0) fputs(buffer, answers);
}

static BOOL CALLBACK answer(HWND hwnd, LPARAM unused) {
  (void)unused;
  DWORD pid = 0;
  wchar_t name[64] = L"";
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != target || !IsWindowVisible(hwnd)) return TRUE;
  GetClassNameW(hwnd, name, 64);
  HWND text = GetDlgItem(hwnd, 0xFFFF), ok = GetDlgItem(hwnd, IDOK);
  if (wcscmp(name, L"#32770") != 0 || !text || !ok) return TRUE;
  wchar_t caption[512] = L"", message[2048] = L"";
  GetWindowTextW(hwnd, caption, 512);
  GetWindowTextW(text, message, 2048);
  writeUtf8(caption);
  fputs("|", answers);
  writeUtf8(message);
  fputs("\n", answers);
  fflush(answers);
  SendMessageW(ok, BM_CLICK, 0, 0);
  return TRUE;
}

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) return 2;
  answers = _wfopen(argv[2], L"w");
  if (!answers) return 2;
  wchar_t commandLine[1024];
  _snwprintf(commandLine, 1024, L"\"%ls\"", argv[1]);
  STARTUPINFOW startup = {sizeof startup};
  PROCESS_INFORMATION process;
  if (!CreateProcessW(argv[1], commandLine, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process)) return 3;
  target = process.dwProcessId;
  for (int waited = 0; waited < 120000; waited += 100) {
    if (WaitForSingleObject(process.hProcess, 100) == WAIT_OBJECT_0) {
      DWORD code = 0;
      GetExitCodeProcess(process.hProcess, &code);
      fclose(answers);
      return (int)code;
    }
    EnumWindows(answer, 0);
  }
  TerminateProcess(process.hProcess, 124);
  fclose(answers);
  return 124;
}
