// The dmutils tool's request lines on hostile input: the JSON parser, the
// request's shape, every operation's argument checks and the operations
// themselves, but for the utility module's ones that act outside the tool
// (hostile input must not start programs, end processes or delete folders).
// Each line of the input is one request, as the tool reads its standard
// input. It stops when a line raises instead of being answered (the tool
// would end there).
#include <cstdint>
#include <exception>
#include <string>

#include "fuzz/fuzz_support.h"
#include "tools/dmutils/registry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const vt::tools::OpRegistry registry = [] {
    vt::tools::OpRegistry r;
    vt::tools::registerAllOps(r, vt::tools::OpReach::ReadOnly);
    return r;
  }();
  (void)vt::fuzz::Workspace::get(); // file operations look on the private drive
  const std::string_view input = vt::fuzz::asText(data, size);
  std::size_t start = 0;
  while (start <= input.size()) {
    std::size_t end = input.find('\n', start);
    if (end == std::string_view::npos) end = input.size();
    try {
      (void)registry.answerInputLine(std::string(input.substr(start, end - start)));
    } catch (const std::exception& e) {
      vt::fuzz::broken(std::string("a request line raised instead of being answered: ") + e.what());
    }
    start = end + 1;
  }
  return 0;
}
