// The version operations of dmutils read real executables: PE32 (the
// terminals' 32-bit programs) and PE32+ files with version resources.
#include <gtest/gtest.h>

#include <string>

#include <nlohmann/json.hpp>

#include "tests/fixtures/pe_builder.h"
#include "tests/support/temp_drive.h"
#include "tools/dmutils/registry.h"

namespace vt::tools {
namespace {

using nlohmann::json;

TEST(DmutilsVersion, ReadsTheFileVersionOfBothKindsOfExecutable) {
  OpRegistry registry;
  registerAllOps(registry);
  test::TempDrive drive;
  struct Case {
    const char* file;
    bool pe32;
    bool withResources;
    std::string exeVersion, fileVersion;
  };
  const Case cases[] = {
      {"x86.exe", true, true, "V2.03.10.05", "2.3.10.5"},
      {"x64.exe", false, true, "V2.03.10.05", "2.3.10.5"},
      {"sem-versao.exe", true, false, "", ""},
      {"nao-existe.exe", true, true, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    if (std::string(c.file) != "nao-existe.exe") {
      test::PeOptions pe;
      pe.pe32 = c.pe32;
      pe.withResources = c.withResources;
      pe.fileVersion = {2, 3, 10, 5};
      pe.productVersion = {9, 9, 9, 9};  // not the one asked for
      drive.write(c.file, test::buildPe(pe).bytes);
    }
    const json path = drive.path(c.file);
    EXPECT_EQ(json::parse(registry.answer(json{{"op", "GetExeVersion"}, {"args", {path}}}.dump())),
              (json{{"op", "GetExeVersion"}, {"result", c.exeVersion}}));
    EXPECT_EQ(json::parse(registry.answer(json{{"op", "getFileVersion"}, {"args", {path}}}.dump())),
              (json{{"op", "getFileVersion"}, {"result", c.fileVersion}}));
  }
}

} // namespace
} // namespace vt::tools
