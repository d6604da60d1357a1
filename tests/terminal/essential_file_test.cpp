// The essential file: its cipher, its plain text, the splitting rule and the
// date text, and the module's write into Config.ini and read back into the
// report table.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "platform/encoding.h"
#include "platform/regional.h"
#include "terminal/essential_file.h"
#include "terminal/report_names.h"
#include "tests/terminal/report_rows.h"
#include "tests/terminal/terminal_fixture.h"

namespace vt {
namespace {

using test::at;
using test::company;
using test::report;

const platform::RegionalFormats kBrazil = platform::brazilianFormats();

// ---- Cipher ----------------------------------------------------------------

TEST(EssentialCipher, KnownVectorsWorkedByHand) {
  // "12" from start value 0x00:
  //   '1' = 0x31: (0x00 + 0x31) mod 255 = 0x31; key[1] 'Q' = 0x51; 0x31 ^ 0x51 = 0x60
  //   '2' = 0x32: (0x60 + 0x32) mod 255 = 0x92; key[2] '7' = 0x37; 0x92 ^ 0x37 = 0xA5
  EXPECT_EQ(encipherText("12", 0x00), "0060A5");
  // The sum wraps at 255, not 256: 'A' = 0x41 from 0xF0 gives 0x131 mod 255 = 0x32
  // (mod 256 would be 0x31); 0x32 ^ 0x51 = 0x63.
  EXPECT_EQ(encipherText("A", 0xF0), "F063");
  // 'é' is one character, code 0xE9: (0x10 + 0xE9) mod 255 = 0xF9; 0xF9 ^ 0x51 = 0xA8.
  EXPECT_EQ(encipherText("é", 0x10), "10A8");
  EXPECT_EQ(encipherText("", 0xFF), "FF");
}

TEST(EssentialCipher, TheKeyHas94CharactersAndStartsAgainAtItsFirst) {
  ASSERT_EQ(kEssentialCipherKey.size(), 94u);
  EXPECT_EQ(kEssentialCipherKey[78], ' '); // position 79
  const std::string plain(96, 'a');
  const std::string out = encipherText(plain, 0x21);
  ASSERT_EQ(out.size(), 2 + 2 * plain.size());
  const auto pair = [&](std::size_t i) { return std::stoi(out.substr(2 * i, 2), nullptr, 16); };
  // Character 94 takes the key's last character, character 95 its first again.
  EXPECT_EQ(pair(94), ((pair(93) + 'a') % 255) ^ 'B');
  EXPECT_EQ(pair(95), ((pair(94) + 'a') % 255) ^ 'Q');
  EXPECT_EQ(pair(96), ((pair(95) + 'a') % 255) ^ '7');
}

TEST(EssentialCipher, EveryCodeFrom1To255ComesBackFromAnyStartValue) {
  std::string all;
  for (char32_t c = 1; c <= 255; ++c) platform::appendUtf8(all, c);
  for (const int start : {0, 1, 0x7F, 0xFE, 0xFF}) {
    const std::string stored = encipherText(all, start);
    EXPECT_EQ(stored.size(), 2u + 2 * 255);
    EXPECT_EQ(stored.find_first_not_of("0123456789ABCDEF"), std::string::npos);
    EXPECT_EQ(decipherText(stored), all) << "start " << start;
  }
  // A character above code 255 does not survive.
  EXPECT_NE(decipherText(encipherText("€", 0x42)), "€");
  EXPECT_EQ(essentialStoredLength("€"), 4u);
}

// The sum is taken modulo 255: after a value of 255 a character 255 enciphers
// to what a character 0 would, and must still read back as 255.
TEST(EssentialCipher, EverySingleCodeComesBackFromEveryStartValue) {
  for (int start = 0; start <= 255; ++start) {
    for (char32_t c = 1; c <= 255; ++c) {
      std::string plain;
      platform::appendUtf8(plain, c);
      plain += 'a';
      platform::appendUtf8(plain, c);
      ASSERT_EQ(decipherText(encipherText(plain, start)), plain) << "start " << start << ", code " << static_cast<unsigned>(c);
    }
  }
  EXPECT_EQ(decipherText(encipherText("\xC3\xBF", 0xFF)), "\xC3\xBF"); // ÿ
}

TEST(EssentialCipher, DecipherEdgeCases) {
  struct Case {
    const char* stored;
    std::string plain;
    const char* why;
  };
  const std::vector<Case> cases = {
      {"", "", "empty input"},
      {"7", "", "one character"},
      {"10", "", "exactly two hexadecimal digits: the start value alone"},
      // Third character read as one digit: 1 ^ 'Q' = 0x50, minus the start 0x10 = 0x40.
      {"101", "@", "exactly three characters"},
      {"0060A5", "12", "the known vector"},
      {"0060a5", "12", "lower-case digits"},
      {"0060A57", "12", "a single digit left at the end is ignored"},
      {"0060G5", "", "a pair that is not hexadecimal"},
      {"G060A5", "", "a start value that is not hexadecimal"},
      {"0060A", "1", "odd length: the last digit is ignored"},
      {"00 60A5", "", "a blank inside"},
  };
  for (const Case& c : cases) EXPECT_EQ(decipherText(c.stored), c.plain) << c.why << ": " << c.stored;
}

TEST(EssentialCipher, TheStartValueIsDrawnAnewEachTime) {
  std::set<int> seen;
  for (int i = 0; i < 16; ++i) {
    const int start = randomStartValue();
    ASSERT_GE(start, 0);
    ASSERT_LE(start, 255);
    seen.insert(start);
  }
  EXPECT_GT(seen.size(), 1u);
}

// ---- Splitting rule ----------------------------------------------------------

TEST(EssentialSplit, SeparatorsBlanksAndDoubleQuotes) {
  struct Case {
    std::string text;
    char separator;
    std::vector<std::string> items;
  };
  const std::vector<Case> cases = {
      {"", '*', {}},
      {"   ", '*', {}},
      {"7", '*', {"7"}},
      {"a*b", '*', {"a", "b"}},
      {"a**b", '*', {"a", "", "b"}},
      {"a*", '*', {"a", ""}},
      {"*a", '*', {"", "a"}},
      {"a* ", '*', {"a"}}, // the separator is not the very last character
      {"a b", '*', {"a", "b"}},
      {"  a  *  b  ", '*', {"a", "b"}},
      {"a\tb\x01" "c", '*', {"a", "b", "c"}},
      {"\"a b\"*c", '*', {"a b", "c"}},
      {"\"a\"\"b\"", '*', {"a\"b"}},
      {"\"ab", '*', {"ab"}},
      {"x\"y", '*', {"x\"y"}},
      {"\"a\"b", '*', {"a", "b"}},
      {"12;pedido|venda|15/03/202314:05:09", ';', {"12", "pedido|venda|15/03/202314:05:09"}},
      {"ação|vendas|x", '|', {"ação", "vendas", "x"}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(splitEssentialItems(c.text, c.separator), c.items) << "\"" << c.text << "\" at " << c.separator;
}

// ---- Date text -----------------------------------------------------------------

TEST(EssentialDateText, WrittenAndReadBackToTheSameValueUnderRegionalSettings) {
  struct Case {
    const char* region;
    platform::RegionalFormats formats;
    const char* withTime;
    const char* atMidnight;
  };
  platform::RegionalFormats us{"M/d/yyyy", "h:mm:ss tt", '/', ':', '.', ','};
  platform::RegionalFormats iso{"yyyy-MM-dd", "HH:mm:ss", '-', ':', '.', ','};
  platform::RegionalFormats german{"dd.MM.yyyy", "HH:mm:ss", '.', ':', ',', '.'};
  platform::RegionalFormats shortYear{"dd/MM/yy", "HH:mm:ss", '/', ':', ',', '.'};
  platform::RegionalFormats blanks{"dd MM yyyy", "HH mm ss", ' ', ' ', ',', '.'};
  const std::vector<Case> cases = {
      {"Brazil", kBrazil, "15/03/202314:05:09", "02/01/2024"},
      {"month first, 12-hour clock", us, "03/15/202314:05:09", "01/02/2024"},
      {"year first", iso, "2023-03-15T14:05:09", "2024-01-02"},
      {"dots", german, "15.03.202314:05:09", "02.01.2024"},
      {"two-digit year picture", shortYear, "15/03/202314:05:09", "02/01/2024"},
      {"blank separators", blanks, "15/03/202314:05:09", "02/01/2024"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.region);
    const utils::TDateTime afternoon = at(2023, 3, 15, 14, 5, 9), midnight = at(2024, 1, 2);
    EXPECT_EQ(essentialDateText(afternoon, c.formats), c.withTime);
    EXPECT_EQ(essentialDateText(midnight, c.formats), c.atMidnight);
    utils::TDateTime read = -1;
    ASSERT_TRUE(readEssentialDate(c.withTime, c.formats, read));
    EXPECT_EQ(read, afternoon); // bit for bit: the run compares it with the online date
    ASSERT_TRUE(readEssentialDate(c.atMidnight, c.formats, read));
    EXPECT_EQ(read, midnight);
  }
}

TEST(EssentialDateText, ReadingForms) {
  struct Case {
    const char* text;
    bool reads;
    utils::TDateTime value;
  };
  const std::vector<Case> cases = {
      {"15/03/202314:05:09", true, at(2023, 3, 15, 14, 5, 9)},
      {"15/03/2023 14:05:09", true, at(2023, 3, 15, 14, 5, 9)},
      {"15/03/202314:05", true, at(2023, 3, 15, 14, 5, 0)},
      {"01/01/199000:00:00", true, at(1990, 1, 1)},
      {"31/12/999923:59:59", true, at(9999, 12, 31, 23, 59, 59)},
      {"32/01/2024", false, 0},
      {"15/13/2023", false, 0},
      {"15/03/202325:00:00", false, 0},
      {"", false, 0},
      {"pedido", false, 0},
  };
  for (const Case& c : cases) {
    utils::TDateTime value = -1;
    EXPECT_EQ(readEssentialDate(c.text, kBrazil, value), c.reads) << c.text;
    if (c.reads) {
      EXPECT_EQ(value, c.value) << c.text;
    }
  }
}

// ---- Plain text ------------------------------------------------------------------

// Every shape of table the format knows: the plain text it writes and the rows
// a read gives back (a company row comes back only for a group without reports).
TEST(EssentialPlainText, EveryTableShapeRoundTripsThroughTheCipher) {
  struct Case {
    const char* shape;
    std::vector<ReportRow> rows;
    std::string plain;
    std::vector<ReportRow> readBack;
  };
  const ReportRow pedido = report(12, "pedido", "venda", at(2023, 3, 15, 14, 5, 9));
  const ReportRow nota = report(15, "nota", "nfe", at(2024, 1, 2));
  const std::vector<Case> cases = {
      {"a company row alone", {company(7)}, "7", {company(7)}},
      {"a company row with the registration's date", {ReportRow{7, "", "", at(1990, 1, 1)}}, "7", {company(7)}},
      {"company and reports", {company(12), pedido, nota},
       "12;pedido|venda|15/03/202314:05:09*15;nota|nfe|02/01/2024", {pedido, nota}},
      {"a report at midnight", {nota}, "15;nota|nfe|02/01/2024", {nota}},
      {"groups 5, 7, 5", {report(5, "a", "venda", at(2023, 1, 1, 8)), company(7), report(5, "b", "nfe", at(2023, 1, 2))},
       "5;a|venda|01/01/202308:00:00*7*5;b|nfe|02/01/2023",
       {report(5, "a", "venda", at(2023, 1, 1, 8)), company(7), report(5, "b", "nfe", at(2023, 1, 2))}},
      {"two reports of one company",
       {report(3, "x", "venda", at(2023, 5, 6, 7, 8, 9)), report(3, "y", "venda", at(2023, 5, 6, 7, 8, 10))},
       "3;x|venda|06/05/202307:08:09;y|venda|06/05/202307:08:10",
       {report(3, "x", "venda", at(2023, 5, 6, 7, 8, 9)), report(3, "y", "venda", at(2023, 5, 6, 7, 8, 10))}},
      {"accents up to code 255", {report(9, "relatório_ação", "vendas_ç", at(2023, 3, 15, 23, 59, 59))},
       "9;relatório_ação|vendas_ç|15/03/202323:59:59", {report(9, "relatório_ação", "vendas_ç", at(2023, 3, 15, 23, 59, 59))}},
      {"handle 0 first", {company(0), report(4, "a", "venda", at(2023, 1, 1))}, "0*4;a|venda|01/01/2023",
       {company(0), report(4, "a", "venda", at(2023, 1, 1))}},
      {"a negative handle", {company(-3)}, "-3", {company(-3)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.shape);
    EXPECT_EQ(essentialPlainText(c.rows, kBrazil), c.plain);
    const std::string stored = encipherText(c.plain, 0x5A);
    const DecodedEssentialFile decoded = parseEssentialPlainText(decipherText(stored), kBrazil);
    EXPECT_EQ(decoded.error, "");
    EXPECT_EQ(decoded.rows, c.readBack);
  }
}

TEST(EssentialPlainText, TheReadStopsAtTheFirstBadEntryAndKeepsWhatCameBefore) {
  struct Case {
    const char* plain;
    std::vector<ReportRow> rows;
    const char* why;
  };
  const std::vector<Case> cases = {
      {"7**8", {company(7)}, "an empty group"},
      {"7*", {company(7)}, "a final empty group"},
      {"7*x;a|b|01/01/2024", {company(7)}, "a handle that is not an integer"},
      {";a|b|01/01/2024", {}, "a group without a handle"},
      {"99999999999", {}, "a handle beyond 32 bits"},
      {"7;a|b", {}, "a report entry with two values"},
      {"7;a|b|01/01/2024;", {report(7, "a", "b", at(2024, 1, 1))}, "an empty report entry"},
      {"7;a|b|31/02/2024", {}, "a date that does not exist"},
      {"7;a|b|ontem", {}, "a date that is no date"},
      {"7;meu pedido|venda|01/01/2024", {}, "a blank splits the name"},
  };
  for (const Case& c : cases) {
    const DecodedEssentialFile decoded = parseEssentialPlainText(c.plain, kBrazil);
    EXPECT_NE(decoded.error, "") << c.why;
    EXPECT_EQ(decoded.rows, c.rows) << c.why;
  }
}

TEST(EssentialPlainText, BackslashesLeaveTheDateButNotTheNames) {
  const DecodedEssentialFile decoded = parseEssentialPlainText("7;a\\b|c\\d|15\\/03\\/2023", kBrazil);
  EXPECT_EQ(decoded.error, "");
  EXPECT_EQ(decoded.rows, (std::vector<ReportRow>{report(7, "a\\b", "c\\d", at(2023, 3, 15))}));
}

// ---- Report names --------------------------------------------------------------

TEST(ReportNames, PathPiecesAreRefused) {
  struct Case {
    const char* value;
    bool refused;
  };
  const std::vector<Case> cases = {
      {"..", true},     {".", true},         {"a\\b", true}, {"a/b", true}, {"C:x", true}, {"..\\..\\x", true},
      {"...", false},   {".oculto", false},  {"", false},    {"pedido", false}, {"relatório ação", false},
  };
  for (const Case& c : cases) EXPECT_EQ(isRefusedReportName(c.value), c.refused) << c.value;

  EXPECT_EQ(refusedReportValue("..", "venda"), "Relatório personalizado recusado: nome inválido \"..\" (pasta \"venda\")");
  EXPECT_EQ(refusedReportValue("pedido", "../x"),
            "Relatório personalizado recusado: pasta inválida \"../x\" (nome \"pedido\")");
  EXPECT_EQ(refusedReportValue("pedido", "venda"), std::nullopt);
  EXPECT_EQ(refusedReportValue("", ""), std::nullopt);
}

// ---- The module: write and read --------------------------------------------------

class EssentialFileModule : public ::testing::Test {
protected:
  test::TerminalFixture f;
  ReportTable& table = f.dbOnline.cdsDados;

  void fill(const std::vector<ReportRow>& rows) {
    for (const ReportRow& row : rows) table.Append(row);
  }
  // The rows a fresh table reads from the stored text.
  std::vector<ReportRow> readBack(std::string* error = nullptr) {
    table.CreateDataSet();
    const std::string e = f.dbOnline.lerArquivoBaseOnline(f.storedText());
    if (error) *error = e;
    else EXPECT_EQ(e, "");
    return table.Rows();
  }
};

TEST_F(EssentialFileModule, TheWriteStoresTheEncipheredTableAndClearsTheChangedFlag) {
  const std::vector<ReportRow> rows = {company(12), report(12, "pedido", "venda", at(2023, 3, 15, 14, 5, 9)),
                                       report(15, "nota", "nfe", at(2024, 1, 2))};
  fill(rows);
  table.SetChanged(true);
  table.SetRecNo(1);
  std::string error;
  ASSERT_TRUE(f.dbOnline.criaArquivoBaseOnline(error)) << error;
  EXPECT_FALSE(table.Changed());
  EXPECT_EQ(table.RecNo(), 1); // the write does not move the cursor
  const std::string stored = f.storedText();
  EXPECT_EQ(stored.size(), 2 + 2 * std::string("12;pedido|venda|15/03/202314:05:09*15;nota|nfe|02/01/2024").size());
  EXPECT_EQ(decipherText(stored), "12;pedido|venda|15/03/202314:05:09*15;nota|nfe|02/01/2024");
  EXPECT_EQ(readBack(), (std::vector<ReportRow>{rows[1], rows[2]}));
}

TEST_F(EssentialFileModule, TheSameTableWrittenTwiceGivesDifferentTextsWithTheSameRows) {
  fill({report(5, "a", "venda", at(2023, 1, 1, 8)), company(7), report(5, "b", "nfe", at(2023, 1, 2))});
  const std::vector<ReportRow> rows = table.Rows();
  std::set<std::string> texts;
  for (int i = 0; i < 8; ++i) {
    std::string error;
    ASSERT_TRUE(f.dbOnline.criaArquivoBaseOnline(error));
    texts.insert(f.storedText());
  }
  EXPECT_GT(texts.size(), 1u);
  for (const std::string& stored : texts) {
    ReportTable other;
    other.CreateDataSet();
    EXPECT_EQ(readEssentialPlainTextInto(other, decipherText(stored), kBrazil, nullptr), "");
    EXPECT_EQ(other.Rows(), rows);
  }
}

TEST_F(EssentialFileModule, AnEmptyTableIsNotWritten) {
  f.setStoredText("0060A5");
  table.SetChanged(true);
  std::string error;
  EXPECT_FALSE(f.dbOnline.criaArquivoBaseOnline(error));
  EXPECT_EQ(error, "As informações sobre a(s) empresa(s) não foi colhida de forma correta pelo seu Handle");
  EXPECT_EQ(f.storedText(), "0060A5");
  EXPECT_TRUE(table.Changed());
}

TEST_F(EssentialFileModule, ARefusedConfigWriteFailsAndKeepsTheChangedFlag) {
  fill({company(7)});
  table.SetChanged(true);
  f.dmUtils.gPathConfig = "C:\\Quorvelin\\nao-existe\\Config.ini"; // the default path goes there
  std::string error;
  EXPECT_FALSE(f.dbOnline.criaArquivoBaseOnline(error));
  EXPECT_EQ(error, "Falha na gravação do arquivo essencial no Config.ini. Descrição do erro: Unable to write to "
                   "C:\\Quorvelin\\nao-existe\\Config.ini");
  EXPECT_TRUE(table.Changed());
}

// Config.ini reads back 2047 characters: a plain text of 1022 characters is the
// longest that survives, and a longer one is not written over the stored value.
TEST_F(EssentialFileModule, TheLongestTextThatReadsBackIsWrittenAndALongerOneIsNot) {
  const auto rowsWithLastName = [](std::size_t length) {
    std::vector<ReportRow> rows;
    for (char c = 'a'; c < 'e'; ++c) rows.push_back(report(1, std::string(200, c), "d", at(2024, 1, 1)));
    rows.push_back(report(1, std::string(length, 'e'), "d", at(2024, 1, 1)));
    return rows;
  };
  fill(rowsWithLastName(151));
  ASSERT_EQ(essentialPlainText(table.Rows(), kBrazil).size(), 1022u);
  std::string error;
  ASSERT_TRUE(f.dbOnline.criaArquivoBaseOnline(error)) << error;
  EXPECT_EQ(f.storedText().size(), 2046u);
  const std::vector<ReportRow> written = table.Rows();
  EXPECT_EQ(readBack(), written);

  const std::string before = f.storedText();
  table.CreateDataSet();
  fill(rowsWithLastName(152));
  table.SetChanged(true);
  EXPECT_FALSE(f.dbOnline.criaArquivoBaseOnline(error));
  EXPECT_EQ(error, "O arquivo essencial cifrado teria 2048 caracteres, mais que os 2047 que o Config.ini devolve na "
                   "leitura; ele não foi gravado.");
  EXPECT_EQ(f.storedText(), before);
  EXPECT_TRUE(table.Changed());
}

TEST_F(EssentialFileModule, ANameWithABlankIsWrittenButTheNextReadFails) {
  fill({report(12, "meu pedido", "venda", at(2023, 3, 15, 14, 5, 9))});
  std::string error;
  ASSERT_TRUE(f.dbOnline.criaArquivoBaseOnline(error));
  readBack(&error);
  EXPECT_NE(error, "");
}

TEST_F(EssentialFileModule, AStoredTextThatDoesNotDecipherReadsAsNoRows) {
  for (const char* stored : {"10", "7", "0060G5", "não é hexadecimal"}) {
    table.CreateDataSet();
    EXPECT_EQ(f.dbOnline.lerArquivoBaseOnline(stored), "") << stored;
    EXPECT_EQ(table.RecordCount(), 0) << stored;
  }
}

TEST_F(EssentialFileModule, AReadErrorKeepsTheRowsReadBeforeIt) {
  const std::string error = f.dbOnline.lerArquivoBaseOnline(encipherText("7*8;a|b|01/01/2024*x", 0x11));
  EXPECT_NE(error, "");
  EXPECT_EQ(table.Rows(), (std::vector<ReportRow>{company(7), report(8, "a", "b", at(2024, 1, 1))}));
}

TEST_F(EssentialFileModule, RowsWithRefusedNamesAreLoggedAndLeftOutWhileTheReadGoesOn) {
  const std::string plain =
      "7;..|venda|01/01/2024;ok|venda|01/01/2024*8;x|.|02/01/2024*9;a/b|venda|03/01/2024;c|a\\b|03/01/2024*10";
  EXPECT_EQ(f.dbOnline.lerArquivoBaseOnline(encipherText(plain, 0x99)), "");
  EXPECT_EQ(table.Rows(), (std::vector<ReportRow>{report(7, "ok", "venda", at(2024, 1, 1)), company(10)}));
  EXPECT_EQ(f.log, (std::vector<std::string>{
                       "Relatório personalizado recusado: nome inválido \"..\" (pasta \"venda\")",
                       "Relatório personalizado recusado: pasta inválida \".\" (nome \"x\")",
                       "Relatório personalizado recusado: nome inválido \"a/b\" (pasta \"venda\")",
                       "Relatório personalizado recusado: pasta inválida \"a\\b\" (nome \"c\")",
                   }));
}

// After a legacy import the table holds what the essential file was just
// written from; reading that file must not add those rows a second time.
TEST_F(EssentialFileModule, TheReadSkipsRowsTheTableAlreadyHeld) {
  const ReportRow a = report(5, "a", "venda", at(2023, 1, 1, 8)), b = report(5, "b", "nfe", at(2023, 1, 2));
  fill({a, company(7), b});
  std::string error;
  ASSERT_TRUE(f.dbOnline.criaArquivoBaseOnline(error));
  EXPECT_EQ(f.dbOnline.lerArquivoBaseOnline(f.storedText()), "");
  EXPECT_EQ(table.Rows(), (std::vector<ReportRow>{a, company(7), b}));
  EXPECT_EQ(table.RecNo(), 3); // the last row read is current

  // Held: a company row with the registration's date, and a report of another
  // date. Read: that company, the same report twice and a new date of it.
  table.CreateDataSet();
  fill({ReportRow{12, "", "", at(1990, 1, 1)}, report(15, "nota", "nfe", at(2024, 1, 2))});
  const std::string plain = "12*15;nota|nfe|02/01/2024;nota|nfe|03/01/2024*12;pedido|venda|04/01/2024*12";
  EXPECT_EQ(f.dbOnline.lerArquivoBaseOnline(encipherText(plain, 0x01)), "");
  EXPECT_EQ(table.Rows(), (std::vector<ReportRow>{ReportRow{12, "", "", at(1990, 1, 1)},
                                                  report(15, "nota", "nfe", at(2024, 1, 2)),
                                                  report(15, "nota", "nfe", at(2024, 1, 3)),
                                                  report(12, "pedido", "venda", at(2024, 1, 4))}));
  EXPECT_EQ(table.RecNo(), 1); // the last group, company 12, stood already in row 1

  // Rows decoded twice from one text are all kept.
  table.CreateDataSet();
  EXPECT_EQ(f.dbOnline.lerArquivoBaseOnline(encipherText("5;a|venda|01/01/2023*5;a|venda|01/01/2023*5", 0x33)), "");
  EXPECT_EQ(table.RecordCount(), 3);
}

// One stored text, read on Linux and on Windows alike (the date text follows
// the regional settings, Brazilian on both test targets). Made with start
// value 0x5A; its first pair after the start value is '1' = 0x31:
// (0x5A + 0x31) mod 255 = 0x8B, 0x8B ^ 'Q' (0x51) = 0xDA.
constexpr const char* kStoredOnEveryTarget = 
    "5ADA3A27C3799F3AD0162DC39334F93DF66E94BF76C7A190FB60C0D64832312B68DE48363F4F2D303BF15089B06E94C2639A8DE82B02"
    "77E0404735230C1575";

TEST_F(EssentialFileModule, AFixedStoredTextReadsTheSameRowsOnEveryTarget) {
  const platform::RegionalFormats user = platform::userRegionalFormats();
  ASSERT_EQ(user.shortDateFormat, "dd/MM/yyyy") << "the suites run with Brazilian regional settings";
  ASSERT_EQ(user.dateSeparator, '/');
  EXPECT_EQ(std::string(kStoredOnEveryTarget).substr(0, 4), "5ADA");
  EXPECT_EQ(f.dbOnline.lerArquivoBaseOnline(kStoredOnEveryTarget), "");
  EXPECT_EQ(table.Rows(), (std::vector<ReportRow>{report(12, "pedido_ação", "venda", at(2023, 3, 15, 14, 5, 9)),
                                                  report(12, "nota", "nfe", at(2024, 1, 2)), company(40)}));
  EXPECT_EQ(table.Current().HANDLE, 40);
}

} // namespace
} // namespace vt
