#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/regional.h"
#include "tools/dmutils/registry.h"

namespace vt::tools {
namespace {

using nlohmann::json;

class DmutilsWordsCodesFiscal : public testing::Test {
protected:
  DmutilsWordsCodesFiscal() { registerAllOps(registry_); }

  json ask(const std::string& line) const {
    const std::string answer = registry_.answer(line);
    EXPECT_EQ(answer.find('\n'), std::string::npos) << answer;
    return json::parse(answer);
  }

  OpRegistry registry_;
};

struct Exchange {
  std::string request;
  json result;
};

// One request per operation, each result telling the operations apart.
TEST_F(DmutilsWordsCodesFiscal, EveryOperationAnswersWithItsResult) {
  const std::vector<Exchange> exchanges = {
      {R"({"op":"dateToString","args":["2024-03-05","/","AAAAMMDD"]})", "2024/03/05"},
      {R"({"op":"getDateFromString","args":["2024/03/05"]})", "2024-03-05"},
      {R"({"op":"getDateTimeFromString","args":["05-03-2024 10:20","dd-MM-yyyy","hh:nn"," "]})",
       "2024-03-05T10:20:00"},
      {R"({"op":"secToTime","args":[3725]})", "01:02:05"},
      {R"({"op":"encodaHora","args":[4294967295]})", "06:28:15"},
      {R"({"op":"compararHora","args":["08:59","08:00","H"]})", 0},
      {R"({"op":"compararHora","args":["2024-01-01T08:00:04.100","08:00:04.900","T"]})", 1},
      {R"({"op":"compararValores","args":[1.004,1.001,"2"]})", 0},
      {R"({"op":"Arredondar","args":[2.3461,2]})", 2.35},
      {R"({"op":"rountToPrecision","args":[2.1]})", 2.5},
      {R"({"op":"converterFloatSQLSimples","args":["1.234,56"]})", "1234.56"},
      {R"({"op":"valorPorExtenso","args":[1000000,true]})", "um milhão de reais"},
      {R"({"op":"anoPorExtenso","args":["2041-01-01"]})", "dois mil e quarenta e um"},
      {R"({"op":"mesPorExtenso","args":["2024-03-05T23:59:59"]})", "Março"},
      {R"({"op":"diaDaSemanaExtenso","args":[1,true,true]})", "Segunda-feira"},
      {R"({"op":"diaDoMesOrdinal","args":[21]})", "vigésimo primeiro"},
      {R"({"op":"codigoUF","args":["SP"]})", "35"},
      {R"({"op":"estadoUFValido","args":["EX"]})", true},
      {R"({"op":"nomeEstadoToSiglaUf","args":["Paraíba"]})", "PB"},
      {R"({"op":"siglaUFtoNomeEstado","args":["PR"]})", "Paraná (PR)"},
      {R"({"op":"nomePaisPorCodigo","args":[1058]})", "BRASIL"},
      {R"({"op":"cfopDeVenda","args":["5.102"]})", false},
      {R"({"op":"indicadorPresenca","args":["9"]})", "9 - Operação não presencial, outros"},
      {R"({"op":"formataObsFiscal","args":["a\r\n\r\nb\r\n","|"]})", "a|b"},
      {R"({"op":"arredondarSAT","args":[-2.355,-2]})", -2.36},
      {R"({"op":"cNFfromNumOper","args":[123,1]})", 50000123},
      {R"({"op":"cNFtoNumOper","args":[50000000]})", 50000000},
      {R"({"op":"compraTipoString","args":[2]})", "Pedido de Compra"},
      {R"({"op":"vendaTipoString","args":[11]})", "Pré-Venda"},
      {R"({"op":"dataVctoMensalistaQuinzenalOuSemanal","args":["2024-03-10","Mensalista",31,1,15,20,5,6,1]})",
       "2024-04-30T23:59:59.999"},
      {R"({"op":"dataVctoMensalistaQuinzenalOuSemanal","args":["2024-03-25","QUINZENAL",10,1,15,20,5,6,1]})",
       "2024-04-05"},
      {R"({"op":"mesmoDiaMesSeguinte","args":["2024-01-31T10:00:00"]})", "2024-02-29T10:00:00"},
      {R"({"op":"proximoNumeroCheque","args":["AB-19"]})", "AB-20"},
  };
  for (const auto& e : exchanges) {
    const json answer = ask(e.request);
    ASSERT_TRUE(answer.contains("result")) << e.request << " -> " << answer.dump();
    EXPECT_EQ(answer["result"], e.result) << e.request;
  }
}

// The operations that read the user's regional settings, with the Brazilian
// ones (those of Linux, and of the Windows suite's Wine).
TEST_F(DmutilsWordsCodesFiscal, RegionalOperationsUseTheUsersSettings) {
  const platform::RegionalFormats user = platform::userRegionalFormats();
  if (user.decimalSeparator != ',' || user.dateSeparator != '/' || user.shortDateFormat.rfind("dd", 0) != 0)
    GTEST_SKIP() << "the user's regional settings are not the Brazilian ones";
  const std::vector<Exchange> exchanges = {
      {R"({"op":"truncDecimal","args":[2.3499,2]})", 2.34},
      {R"({"op":"currencyToFloat","args":["R$ -12,50"]})", -12.5},
      {R"({"op":"myTextToFloat","args":["1.234,5"]})", 1234.5},
      {R"({"op":"converterComprimentoStringToFloat","args":["1,5 m"]})", 1.5},
      {R"({"op":"strIsFloat","args":["1,5"]})", true},
      {R"({"op":"strIsDate","args":["31/04/2024"]})", false},
      {R"({"op":"strIsDateTime","args":["30/04/2024 10:00"]})", true},
      {R"({"op":"strIsDate","args":["30/04/2024"]})", true},
      {R"({"op":"strIsFloat","args":["1.5"]})", false},
  };
  for (const auto& e : exchanges) {
    const json answer = ask(e.request);
    ASSERT_TRUE(answer.contains("result")) << e.request << " -> " << answer.dump();
    EXPECT_EQ(answer["result"], e.result) << e.request;
  }
  EXPECT_EQ(ask(R"({"op":"strParaDateTime","args":["01/02/2024 10:20:30"]})"),
            json({{"op", "strParaDateTime"}, {"result", true}, {"out", {{"ARetornaDataHora", "2024-02-01T10:20:30"}}}}));
}

TEST_F(DmutilsWordsCodesFiscal, OutParameterOfStrParaDateTimeKeepsItsValueOnFailure) {
  EXPECT_EQ(ask(R"({"op":"strParaDateTime","args":["01/02/2024","2020-06-01T08:00:00"]})"),
            json({{"op", "strParaDateTime"}, {"result", false}, {"out", {{"ARetornaDataHora", "2020-06-01T08:00:00"}}}}));
  EXPECT_EQ(ask(R"({"op":"strParaDateTime","args":["x"]})")["out"]["ARetornaDataHora"], "1899-12-30");
}

TEST_F(DmutilsWordsCodesFiscal, ValuesJsonCannotWriteTravelAsTexts) {
  EXPECT_EQ(ask(R"({"op":"arredondarSAT","args":["NaN",2]})")["result"], "NaN");
  EXPECT_EQ(ask(R"({"op":"Arredondar","args":["-Infinity",2]})")["result"], "-Infinity");
  EXPECT_EQ(ask(R"({"op":"truncDecimal","args":["Infinity",2]})")["result"], "Infinity");
  EXPECT_EQ(ask(R"({"op":"valorPorExtenso","args":["Infinity",true]})")["result"],
            "Erro por extenso: valor não pode ser superior a 999 trilhões.");
  EXPECT_EQ(ask(R"({"op":"compararValores","args":["Infinity",1e308,"2"]})")["result"], 1);
  EXPECT_EQ(ask(R"({"op":"rountToPrecision","args":["nan"]})")["error"],
            "wrong arguments: argument 1 must be a number (or \"NaN\", \"Infinity\", \"-Infinity\")");
}

TEST_F(DmutilsWordsCodesFiscal, BadInputIsAnsweredAsAnErrorLine) {
  struct Case { const char* request; const char* error; } cases[] = {
      {R"({"op":"mesmoDiaMesSeguinte","args":["9999-12-31"]})",
       "the date lies outside the calendar (years 1 to 9999)"},
      {R"({"op":"dataVctoMensalistaQuinzenalOuSemanal","args":["0001-01-01","Semanal",1,1,15,20,5,-2147483648,1]})",
       "the due date lies outside the calendar"},
      {R"({"op":"mesmoDiaMesSeguinte","args":["2024-02-30"]})",
       "wrong arguments: argument 1 must be a date as YYYY-MM-DD or YYYY-MM-DDThh:mm:ss"},
      {R"({"op":"mesmoDiaMesSeguinte","args":["05/03/2024"]})",
       "wrong arguments: argument 1 must be a date as YYYY-MM-DD or YYYY-MM-DDThh:mm:ss"},
      {R"({"op":"mesmoDiaMesSeguinte","args":["2024-03-05T24:00:00"]})",
       "wrong arguments: argument 1 must be a date as YYYY-MM-DD or YYYY-MM-DDThh:mm:ss"},
      {R"({"op":"compararHora","args":["08:00","8:00","H"]})",
       "wrong arguments: argument 2 must be a time as hh:mm:ss (or a date and time as YYYY-MM-DDThh:mm:ss)"},
      {R"({"op":"compararHora","args":["08:00","08:00","X"]})", "'X' is not a valid integer value"},
      {R"({"op":"compararValores","args":[1,2,"x"]})", "Format '%2.xf' invalid or incompatible with argument"},
      {R"({"op":"myTextToFloat","args":["1.2,3,4"]})", "'12,3,4' is not a valid floating point value"},
      {R"({"op":"currencyToFloat","args":["1,2,3"]})", "'1,2,3' is not a valid floating point value"},
      {R"({"op":"getDateTimeFromString","args":["2024-03-05 10:99","yyyy-MM-dd","hh:nn"," "]})",
       "'2024-03-05T10:99' is not a valid date and time"},
      {R"({"op":"cNFfromNumOper","args":[2147483647,1]})", "operation number 2147483647 has no invoice numeric code"},
      {R"({"op":"nomePaisPorCodigo","args":[2147483648]})", "wrong arguments: argument 1 must be a 32-bit integer"},
      {R"({"op":"encodaHora","args":[-1]})", "wrong arguments: argument 1 must be an integer from 0 to 4294967295"},
      {R"({"op":"secToTime","args":[]})", "wrong arguments: expected 1 argument(s), got 0"},
      {R"({"op":"dataVctoMensalistaQuinzenalOuSemanal","args":["2024-03-10","Mensalista",31]})",
       "wrong arguments: expected 9 argument(s), got 3"},
  };
  for (const auto& c : cases) EXPECT_EQ(ask(c.request)["error"], c.error) << c.request;
}

} // namespace
} // namespace vt::tools
