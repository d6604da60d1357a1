// The implanter of the Windows demo: answers a first run's registration as a
// person at the terminal would, through the dialogs on the screen. It waits
// for the password keypad ("Senha do Desenvolvimento") and types the password
// into it, then the text-input dialog ("Configuração Inicial") for the
// company handle, then confirms the company found ("Informação", Yes).
//   implanter.exe <password> <handle>
// Each dialog is waited for up to two minutes; the exit code is the number
// of dialogs that never showed.
#include <windows.h>
#include <wchar.h>

static HWND waitForDialog(const wchar_t* caption) {
  for (int i = 0; i < 1200; ++i) {
    HWND dialog = FindWindowW(L"#32770", caption);
    if (dialog && IsWindowVisible(dialog)) return dialog;
    Sleep(100);
  }
  return NULL;
}

static void typeInto(HWND edit, const wchar_t* text) {
  for (const wchar_t* c = text; *c; ++c) SendMessageW(edit, WM_CHAR, *c, 1);
}

// The answer is given a moment after the dialog shows, so it can be seen.
static int answer(const wchar_t* caption, int editId, const wchar_t* text, int buttonId) {
  HWND dialog = waitForDialog(caption);
  if (!dialog) return 1;
  Sleep(1500);
  if (text) {
    HWND edit = editId ? GetDlgItem(dialog, editId) : FindWindowExW(dialog, NULL, L"EDIT", NULL);
    typeInto(edit, text);
    Sleep(500);
  }
  PostMessageW(GetDlgItem(dialog, buttonId), BM_CLICK, 0, 0);
  for (int i = 0; i < 100 && IsWindow(dialog); ++i) Sleep(100);
  return 0;
}

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) return 3;
  int missing = 0;
  missing += answer(L"Senha do Desenvolvimento", 101 /* the keypad's edit */, argv[1], 102 /* its OK */);
  missing += answer(L"Configuração Inicial", 0, argv[2], IDOK);
  missing += answer(L"Informação", 0, NULL, IDYES);
  return missing;
}
