// A stand-in for one of the suite's applications in the demo: a real program
// with the suite's version resource that says it was started and leaves a
// line in "iniciados.txt" beside itself, so the demo can show what the
// launcher handed over to.
#include <filesystem>
#include <fstream>
#include <iostream>

#ifdef _WIN32
#include <windows.h>
#endif

#ifndef VT_DEMO_APPLICATION
#error "VT_DEMO_APPLICATION names the application this program stands for"
#endif

namespace {

std::filesystem::path self(const char* argv0) {
#ifdef _WIN32
  (void)argv0;
  wchar_t path[MAX_PATH];
  const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (n > 0 && n < MAX_PATH) return std::filesystem::path(path);
  return std::filesystem::absolute(argv0);
#else
  return std::filesystem::absolute(argv0);
#endif
}

} // namespace

int main(int, char** argv) {
  const std::filesystem::path program = self(argv[0]);
  std::cout << VT_DEMO_APPLICATION << " iniciado (" << program.filename().string() << ")" << std::endl;
  std::ofstream(program.parent_path() / "iniciados.txt", std::ios::app) << program.filename().string() << '\n';
  return 0;
}
