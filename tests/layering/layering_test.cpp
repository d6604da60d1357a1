// Every #include of the source tree points to the same layer or one below it:
// app over ui over launcher over terminal over services over dialogs over
// dmutils over online over rules over utils over platform over credentials.
// The command-line tools, the benchmarks and the fuzz targets stand beside
// app, at the top.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// Lower rank = higher layer.
const std::map<std::string, int>& layerRanks() {
  static const std::map<std::string, int> ranks = {
      {"app", 0},      {"tools", 0},    {"bench", 0},     {"fuzz", 0},  {"ui", 1},    {"launcher", 2},
      {"terminal", 3}, {"services", 4}, {"dialogs", 5},   {"dmutils", 6}, {"online", 7},
      {"rules", 8},    {"utils", 9},    {"platform", 10}, {"credentials", 11},
  };
  return ranks;
}

// "file: includes <header> of a layer above it" for each wrong arrow under root.
std::vector<std::string> layeringViolations(const fs::path& root) {
  static const std::regex include(R"re(^\s*#\s*include\s*"([a-z_]+)/[^"]+")re");
  std::vector<std::string> found;
  const auto& ranks = layerRanks();
  for (const auto& [layer, rank] : ranks) {
    if (!fs::is_directory(root / layer)) continue;
    for (const auto& entry : fs::recursive_directory_iterator(root / layer)) {
      const std::string ext = entry.path().extension().string();
      if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp")) continue;
      std::ifstream in(entry.path());
      std::string line;
      for (int number = 1; std::getline(in, line); ++number) {
        std::smatch m;
        if (!std::regex_search(line, m, include)) continue;
        auto target = ranks.find(m[1].str());
        if (target == ranks.end()) continue; // a generated header or a folder outside the layers
        if (target->second < rank)
          found.push_back(fs::relative(entry.path(), root).generic_string() + ":" + std::to_string(number) +
                          ": includes " + m[1].str() + "/, a layer above " + layer + "/");
      }
    }
  }
  return found;
}

TEST(Layering, EveryIncludeOfTheTreePointsDownwards) {
  const auto violations = layeringViolations(VT_SOURCE_DIR);
  std::string all;
  for (const auto& v : violations) all += v + "\n";
  EXPECT_TRUE(violations.empty()) << all;
  // The walk really reads the tree: the launcher includes the utility module.
  EXPECT_TRUE(fs::exists(fs::path(VT_SOURCE_DIR) / "launcher"));
}

TEST(Layering, AnIncludeOfAHigherLayerIsReportedAndOneOfALowerLayerIsNot) {
  const fs::path root = fs::temp_directory_path() / ("vt-layering-" + std::to_string(::getpid()));
  fs::remove_all(root);
  auto write = [&](const std::string& relative, const std::string& text) {
    fs::create_directories((root / relative).parent_path());
    std::ofstream(root / relative) << text;
  };
  write("utils/text.cpp", "#include \"utils/text.h\"\n#include \"platform/files.h\"\n#include \"launcher/run.h\"\n");
  write("launcher/run.cpp", "#include \"utils/text.h\"\n#include \"terminal/x.h\"\n#include <vector>\n");
  write("dmutils/dm.cpp", "  #  include \"dialogs/forms.h\"\n#include \"generated_values.h\"\n");
  write("platform/p.h", "// #include \"ui/x.h\" is not an include\n#include \"rules/codes.h\"\n");
  const auto violations = layeringViolations(root);
  fs::remove_all(root);
  EXPECT_EQ(violations, (std::vector<std::string>{
                            "dmutils/dm.cpp:1: includes dialogs/, a layer above dmutils/",
                            "platform/p.h:2: includes rules/, a layer above platform/",
                            "utils/text.cpp:3: includes launcher/, a layer above utils/",
                        }));
}

} // namespace
