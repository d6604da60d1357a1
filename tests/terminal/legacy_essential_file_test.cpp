// The import of the legacy JSON essential file into the report table and its
// rewrite as the essential file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/encoding.h"
#include "terminal/essential_file.h"
#include "terminal/legacy_essential_file.h"
#include "tests/terminal/report_rows.h"
#include "tests/terminal/terminal_fixture.h"

namespace vt {
namespace {

using nlohmann::json;
using test::at;
using test::report;

constexpr const char* kStatusError =
    "Não foi possível fazer a leitura dos dados desse terminal para configuração. Entre em contato com o suporte "
    "Quorvelin para restauração dos arquivos.";
constexpr const char* kJsonError = "Não foi possível instanciar o JSon para leitura. Descrição do erro: ";
constexpr const char* kLoopError = "Não foi possível instanciar o loop \"empresas\" para leitura. Descrição do erro: ";
constexpr const char* kGeneralError =
    "Falha na leitura geral do arquivo, entre handle e reports. Descrição do erro: ";

class LegacyImport : public ::testing::Test {
protected:
  test::TerminalFixture f;
  ReportTable& table = f.dbOnline.cdsDados;
  std::string file = f.installRoot + "reports\\queue\\hofn.fr3";

  // The file as the system writes its files (Windows-1252 on Windows).
  void writeLegacy(std::string_view text) { f.drive.write(file, platform::utf8ToFileText(text)); }
  LegacyImportOutcome import(std::string& error) { return importLegacyEssentialFile(f.dbOnline, file, error); }
};

TEST_F(LegacyImport, EveryReportBecomesARowTheEssentialFileIsWrittenAndTheFileDeleted) {
  writeLegacy("{\r\n"
              "  \"status\": \"success\",\r\n"
              "  \"empresas\": [\r\n"
              "    {\"handle\": 12, \"reports\": [\r\n"
              "      {\"filename\": \"pedido_ação\", \"diretorio\": \"venda\", \"dataalt\": \"15/03/2023 14:05:09\"},\r\n"
              "      {\"filename\": \"nota\", \"diretorio\": \"nfe\", \"dataalt\": \"02/01/2024\"}]},\r\n"
              "    {\"handle\": \"15\", \"reports\": [\r\n"
              "      {\"filename\": \"etiqueta\", \"diretorio\": \"estoque\", \"dataalt\": \"15\\/03\\/2023 08:00:00\"}]},\r\n"
              "    {\"handle\": 20, \"reports\": []}\r\n"
              "  ]\r\n"
              "}\r\n");
  std::string error = "anterior";
  ASSERT_EQ(import(error), LegacyImportOutcome::Imported) << error;
  EXPECT_EQ(error, "");
  const std::vector<ReportRow> rows = {report(12, "pedido_ação", "venda", at(2023, 3, 15, 14, 5, 9)),
                                       report(12, "nota", "nfe", at(2024, 1, 2)),
                                       report(15, "etiqueta", "estoque", at(2023, 3, 15, 8))};
  EXPECT_EQ(table.Rows(), rows);
  EXPECT_FALSE(f.drive.exists(file));
  // Company 20 had no report: it is not in the essential file.
  EXPECT_EQ(decipherText(f.storedText()),
            "12;pedido_ação|venda|15/03/202314:05:09;nota|nfe|02/01/2024*15;etiqueta|estoque|15/03/202308:00:00");
  EXPECT_TRUE(f.log.empty());
  // The reading of the essential file that follows adds nothing twice.
  EXPECT_EQ(f.dbOnline.lerArquivoBaseOnline(f.storedText()), "");
  EXPECT_EQ(table.Rows(), rows);
}

TEST_F(LegacyImport, FailuresLeaveTheFileInPlaceAndConfigIniUntouched) {
  struct Case {
    std::string json;
    std::string error; // exact text, or the start of it when it ends with ": "
    std::size_t rowsLeft;
  };
  const std::string ok = R"({"filename":"a","diretorio":"venda","dataalt":"01/01/2024"})";
  const std::vector<Case> cases = {
      {R"({"status":"failure","empresas":[]})", kStatusError, 0},
      {R"({"empresas":[]})", kStatusError, 0},
      {R"({"status":"Success","empresas":[]})", kStatusError, 0},
      {R"({"status":true,"empresas":[]})", kStatusError, 0},
      {"isto não é JSON", kJsonError, 0},
      {"", kJsonError, 0},
      {R"([{"status":"success"}])", kJsonError, 0},
      {R"({"status":"success","empresas":{}})", kLoopError, 0},
      {R"({"status":"success","empresas":"x"})", kLoopError, 0},
      {R"({"status":"success"})", kGeneralError, 0},
      {R"({"status":"success","empresas":[{"handle":"abc","reports":[]}]})", kGeneralError, 0},
      {R"({"status":"success","empresas":[{"handle":1.5,"reports":[]}]})", kGeneralError, 0},
      {R"({"status":"success","empresas":[{"handle":99999999999,"reports":[]}]})", kGeneralError, 0},
      {R"({"status":"success","empresas":[{"reports":[]}]})", kGeneralError, 0},
      {R"({"status":"success","empresas":[{"handle":3}]})", kGeneralError, 0},
      {R"({"status":"success","empresas":[{"handle":3,"reports":{}}]})", kGeneralError, 0},
      {R"({"status":"success","empresas":[{"handle":3,"reports":[{"diretorio":"v","dataalt":"01/01/2024"}]}]})",
       kGeneralError, 0},
      {R"({"status":"success","empresas":[{"handle":3,"reports":[{"filename":"a","diretorio":"v"}]}]})",
       kGeneralError, 0},
      {R"({"status":"success","empresas":[{"handle":3,"reports":[{"filename":"a","diretorio":"v","dataalt":"ontem"}]}]})",
       kGeneralError, 0},
      {R"({"status":"success","empresas":[{"handle":3,"reports":[{"filename":"a","diretorio":"v","dataalt":20240101}]}]})",
       kGeneralError, 0},
      // Rows added before the failure stay.
      {R"({"status":"success","empresas":[{"handle":3,"reports":[)" + ok + R"(]},{"handle":"x","reports":[]}]})",
       kGeneralError, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.json);
    table.CreateDataSet();
    writeLegacy(c.json);
    std::string error;
    EXPECT_EQ(import(error), LegacyImportOutcome::Failed);
    if (c.error.ends_with(": ")) {
      EXPECT_TRUE(error.starts_with(c.error)) << error;
      EXPECT_GT(error.size(), c.error.size()) << "the reason follows";
    } else {
      EXPECT_EQ(error, c.error);
    }
    EXPECT_EQ(table.RecordCount(), static_cast<int>(c.rowsLeft));
    EXPECT_TRUE(f.drive.exists(file));
    EXPECT_EQ(f.storedText(), "");
  }
}

TEST_F(LegacyImport, AMissingFileFailsTheInitialRead) {
  std::string error;
  EXPECT_EQ(import(error), LegacyImportOutcome::Failed);
  EXPECT_TRUE(error.starts_with("Falha na leitura inicial do arquivo. Descrição do erro: ")) << error;
  EXPECT_NE(error.find("hofn.fr3"), std::string::npos) << error;
}

TEST_F(LegacyImport, ElementsThatAreNotObjectsAreSkipped) {
  writeLegacy(R"({"status":"success","empresas":[1,"x",null,[],
                 {"handle":3,"reports":[null,5,"r",{"filename":"a","diretorio":"venda","dataalt":"01/01/2024"}]}]})");
  std::string error;
  ASSERT_EQ(import(error), LegacyImportOutcome::Imported) << error;
  EXPECT_EQ(table.Rows(), (std::vector<ReportRow>{report(3, "a", "venda", at(2024, 1, 1))}));
}

TEST_F(LegacyImport, WithoutAnyReportTheWriteFailsAndTheCallerIsToldApart) {
  f.setStoredText("0060A5");
  writeLegacy(R"({"status":"success","empresas":[{"handle":12,"reports":[]},{"handle":15,"reports":[]}]})");
  std::string error;
  EXPECT_EQ(import(error), LegacyImportOutcome::WriteFailed);
  EXPECT_EQ(error, kEssentialEmptyTableError);
  EXPECT_TRUE(f.drive.exists(file));
  EXPECT_EQ(f.storedText(), "0060A5");
}

TEST_F(LegacyImport, LinesAreJoinedWithoutSeparator) {
  writeLegacy("{\"status\":\"succ\r\ness\",\"empresas\":[{\"handle\":1\n2,\"reports\":[\r"
              "{\"filename\":\"ped\nido\",\"diretorio\":\"venda\",\"dataalt\":\"01/01/2024\"}]}]}");
  std::string error;
  ASSERT_EQ(import(error), LegacyImportOutcome::Imported) << error;
  EXPECT_EQ(table.Rows(), (std::vector<ReportRow>{report(12, "pedido", "venda", at(2024, 1, 1))}));
}

TEST_F(LegacyImport, AFileWithTheUtf8ByteOrderMarkIsReadAsUtf8) {
  f.drive.write(file, "\xEF\xBB\xBF{\"status\":\"success\",\"empresas\":[{\"handle\":1,\"reports\":["
                      "{\"filename\":\"ação\",\"diretorio\":\"vendas_ç\",\"dataalt\":\"01/01/2024\"}]}]}");
  std::string error;
  ASSERT_EQ(import(error), LegacyImportOutcome::Imported) << error;
  EXPECT_EQ(table.Rows(), (std::vector<ReportRow>{report(1, "ação", "vendas_ç", at(2024, 1, 1))}));
}

// The names keep their escaping backslashes, so a name with a backslash, a
// slash or an escaped character reaches the name rule and is refused.
TEST_F(LegacyImport, EscapedNamesAndPathPiecesAreRefusedAndLogged) {
  writeLegacy(R"({"status":"success","empresas":[{"handle":3,"reports":[
      {"filename":"a\\b","diretorio":"venda","dataalt":"01/01/2024"},
      {"filename":"a/b","diretorio":"venda","dataalt":"01/01/2024"},
      {"filename":"pe\"dido","diretorio":"venda","dataalt":"01/01/2024"},
      {"filename":"x","diretorio":"..","dataalt":"01/01/2024"},
      {"filename":"boa","diretorio":"venda","dataalt":"01/01/2024"}]}]})");
  std::string error;
  ASSERT_EQ(import(error), LegacyImportOutcome::Imported) << error;
  EXPECT_EQ(table.Rows(), (std::vector<ReportRow>{report(3, "boa", "venda", at(2024, 1, 1))}));
  EXPECT_EQ(f.log, (std::vector<std::string>{
                       "Relatório personalizado recusado: nome inválido \"a\\\\b\" (pasta \"venda\")",
                       "Relatório personalizado recusado: nome inválido \"a\\/b\" (pasta \"venda\")",
                       "Relatório personalizado recusado: nome inválido \"pe\\dido\" (pasta \"venda\")",
                       "Relatório personalizado recusado: pasta inválida \"..\" (nome \"x\")",
                   }));
}

TEST(LegacyJsonText, TheTextFormTheImportTakesValuesIn) {
  struct Case {
    json value;
    std::string text;
  };
  const std::vector<Case> cases = {
      {"pedido", "\"pedido\""},
      {"a\\b", "\"a\\\\b\""},
      {"a/b", "\"a\\/b\""},
      {"a\"b", "\"a\\\"b\""},
      {"\b\t\n\f\r", "\"\\b\\t\\n\\f\\r\""},
      {"\x01" "ação", "\"\x01" "ação\""},
      {"15/03/2023 14:05:09", "\"15\\/03\\/2023 14:05:09\""},
      {12, "12"},
      {-5, "-5"},
      {json(4000000000u), "4000000000"},
      {1.5, "1.5"},
      {true, "true"},
      {nullptr, "null"},
      {json::array({1, "a/b"}), "[1,\"a\\/b\"]"},
      {json{{"k", "v"}, {"n", json::array()}}, "{\"k\":\"v\",\"n\":[]}"},
  };
  for (const Case& c : cases) EXPECT_EQ(legacyJsonText(c.value), c.text) << c.value.dump();
}

TEST(LegacyJsonText, AVeryDeepValueDoesNotExhaustTheStack) {
  const std::size_t depth = 200000;
  const json deep = json::parse(std::string(depth, '[') + std::string(depth, ']'));
  const std::string text = legacyJsonText(deep);
  EXPECT_EQ(text.size(), 2 * depth);
  EXPECT_EQ(text.substr(0, 3), "[[[");
}

} // namespace
} // namespace vt
