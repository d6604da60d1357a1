#include <gtest/gtest.h>

#include "platform/files.h"

namespace vt::platform {
namespace {

TEST(WildcardMatch, FollowsTheWindowsListingRules) {
  struct Case {
    const char* pattern;
    const char* name;
    bool matches;
  } cases[] = {
      {"*.*", "sem_ponto", true},
      {"*", "a.b", true},
      {"trocandoPorVersaoOnline_*.*", "trocandoPorVersaoOnline_Caspelo.exe", true},
      // A last ".*" also takes a name without an extension.
      {"trocandoPorVersaoOnline_*.*", "trocandoPorVersaoOnline_x", true},
      {"TROCANDOporversaoonline_*.*", "trocandoPorVersaoOnline_a.b.c", true},
      {"trocandoPorVersaoOnline_*.*", "trocandoPorVersaoOnline", false},
      {"trocandoPorVersaoOnline_*.*", "xtrocandoPorVersaoOnline_a.exe", false},
      {"*.fr3", "nota.fr3", true},
      {"*.fr3", "nota.fr3x", false},
      {"criaArquivoUtils_?.txt", "criaArquivoUtils_1.txt", true},
      {"criaArquivoUtils_?.txt", "criaArquivoUtils_12.txt", false},
  };
  for (const auto& c : cases) EXPECT_EQ(wildcardMatch(c.pattern, c.name), c.matches) << c.pattern << " " << c.name;
}

} // namespace
} // namespace vt::platform
