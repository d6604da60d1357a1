// dmutils: reads one JSON request per line from standard input, such as
//   {"op":"validaIE","args":["110.042.490.114","SP"]}
// and writes one JSON answer per line: {"op":...,"result":...} (plus "out" for
// out-parameters) or {"op":...,"error":...}. Empty lines are skipped.
#include <iostream>
#include <string>

#include "tools/dmutils/registry.h"

int main() {
  std::ios::sync_with_stdio(false);
  vt::tools::OpRegistry registry;
  vt::tools::registerAllOps(registry);
  std::string line;
  while (std::getline(std::cin, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find_first_not_of(" \t") == std::string::npos) continue;
    std::cout << registry.answer(line) << '\n' << std::flush;
  }
  return 0;
}
