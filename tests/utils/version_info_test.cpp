// Version operations on real executables: PE files written by the fixture
// builder and read through the platform (the Windows version API under Wine,
// the portable reader on Linux), and the test program's own version, which
// the build writes into it (3.4.5.6, see tests/utils/CMakeLists.txt).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "platform/os_error.h"
#include "platform/path.h"
#include "platform/pe_version.h"
#include "platform/self.h"
#include "platform/version_resource.h"
#include "tests/fixtures/pe_builder.h"
#include "tests/support/temp_drive.h"
#include "utils/version_info.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

using vt::platform::FileVersion;
using vt::platform::Translation;
using vt::platform::VersionBlock;
using vt::platform::VersionResource;
using vt::test::BuiltPe;
using vt::test::PeOptions;
using vt::test::TempDrive;
using vt::utils::VersionInfo;

PeOptions withVersion(FileVersion v) {
  PeOptions o;
  o.fileVersion = v;
  o.productVersion = v;
  return o;
}

void put32(std::string& bytes, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}
void put16(std::string& bytes, std::size_t at, std::uint16_t v) {
  bytes[at] = static_cast<char>(v & 0xFF);
  bytes[at + 1] = static_cast<char>(v >> 8);
}

// ---------------------------------------------------------------------------
// Formats of the file version

struct FormatCase {
  FileVersion version;
  const char* exeVersion;
  const char* fileVersion;
};

TEST(VersionInfoTest, FormatsTheFileVersionOfPe32PlusAndPe32Executables) {
  const FormatCase cases[] = {
      {{1, 2, 3, 45}, "V1.02.03.45", "1.2.3.45"},
      {{2, 10, 0, 123}, "V2.10.00.123", "2.10.0.123"},
      {{0, 0, 0, 0}, "V0.00.00.00", "0.0.0.0"},
      {{9, 9, 10, 10}, "V9.09.10.10", "9.9.10.10"},
      {{65535, 65535, 65535, 65535}, "V65535.65535.65535.65535", "65535.65535.65535.65535"},
  };
  TempDrive drive;
  int n = 0;
  for (const FormatCase& c : cases) {
    for (bool pe32 : {false, true}) {
      PeOptions o = withVersion(c.version);
      o.productVersion = {7, 7, 7, 7}; // the file version is the one that counts
      o.pe32 = pe32;
      std::string name = "app" + std::to_string(n++) + ".exe";
      drive.write(name, vt::test::buildPe(o).bytes);
      SCOPED_TRACE(std::string(c.fileVersion) + (pe32 ? " PE32" : " PE32+"));
      EXPECT_EQ(VersionInfo::GetExeVersion(drive.path(name)), c.exeVersion);
      EXPECT_EQ(VersionInfo::getFileVersion(drive.path(name)), c.fileVersion);
    }
  }
}

TEST(VersionInfoTest, FilesWithoutAReadableVersionGiveEmptyText) {
  TempDrive drive;
  PeOptions noResources = withVersion({1, 2, 3, 4});
  noResources.withResources = false;
  PeOptions otherResource = withVersion({1, 2, 3, 4});
  otherResource.resourceType = 24; // a manifest, no version
  drive.write("plain.exe", vt::test::buildPe(noResources).bytes);
  drive.write("manifest.exe", vt::test::buildPe(otherResource).bytes);
  drive.write("notes.txt", "MZ but not really an executable");
  drive.write("empty.exe", "");
  drive.write("folder\\inside.txt", "x");

  for (const char* name : {"missing.exe", "missing\\deeper.exe", "plain.exe", "manifest.exe", "notes.txt", "empty.exe",
                           "folder"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(VersionInfo::GetExeVersion(drive.path(name)), "");
    EXPECT_EQ(VersionInfo::getFileVersion(drive.path(name)), "");
  }
}

// ---------------------------------------------------------------------------
// Damaged files: every one reads as "no version", none crashes or hangs.

struct Mutation {
  const char* what;
  std::function<void(std::string&, const vt::test::PeLayout&)> apply;
  // Damage in the headers or the resource directory, which the platform's
  // own loader refuses as well (checked against it on Windows).
  bool platformRefuses = false;
};

using L = vt::test::PeLayout;
constexpr std::uint32_t kDir = 0x80000000u;

const Mutation kMutations[] = {
    {"no MZ signature", [](std::string& b, const L&) { b[0] = 'X'; }},
    {"NT headers beyond the end", [](std::string& b, const L&) { put32(b, 0x3C, 0xFFFFFF00u); }},
    {"no PE signature", [](std::string& b, const L& l) { b[l.ntHeaders + 1] = 'X'; }},
    {"unknown optional header", [](std::string& b, const L& l) { put16(b, l.optionalHeader, 0x30B); }},
    {"section table beyond the end", [](std::string& b, const L& l) { put16(b, l.ntHeaders + 20, 0xFFF0); }},
    {"65535 sections", [](std::string& b, const L& l) { put16(b, l.ntHeaders + 6, 0xFFFF); }, true},
    {"resource directory RVA zero", [](std::string& b, const L& l) { put32(b, l.resourceDirectoryEntry, 0); }, true},
    {"resource directory outside every section",
     [](std::string& b, const L& l) { put32(b, l.resourceDirectoryEntry, 0x7FFF0000u); }, true},
    {"resource section data beyond the end",
     [](std::string& b, const L& l) { put32(b, l.sectionTable + 40 + 20, 0x7FFFFE00u); }, true},
    {"directory with 65535 entries", [](std::string& b, const L& l) { put16(b, l.typeDirectory + 14, 0xFFFF); },
     true},
    {"type entry pointing outside",
     [](std::string& b, const L& l) { put32(b, l.typeDirectory + 20, kDir | 0x7FFFFFF0u); }, true},
    {"type entry pointing at its own directory",
     [](std::string& b, const L& l) { put32(b, l.typeDirectory + 20, kDir | 0); }, true},
    {"name entry pointing back at the root",
     [](std::string& b, const L& l) { put32(b, l.nameDirectory + 20, kDir | 0); }, true},
    {"language entry pointing at its own directory",
     [](std::string& b, const L& l) { put32(b, l.languageDirectory + 20, kDir | 0x30); }, true},
    {"type entry a data entry", [](std::string& b, const L& l) { put32(b, l.typeDirectory + 20, 0x48); }, true},
    {"data RVA outside every section", [](std::string& b, const L& l) { put32(b, l.dataEntry, 0xFFFFFFF0u); }},
    {"data RVA past the resource section", [](std::string& b, const L& l) { put32(b, l.dataEntry, 0x5000); }},
    {"data shorter than the block", [](std::string& b, const L& l) { put32(b, l.dataEntry + 4, 8); }},
    {"block longer than the data", [](std::string& b, const L& l) { put16(b, l.versionBlock, 0xFFFF); }},
    {"block shorter than its header", [](std::string& b, const L& l) { put16(b, l.versionBlock, 2); }},
    {"fixed information without its signature", [](std::string& b, const L& l) { b[l.versionBlock + 40] ^= 0x55; }},
    {"fixed information cut short", [](std::string& b, const L& l) { put16(b, l.versionBlock + 2, 20); }},
    {"first child longer than the block", [](std::string& b, const L& l) { put16(b, l.versionBlock + 0x5C, 0xFFF0); }},
    {"key without its end",
     [](std::string& b, const L& l) {
       for (std::size_t at = l.versionBlock + 6; at < l.versionBlock + l.versionBlockSize; at += 2) put16(b, at, 'A');
     }},
};

BuiltPe mutationBase() {
  PeOptions o = withVersion({1, 2, 3, 45});
  o.strings = {{"CompanyName", "Quorvelin"}};
  return vt::test::buildPe(o);
}

TEST(VersionInfoTest, DamagedExecutablesGiveEmptyText) {
  BuiltPe good = mutationBase();
  TempDrive drive;
  drive.write("good.exe", good.bytes);
  ASSERT_EQ(VersionInfo::getFileVersion(drive.path("good.exe")), "1.2.3.45");

  int n = 0;
  for (const Mutation& m : kMutations) {
    std::string bytes = good.bytes;
    m.apply(bytes, good.layout);
    std::string name = "bad" + std::to_string(n++) + ".exe";
    drive.write(name, bytes);
    SCOPED_TRACE(m.what);
    EXPECT_EQ(VersionInfo::GetExeVersion(drive.path(name)), "");
    EXPECT_EQ(VersionInfo::getFileVersion(drive.path(name)), "");
  }
}

TEST(VersionInfoTest, TruncatedExecutablesGiveEmptyTextUpToTheEndOfTheBlock) {
  PeOptions o = withVersion({1, 2, 3, 45});
  o.strings = {{"CompanyName", "Quorvelin"}, {"FileDescription", "Caixa"}};
  BuiltPe good = vt::test::buildPe(o);
  const std::size_t blockEnd = good.layout.versionBlock + good.layout.versionBlockSize;
  TempDrive drive;
  int n = 0;
  // Every header and directory field boundary, then steps through the block.
  for (std::size_t size = 0; size < blockEnd; size += (size < good.layout.versionBlock ? 13 : 5)) {
    std::string name = "cut" + std::to_string(n++) + ".exe";
    drive.write(name, good.bytes.substr(0, size));
    SCOPED_TRACE("cut at " + std::to_string(size));
    EXPECT_EQ(VersionInfo::getFileVersion(drive.path(name)), "");
  }
  drive.write("last.exe", good.bytes.substr(0, blockEnd - 1));
  EXPECT_EQ(VersionInfo::getFileVersion(drive.path("last.exe")), "");
}

// ---------------------------------------------------------------------------
// String tables and translations, through the platform

TEST(VersionResourceTest, ReadsStringsByTranslationWithoutRegardToLetterCase) {
  PeOptions o = withVersion({4, 3, 2, 1});
  o.stringTableKey = "041604E4";
  o.translations = {{0x0416, 0x04E4}, {0x0409, 0x04B0}};
  o.strings = {{"CompanyName", "Quorvelin"},
               {"FileDescription", "Gestão de estoque — açúcar"},
               {"Comments", "🚀 ok"},
               {"LegalTrademarks", ""}};
  TempDrive drive;
  drive.write("suite.exe", vt::test::buildPe(o).bytes);

  auto resource = VersionResource::tryRead(drive.path("suite.exe"));
  ASSERT_TRUE(resource.has_value());
  EXPECT_EQ(resource->fileVersion(), (FileVersion{4, 3, 2, 1}));
  auto translation = resource->firstTranslation();
  ASSERT_TRUE(translation.has_value());
  EXPECT_EQ(*translation, (Translation{0x0416, 0x04E4}));
  EXPECT_EQ(vt::platform::translationKey(*translation), "041604e4");

  const std::string table = "\\StringFileInfo\\041604e4\\";
  EXPECT_EQ(resource->stringValue(table + "CompanyName"), "Quorvelin");
  EXPECT_EQ(resource->stringValue(table + "companyname"), "Quorvelin");
  EXPECT_EQ(resource->stringValue(table + "FileDescription"), "Gestão de estoque — açúcar");
  EXPECT_EQ(resource->stringValue(table + "Comments"), "🚀 ok");
  EXPECT_EQ(resource->stringValue(table + "LegalTrademarks"), "");
  EXPECT_FALSE(resource->stringValue(table + "ProductName").has_value());
  EXPECT_FALSE(resource->stringValue("\\StringFileInfo\\040904b0\\CompanyName").has_value());
}

TEST(VersionResourceTest, ReadRaisesThePlatformErrorForAMissingFile) {
  TempDrive drive;
  EXPECT_FALSE(VersionResource::tryRead(drive.path("absent.exe")).has_value());
  EXPECT_THROW(VersionResource::read(drive.path("absent.exe")), vt::platform::OsError);
  PeOptions noResources;
  noResources.withResources = false;
  drive.write("plain.exe", vt::test::buildPe(noResources).bytes);
  EXPECT_THROW(VersionResource::read(drive.path("plain.exe")), vt::platform::OsError);
}

TEST(VersionResourceTest, ResourceWithoutTranslationTable) {
  PeOptions o = withVersion({1, 0, 0, 0});
  o.translations.clear();
  TempDrive drive;
  drive.write("bare.exe", vt::test::buildPe(o).bytes);
  auto resource = VersionResource::tryRead(drive.path("bare.exe"));
  ASSERT_TRUE(resource.has_value());
  EXPECT_FALSE(resource->firstTranslation().has_value());
  EXPECT_EQ(VersionInfo::getFileVersion(drive.path("bare.exe")), "1.0.0.0");
}

// ---------------------------------------------------------------------------
// The portable reader against the platform: on Windows the same files read
// through the version API and through the reader agree.

#ifdef _WIN32
TEST(PortableReaderTest, AgreesWithTheWindowsVersionApi) {
  const char* keys[] = {"CompanyName", "FileDescription", "ProductName", "Comments", "Missing"};
  PeOptions a = withVersion({1, 2, 3, 45});
  a.strings = {{"CompanyName", "Quorvelin"}, {"FileDescription", "Frente de caixa — ação"}};
  PeOptions b = withVersion({65535, 0, 9, 10});
  b.pe32 = true;
  b.stringTableKey = "040904b0";
  b.translations = {{0x0409, 0x04B0}};
  b.strings = {{"ProductName", "Vantorim"}, {"Comments", ""}};
  PeOptions c = withVersion({0, 0, 0, 1});
  c.translations.clear();

  TempDrive drive;
  int n = 0;
  for (const PeOptions& o : {a, b, c}) {
    std::string name = "x" + std::to_string(n++) + ".exe";
    drive.write(name, vt::test::buildPe(o).bytes);
    SCOPED_TRACE(name);
    auto api = VersionResource::tryRead(drive.path(name));
    auto raw = vt::platform::readVersionBlock(drive.host(name));
    ASSERT_TRUE(api.has_value());
    ASSERT_TRUE(raw.has_value());
    auto ours = VersionBlock::parse(*raw);
    ASSERT_TRUE(ours.has_value());
    EXPECT_EQ(api->fileVersion(), ours->fileVersion());
    auto translations = ours->translations();
    EXPECT_EQ(api->firstTranslation().has_value(), !translations.empty());
    if (translations.empty()) continue;
    EXPECT_EQ(*api->firstTranslation(), translations.front());
    std::string table = "\\StringFileInfo\\" + vt::platform::translationKey(translations.front()) + "\\";
    for (const char* key : keys) {
      SCOPED_TRACE(key);
      EXPECT_EQ(api->stringValue(table + key), ours->stringValue(table + key));
    }
  }
}

TEST(PortableReaderTest, RefusesDamagedDirectoriesAsTheWindowsLoaderDoes) {
  BuiltPe good = mutationBase();
  TempDrive drive;
  int n = 0;
  for (const Mutation& m : kMutations) {
    if (!m.platformRefuses) continue;
    std::string bytes = good.bytes;
    m.apply(bytes, good.layout);
    std::string name = "bad" + std::to_string(n++) + ".exe";
    drive.write(name, bytes);
    SCOPED_TRACE(m.what);
    EXPECT_FALSE(vt::platform::readVersionBlock(drive.host(name)).has_value());
    DWORD ignored = 0;
    EXPECT_EQ(GetFileVersionInfoSizeW(drive.host(name).wstring().c_str(), &ignored), 0u);
  }
}
#endif

// ---------------------------------------------------------------------------
// The reader on its own

TEST(PortableReaderTest, EverySingleByteChangeOfTheResourcesGivesAWellFormedBlockOrNone) {
  PeOptions o = withVersion({1, 2, 3, 4});
  o.strings = {{"CompanyName", "Quorvelin"}, {"ProductName", "Vantorim"}};
  BuiltPe good = vt::test::buildPe(o);
  TempDrive drive;
  const std::size_t end = good.layout.versionBlock + good.layout.versionBlockSize;
  int changedResults = 0;
  for (std::size_t at = good.layout.resourceSection; at < end; ++at) {
    std::string bytes = good.bytes;
    bytes[at] = static_cast<char>(bytes[at] ^ 0xA5);
    drive.write("flip.exe", bytes);
    auto block = vt::platform::readVersionBlock(drive.host("flip.exe"));
    if (!block) {
      ++changedResults;
      continue;
    }
    SCOPED_TRACE("byte " + std::to_string(at));
    EXPECT_TRUE(vt::platform::isWellFormedVersionBlock(*block));
    EXPECT_TRUE(VersionBlock::parse(*block).has_value());
  }
  // The directory and header bytes matter: many of these files must be refused.
  EXPECT_GT(changedResults, 20);
}

#ifndef _WIN32
TEST(PortableReaderTest, ReadsOnlyTheNeededPartsOfAHugeFile) {
  // A sparse 6 GB file whose version sits near the start: loading it whole
  // would not fit in memory.
  BuiltPe pe = vt::test::buildPe(withVersion({5, 6, 7, 8}));
  TempDrive drive;
  drive.write("huge.exe", pe.bytes);
  std::error_code ec;
  std::filesystem::resize_file(drive.host("huge.exe"), 6ull << 30, ec);
  if (ec) GTEST_SKIP() << "no sparse files here: " << ec.message();
  EXPECT_EQ(VersionInfo::getFileVersion(drive.path("huge.exe")), "5.6.7.8");
}

TEST(PortableReaderTest, ElfSectionOfDamagedCopiesOfThisProgramIsNotRead) {
  std::ifstream in("/proc/self/exe", std::ios::binary);
  std::string self((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_GT(self.size(), 64u);
  TempDrive drive;
  drive.write("copy", self);
  ASSERT_EQ(VersionInfo::getFileVersion(drive.path("copy")), "3.4.5.6");

  // The section headers lie at the end of the file.
  drive.write("cut", self.substr(0, self.size() - 1));
  EXPECT_EQ(VersionInfo::getFileVersion(drive.path("cut")), "");
  std::string badTable = self;
  for (int i = 0; i < 8; ++i) badTable[0x28 + i] = static_cast<char>(0x7F);
  drive.write("bad_table", badTable);
  EXPECT_EQ(VersionInfo::getFileVersion(drive.path("bad_table")), "");
  std::string badNames = self;
  put16(badNames, 0x3E, 0xFFFF);
  drive.write("bad_names", badNames);
  EXPECT_EQ(VersionInfo::getFileVersion(drive.path("bad_names")), "");
}
#endif

// ---------------------------------------------------------------------------
// The running program's own version (written by vt_embed_version)

TEST(OwnVersionTest, AppVersionComesFromTheProgramsOwnFile) {
  EXPECT_EQ(VersionInfo::getAppVersionStr(), "3.4.5.6");
  std::string self = vt::platform::currentExecutablePath();
  ASSERT_EQ(self.substr(1, 2), ":\\");
  EXPECT_EQ(VersionInfo::GetExeVersion(self), "V3.04.05.06");
  EXPECT_EQ(VersionInfo::getFileVersion(self), "3.4.5.6");
}

TEST(OwnVersionTest, AppVersionInfoStringsByNumber) {
#ifdef _WIN32
  const std::string originalName = "version_tests.exe";
#else
  const std::string originalName = "version_tests";
#endif
  const std::pair<int, std::string> cases[] = {
      {1, "Quorvelin"},      {2, "Testes de versão"}, {3, "3.4.5.6"},     {4, "version_tests"},
      {5, ""},               {6, ""},                 {7, originalName},  {8, "Vantorim"},
      {9, "3.4.5.6"},        {10, ""},                {11, ""},           {12, ""},
      {0, ""},               {13, ""},                {-1, ""},
  };
  for (const auto& [info, expected] : cases) {
    SCOPED_TRACE(info);
    EXPECT_EQ(VersionInfo::getAppVersionInfoStr(info), expected);
  }
}

} // namespace
