// dmutils: the utility module's operations for support staff and scripts.
//
// Reads one JSON request per line from standard input and writes one JSON
// answer per line to standard output, in the same order. Empty lines are
// skipped; a line never stops the tool.
//
// Request:  {"op": <operation name>, "args": [<arguments in order>]}
//   Names are the module's own (validaIE, soNumericos, ...). Texts are JSON
//   strings, Integers JSON integers (32-bit), Booleans true/false; a Char is
//   a string of one character. "args" may be left out when empty.
//
// Answer:   {"op": <name>, "result": <value>}
//           {"op": <name>, "result": <value>, "out": {<parameter>: <value>}}
//   "out" carries the out-parameters by their names, e.g. the computed check
//   digit of validaGTIN13: {"op":"validaGTIN13","out":{"ADigCalc":7},"result":true}.
//   An in-out parameter (ADigCalc) may be given as an extra argument; it
//   starts at 0 otherwise.
//
// Error:    {"op": <name>, "error": "unknown operation"}
//           {"op": <name>, "error": "wrong arguments: <which and why>"}
//           {"error": "invalid JSON: ..."}   (no "op" when it cannot be read)
//
// Example:
//   $ echo '{"op":"validaIE","args":["110.042.490.114","SP"]}' | dmutils
//   {"op":"validaIE","result":true}
#include <iostream>
#include <string>

#include "tools/dmutils/registry.h"

int main() {
  std::ios::sync_with_stdio(false);
  vt::tools::OpRegistry registry;
  vt::tools::registerAllOps(registry);
  std::string line;
  while (std::getline(std::cin, line)) {
    if (auto reply = registry.answerInputLine(std::move(line))) std::cout << *reply << '\n' << std::flush;
  }
  return 0;
}
