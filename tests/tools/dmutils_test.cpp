#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "tools/dmutils/registry.h"

namespace vt::tools {
namespace {

using nlohmann::json;

class DmutilsTest : public testing::Test {
protected:
  DmutilsTest() { registerAllOps(registry_); }

  json ask(const std::string& line) const {
    const std::string answer = registry_.answer(line);
    EXPECT_EQ(answer.find('\n'), std::string::npos) << "one answer, one line: " << answer;
    return json::parse(answer);
  }

  OpRegistry registry_;
};

struct Exchange {
  std::string request;
  json answer;
};

// One request per operation, each answer telling the operations apart (a
// registration wired to the wrong function shows here).
TEST_F(DmutilsTest, EveryOperationAnswersWithItsResult) {
  const std::vector<Exchange> exchanges = {
      {R"({"op":"validaIE","args":["110.042.490.114","SP"]})", {{"op", "validaIE"}, {"result", true}}},
      {R"({"op":"validaIE","args":["110.042.490.115","SP"]})", {{"op", "validaIE"}, {"result", false}}},
      {R"({"op":"validaCPF","args":["529.982.247-25"]})", {{"op", "validaCPF"}, {"result", true}}},
      {R"({"op":"validaCNPJ","args":["11.222.333/0001-81"]})", {{"op", "validaCNPJ"}, {"result", true}}},
      {R"({"op":"validaEMail","args":["a@b@c.d"]})", {{"op", "validaEMail"}, {"result", false}}},
      {R"({"op":"validaPlacaVeiculo","args":["ABC1D23"]})", {{"op", "validaPlacaVeiculo"}, {"result", true}}},
      {R"({"op":"cnpjCriaMascara","args":["11222333000181"]})",
       {{"op", "cnpjCriaMascara"}, {"result", "11.222.333/0001-81"}}},
      {R"({"op":"mascaraCnpj","args":["123"]})", {{"op", "mascaraCnpj"}, {"result", "123"}}},
      {R"({"op":"ncmCriaMascara","args":["22030000"]})", {{"op", "ncmCriaMascara"}, {"result", "2203.00.00"}}},
      {R"({"op":"cestCriaMascara","args":["0300100"]})", {{"op", "cestCriaMascara"}, {"result", "03.001.00"}}},
      {R"({"op":"soNumericos","args":["V1.02-b"]})", {{"op", "soNumericos"}, {"result", "102"}}},
      {R"({"op":"soCaracterString","args":["V1.02-b"]})", {{"op", "soCaracterString"}, {"result", "Vb"}}},
      {R"({"op":"soAlfanumericos","args":["V1.02-b"]})", {{"op", "soAlfanumericos"}, {"result", "V102b"}}},
      {R"({"op":"soFloatNumericos","args":["R$ 1.234,56",false,true]})",
       {{"op", "soFloatNumericos"}, {"result", "1234,56"}}},
      {R"({"op":"insereCaracter","args":["E","0","7",2]})", {{"op", "insereCaracter"}, {"result", "07"}}},
      {R"({"op":"preencheEspacosDireita","args":[" ab ",4,"."]})",
       {{"op", "preencheEspacosDireita"}, {"result", "ab.."}}},
      {R"({"op":"removeZeros","args":["  0012 "]})", {{"op", "removeZeros"}, {"result", "12"}}},
      {R"({"op":"removeAcento","args":["Ação"]})", {{"op", "removeAcento"}, {"result", "Acao"}}},
      {R"({"op":"arrumaStr","args":["Ação & Cia"]})", {{"op", "arrumaStr"}, {"result", "Acao e Cia"}}},
      {R"({"op":"PrimeirasMaiusculas","args":["maria das dores"]})",
       {{"op", "PrimeirasMaiusculas"}, {"result", "Maria das Dores "}}},
      {R"({"op":"quotedStringParaSQL","args":["D'Ávila"]})",
       {{"op", "quotedStringParaSQL"}, {"result", "'D´Ávila'"}}},
      {R"({"op":"ocorrenciaDeCaracter","args":["ããa","ã"]})", {{"op", "ocorrenciaDeCaracter"}, {"result", 2}}},
      {R"({"op":"strIsInteger","args":["$1F"]})", {{"op", "strIsInteger"}, {"result", true}}},
      {R"({"op":"strIsNumber","args":[""]})", {{"op", "strIsNumber"}, {"result", false}}},
      {R"({"op":"getIntegerFromBoolean","args":[true]})", {{"op", "getIntegerFromBoolean"}, {"result", 1}}},
      {R"({"op":"getBooleanFromInteger","args":[-5]})", {{"op", "getBooleanFromInteger"}, {"result", true}}},
      {R"({"op":"getBooleanFromString","args":["true"]})", {{"op", "getBooleanFromString"}, {"result", false}}},
      {R"({"op":"getStringFromBoolean","args":[false]})", {{"op", "getStringFromBoolean"}, {"result", "False"}}},
  };
  for (const auto& e : exchanges) EXPECT_EQ(ask(e.request), e.answer) << e.request;
}

TEST_F(DmutilsTest, GtinAnswersCarryTheComputedDigitAsOutParameter) {
  const std::vector<Exchange> exchanges = {
      {R"({"op":"validaGTIN13","args":["7891000315507"]})",
       {{"op", "validaGTIN13"}, {"result", true}, {"out", {{"ADigCalc", 7}}}}},
      {R"({"op":"validaGTIN13","args":["7891000315500"]})",
       {{"op", "validaGTIN13"}, {"result", false}, {"out", {{"ADigCalc", 7}}}}},
      {R"({"op":"validaGTIN8","args":["96385074"]})",
       {{"op", "validaGTIN8"}, {"result", true}, {"out", {{"ADigCalc", 4}}}}},
      {R"({"op":"validaGTIN12","args":["036000291452"]})",
       {{"op", "validaGTIN12"}, {"result", true}, {"out", {{"ADigCalc", 2}}}}},
      {R"({"op":"validaGTIN14","args":["10012345678902"]})",
       {{"op", "validaGTIN14"}, {"result", true}, {"out", {{"ADigCalc", 2}}}}},
      // "SEM GTIN" leaves the in-out digit as it came in.
      {R"({"op":"validaGTIN13","args":["sem gtin",5]})",
       {{"op", "validaGTIN13"}, {"result", true}, {"out", {{"ADigCalc", 5}}}}},
      {R"({"op":"validaGTIN13","args":["SEM GTIN"]})",
       {{"op", "validaGTIN13"}, {"result", true}, {"out", {{"ADigCalc", 0}}}}},
  };
  for (const auto& e : exchanges) EXPECT_EQ(ask(e.request), e.answer) << e.request;
}

TEST_F(DmutilsTest, UnknownOperationIsAnErrorAnswer) {
  EXPECT_EQ(ask(R"({"op":"validaRG","args":["1"]})"), (json{{"op", "validaRG"}, {"error", "unknown operation"}}));
  EXPECT_EQ(ask(R"({"op":"validaie","args":["1","SP"]})"),
            (json{{"op", "validaie"}, {"error", "unknown operation"}}));  // names are case-sensitive
}

TEST_F(DmutilsTest, WrongArgumentsAreErrorAnswersNamingTheProblem) {
  struct Case {
    std::string request;
    std::string op;
    std::string mentions;
  };
  const std::vector<Case> cases = {
      {R"({"op":"validaIE","args":["110042490114"]})", "validaIE", "2 argument"},
      {R"({"op":"validaIE"})", "validaIE", "got 0"},
      {R"({"op":"validaIE","args":["110042490114","SP","x"]})", "validaIE", "got 3"},
      {R"({"op":"validaIE","args":[110042490114,"SP"]})", "validaIE", "argument 1 must be a text"},
      {R"({"op":"validaCPF","args":[null]})", "validaCPF", "argument 1 must be a text"},
      {R"({"op":"validaGTIN13","args":["7891000315507","7"]})", "validaGTIN13", "argument 2 must be an integer"},
      {R"({"op":"insereCaracter","args":["E","0","7",2.5]})", "insereCaracter", "argument 4 must be an integer"},
      {R"({"op":"insereCaracter","args":["E","0","7",4294967298]})", "insereCaracter", "32-bit"},
      {R"({"op":"soFloatNumericos","args":["1,5",1,0]})", "soFloatNumericos", "argument 2 must be true or false"},
      {R"({"op":"ocorrenciaDeCaracter","args":["abc","ab"]})", "ocorrenciaDeCaracter", "single character"},
      {R"({"op":"ocorrenciaDeCaracter","args":["abc",""]})", "ocorrenciaDeCaracter", "single character"},
      {R"({"op":"getBooleanFromInteger","args":["1"]})", "getBooleanFromInteger", "argument 1 must be an integer"},
  };
  for (const auto& c : cases) {
    const json answer = ask(c.request);
    EXPECT_EQ(answer.value("op", ""), c.op) << c.request;
    EXPECT_FALSE(answer.contains("result")) << c.request;
    const std::string error = answer.value("error", "");
    EXPECT_EQ(error.rfind("wrong arguments: ", 0), 0u) << c.request << " -> " << error;
    EXPECT_NE(error.find(c.mentions), std::string::npos) << c.request << " -> " << error;
  }
}

TEST_F(DmutilsTest, MalformedRequestsAreErrorAnswers) {
  for (const std::string line : {"not json", "{", "[]", R"({"args":[]})", R"({"op":7})", R"({"op":"validaIE","args":"x"})"}) {
    const json answer = ask(line);
    EXPECT_TRUE(answer.contains("error")) << line;
    EXPECT_FALSE(answer.contains("result")) << line;
  }
}

// The parser's message quotes the bytes it stopped at: bytes that are not
// UTF-8 must still give one line of JSON, not end the tool.
TEST_F(DmutilsTest, ARequestLineThatIsNotUtf8GetsAnErrorAnswer) {
  for (const std::string line : {"\xFF", "{\"op\":\xFF}", "{\"op\":\"soNumericos\",\"args\":[\"12\xC3\"]}",
                                 "{\"op\":\"soNumericos\",\"args\":[\"\xE2\x82\"]}\r"}) {
    const auto answer = registry_.answerInputLine(line);
    ASSERT_TRUE(answer.has_value());
    EXPECT_EQ(answer->find('\n'), std::string::npos) << *answer;
    EXPECT_TRUE(json::parse(*answer).contains("error")) << *answer;
  }
}

TEST_F(DmutilsTest, InputLinesLoseTheirCarriageReturnAndBlankOnesHaveNoAnswer) {
  EXPECT_EQ(registry_.answerInputLine("{\"op\":\"soNumericos\",\"args\":[\"a1\"]}\r"),
            json({{"op", "soNumericos"}, {"result", "1"}}).dump());
  for (const std::string line : {"", " \t ", "\r", "  \r"}) EXPECT_FALSE(registry_.answerInputLine(line).has_value());
}

TEST_F(DmutilsTest, BadTextsNeverBreakTheAnswer) {
  const std::string longText(200000, '9');
  EXPECT_EQ(ask(json{{"op", "validaIE"}, {"args", {longText, "SP"}}}.dump()),
            (json{{"op", "validaIE"}, {"result", false}}));
  EXPECT_EQ(ask(R"({"op":"validaIE","args":["P","SP"]})"), (json{{"op", "validaIE"}, {"result", false}}));
  EXPECT_EQ(ask(R"({"op":"arrumaStr","args":["\u0000\t中"]})"), (json{{"op", "arrumaStr"}, {"result", "???"}}));
  EXPECT_EQ(ask(R"({"op":"validaEMail","args":["ção@x.com"]})"), (json{{"op", "validaEMail"}, {"result", false}}));
}

} // namespace
} // namespace vt::tools
