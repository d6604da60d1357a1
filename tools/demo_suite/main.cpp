// A stand-in for one of the suite's applications in the demo: a real program
// with the suite's version resource that says it was started and leaves a
// line in "iniciados.txt" beside itself, so the demo can show what the
// launcher handed over to.
#include <filesystem>
#include <fstream>
#include <iostream>

#ifndef VT_DEMO_APPLICATION
#error "VT_DEMO_APPLICATION names the application this program stands for"
#endif

int main(int, char** argv) {
  const std::filesystem::path self = std::filesystem::absolute(argv[0]);
  std::cout << VT_DEMO_APPLICATION << " iniciado (" << self.filename().string() << ")" << std::endl;
  std::ofstream(self.parent_path() / "iniciados.txt", std::ios::app) << self.filename().string() << '\n';
  return 0;
}
