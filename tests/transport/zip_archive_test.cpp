#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "tests/fixtures/zip_writer.h"
#include "tests/support/temp_drive.h"
#include "utils/zip_archive.h"

namespace vt::utils {
namespace {

using test::ZipEntryOptions;
using test::ZipWriter;
namespace fs = std::filesystem;

std::string sampleText(size_t n, unsigned seed) {
  // Compressible, but not a single repeated byte.
  std::string s;
  s.reserve(n);
  unsigned x = seed;
  while (s.size() < n) {
    x = x * 1103515245u + 12345u;
    s += "linha " + std::to_string(x % 1000) + (x & 0x100 ? " total\n" : " item\n");
  }
  s.resize(n);
  return s;
}

std::string sampleBinary(size_t n, unsigned seed) {
  std::string s(n, '\0');
  unsigned x = seed;
  for (auto& c : s) {
    x = x * 1664525u + 1013904223u;
    c = static_cast<char>(x >> 24);
  }
  return s;
}

ZipEntryOptions stored() {
  ZipEntryOptions o;
  o.deflate = false;
  return o;
}

class ZipExtraction : public testing::Test {
protected:
  test::TempDrive drive;

  ZipOutcome extract(const std::string& archiveBytes, const std::string& into = "saida") {
    drive.write("pacote.zip", archiveBytes);
    return extractZip(drive.path("pacote.zip"), drive.path(into));
  }
};

TEST_F(ZipExtraction, StoredAndDeflatedEntriesComeOutByteExact) {
  const std::string big = sampleText(3 * 1024 * 1024 + 11, 1);  // several pieces of the reader
  const std::string noise = sampleBinary(700 * 1024, 2);
  ZipEntryOptions zip64;
  zip64.zip64 = true;
  struct Entry {
    std::string name;
    std::string bytes;
    ZipEntryOptions options;
  } entries[] = {
      {"Vantorim.exe", noise, stored()},
      {"Caspelo.exe", big, {}},
      {"reports/venda/vendas.fr3", sampleText(5000, 3), {}},
      {"vazio.txt", "", {}},
      {"vazio_compactado.txt", "", stored()},
      {"grande64/dados.bin", sampleText(300000, 4), zip64},
      {"grande64/cru.bin", noise.substr(0, 1000), [] {
         ZipEntryOptions o = stored();
         o.zip64 = true;
         return o;
       }()},
  };
  ZipWriter w;
  w.addDirectory("reports/");
  w.addDirectory("reports/personalizados/");
  for (const auto& e : entries) w.add(e.name, e.bytes, e.options);
  ZipOutcome done = extract(w.finish(/*zip64End=*/true));
  ASSERT_TRUE(done) << done.reason;

  for (const auto& e : entries) {
    std::string windowsName = e.name;
    for (auto& c : windowsName) c = c == '/' ? '\\' : c;
    EXPECT_EQ(drive.read("saida\\" + windowsName), e.bytes) << e.name;
  }
  EXPECT_TRUE(fs::is_directory(drive.host("saida\\reports\\personalizados")));
}

TEST_F(ZipExtraction, AccentedNamesKeepTheirLetters) {
  // Under Wine this needs a UTF-8 host locale: with an unknown one Wine cannot
  // put "ó" into a host file name.
  ZipOutcome done = extract(test::makeZip({{"reports/venda/relatório de ção.fr3", "acentos"}}));
  ASSERT_TRUE(done) << done.reason;
  EXPECT_EQ(drive.read("saida\\reports\\venda\\relatório de ção.fr3"), "acentos");
}

TEST_F(ZipExtraction, ExtractingOverwritesFilesOfTheSameNameAndLeavesNoTemporaries) {
  drive.write("saida\\Vantorim.exe", "versão antiga, bem mais longa que a nova");
  drive.write("saida\\outro.txt", "fica");
  ZipOutcome done = extract(test::makeZip({{"Vantorim.exe", "nova"}}));
  ASSERT_TRUE(done) << done.reason;
  EXPECT_EQ(drive.read("saida\\Vantorim.exe"), "nova");
  EXPECT_EQ(drive.read("saida\\outro.txt"), "fica");
  size_t files = 0;
  for (const auto& item : fs::directory_iterator(drive.host("saida"))) {
    (void)item;
    ++files;
  }
  EXPECT_EQ(files, 2u);
}

TEST_F(ZipExtraction, DataBeforeTheArchiveIsAllowed) {
  // A self-extracting stub in front shifts every offset.
  std::string archive = "MZ stub of a self-extracting package" + test::makeZip({{"a.txt", "conteúdo"}});
  ZipOutcome done = extract(archive);
  ASSERT_TRUE(done) << done.reason;
  EXPECT_EQ(drive.read("saida\\a.txt"), "conteúdo");
}

// Damage done to a good archive, and the word the failure's reason must carry.
struct Damage {
  const char* what;
  std::function<void(std::string&, const ZipWriter&)> apply;
};

TEST_F(ZipExtraction, DamagedArchivesFailWithoutReplacingGoodFiles) {
  const std::string first = sampleBinary(5000, 7);
  const std::string second = sampleText(200000, 8);
  const Damage damages[] = {
      {"CRC mismatch in stored data",
       [](std::string& z, const ZipWriter& w) { z[w.placed()[1].dataOffset + 10] ^= 0x01; }},
      {"corrupt deflated data",
       [](std::string& z, const ZipWriter& w) {
         for (int i = 0; i < 64; ++i) z[w.placed()[0].dataOffset + 200 + i] ^= 0x5A;
       }},
      {"truncated to half", [](std::string& z, const ZipWriter&) { z.resize(z.size() / 2); }},
      {"last byte missing", [](std::string& z, const ZipWriter&) { z.pop_back(); }},
      {"bad local header signature",
       [](std::string& z, const ZipWriter& w) { z[w.placed()[1].localHeaderOffset] = 'X'; }},
      {"local header names another file",
       [](std::string& z, const ZipWriter& w) { z[w.placed()[1].localHeaderOffset + 30] = 'Z'; }},
      {"unsupported method (both headers)",
       [](std::string& z, const ZipWriter& w) {
         z[w.placed()[1].localHeaderOffset + 8] = 12;
         size_t cd = z.rfind(std::string("PK\x01\x02", 4));
         z[cd + 10] = 12;
       }},
      {"deflated data shorter than the stream needs",
       [](std::string& z, const ZipWriter& w) {
         // The central directory gives the first entry half its real compressed size.
         size_t cd = z.find(std::string("PK\x01\x02", 4));
         auto half = static_cast<std::uint32_t>(w.placed()[0].compressedSize / 2);
         for (int i = 0; i < 4; ++i) z[cd + 20 + i] = static_cast<char>((half >> (8 * i)) & 0xFF);
       }},
      {"central directory cut off",
       [](std::string& z, const ZipWriter& w) {
         const auto& p = w.placed()[1];
         z.erase(p.dataOffset + p.compressedSize, 30);
       }},
      {"not a zip at all", [](std::string& z, const ZipWriter&) { z = "Isto não é um arquivo zip."; }},
  };
  for (const auto& d : damages) {
    SCOPED_TRACE(d.what);
    ZipWriter w;
    w.add("Caspelo.exe", second);
    w.add("Vantorim.exe", first, stored());
    std::string archive = w.finish();
    d.apply(archive, w);
    drive.write("saida\\Vantorim.exe", "boa cópia anterior");
    ZipOutcome r = extract(archive);
    EXPECT_FALSE(r);
    EXPECT_FALSE(r.reason.empty());
    EXPECT_EQ(drive.read("saida\\Vantorim.exe"), "boa cópia anterior");
  }
}

TEST_F(ZipExtraction, AnEntryLeavingTheTargetFolderRefusesTheWholeArchive) {
  const char* unsafe[] = {
      "../fora.txt",          "dados/../../fora.txt", "..\\fora.txt",   "dados\\..\\..\\fora.txt",
      "/etc/fora.txt",        "\\fora.txt",           "C:/fora.txt",    "C:fora.txt",
      "c:\\Quorvelin\\x.exe", "\\\\servidor\\c$\\x",  "//servidor/c/x", "dados/.../fora.txt",
      "dados/.. /fora.txt",   "a.txt:fluxo",          "CON",            "dados/nul.txt",
  };
  for (const char* name : unsafe) {
    SCOPED_TRACE(name);
    test::TempDrive fresh;
    ZipWriter w;
    w.add("antes.txt", "escrito antes da entrada ruim?");
    w.add(name, "fora");
    fresh.write("pacote.zip", w.finish());
    ZipOutcome r = extractZip(fresh.path("pacote.zip"), fresh.path("alvo\\dentro"));
    EXPECT_FALSE(r);
    EXPECT_FALSE(fresh.exists("alvo\\dentro\\antes.txt")) << "nothing is written from a refused archive";
    EXPECT_FALSE(fresh.exists("alvo\\fora.txt"));
    EXPECT_FALSE(fresh.exists("fora.txt"));
    EXPECT_TRUE(unsafeEntryName(name).has_value());
  }
  for (const char* fine : {"a.txt", "./a.txt", "pasta/sub/", "pasta\\sub\\b.txt", "a..b.txt", ".oculto", "CONSOLE.txt"}) {
    EXPECT_FALSE(unsafeEntryName(fine).has_value()) << fine;
  }
}

TEST_F(ZipExtraction, EverySingleByteDamageIsRefusedOrHarmless) {
  // Each byte of a small archive flipped in turn: the reader never crashes,
  // never writes outside the target folder, and whatever it accepts has the
  // original contents (the CRC stands guard over the data).
  ZipWriter w;
  w.add("a.txt", sampleText(300, 9));
  w.add("pasta/b.bin", sampleBinary(64, 10), stored());
  const std::string good = w.finish();
  const std::multiset<std::string> originals = {sampleText(300, 9), sampleBinary(64, 10)};
  for (size_t i = 0; i < good.size(); ++i) {
    SCOPED_TRACE("byte " + std::to_string(i));
    test::TempDrive fresh;
    std::string bad = good;
    bad[i] = static_cast<char>(bad[i] ^ 0xA5);
    fresh.write("pacote.zip", bad);
    ZipOutcome r = extractZip(fresh.path("pacote.zip"), fresh.path("alvo"));
    std::multiset<std::string> found;
    for (const auto& item : fs::recursive_directory_iterator(fresh.host(""))) {
      if (!item.is_regular_file() || item.path().filename() == "pacote.zip") continue;
      auto rel = fs::relative(item.path(), fresh.host("alvo"));
      EXPECT_FALSE(rel.empty() || *rel.begin() == "..") << item.path();
      std::ifstream in(item.path(), std::ios::binary);
      found.insert(std::string(std::istreambuf_iterator<char>(in), {}));
    }
    if (r) {
      EXPECT_EQ(found, originals);
    }
  }
}

TEST_F(ZipExtraction, ListsEntriesWithTheirSizes) {
  ZipWriter w;
  w.add("a.txt", sampleText(10000, 5));
  w.add("b.bin", "12345", stored());
  drive.write("pacote.zip", w.finish());
  ZipArchive archive;
  ASSERT_TRUE(archive.open(drive.host("pacote.zip")));
  ASSERT_EQ(archive.entries().size(), 2u);
  EXPECT_EQ(archive.entries()[0].name, "a.txt");
  EXPECT_EQ(archive.entries()[0].uncompressedSize, 10000u);
  EXPECT_LT(archive.entries()[0].compressedSize, 10000u);
  EXPECT_EQ(archive.entries()[1].method, 0);
}

TEST_F(ZipExtraction, UnixPermissionBitsAreKept) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows has no permission bits to keep";
#else
  ZipEntryOptions runnable;
  runnable.unixMode = 0100755;
  ZipEntryOptions plain;
  plain.unixMode = 0100640;
  ZipWriter w;
  w.add("bin/Vantorim", "#!/bin/sh\necho ok\n", runnable);
  w.add("bin/leia.txt", "texto", plain);
  w.add("sem_modo.txt", "texto");
  ZipOutcome done = extract(w.finish());
  ASSERT_TRUE(done) << done.reason;
  auto perms = [&](const char* rel) { return fs::status(drive.host(rel)).permissions() & fs::perms::all; };
  EXPECT_EQ(perms("saida\\bin\\Vantorim"), static_cast<fs::perms>(0755));
  EXPECT_EQ(perms("saida\\bin\\leia.txt"), static_cast<fs::perms>(0640));
  EXPECT_EQ(perms("saida\\sem_modo.txt") & fs::perms::owner_exec, fs::perms::none);
#endif
}

TEST_F(ZipExtraction, SymbolicLinkEntriesAreRefused) {
  ZipEntryOptions link;
  link.unixMode = 0120777;
  ZipWriter w;
  w.add("atalho", "/etc/passwd", link);
  EXPECT_FALSE(extract(w.finish()));
  EXPECT_FALSE(drive.exists("saida\\atalho"));
}

} // namespace
} // namespace vt::utils
