// The dmutils tool's essential-file operations: cipher, the write's plain
// text and the read, answered as JSON lines and never writing Config.ini.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "tests/support/temp_drive.h"
#include "tools/dmutils/registry.h"

namespace vt::tools {
namespace {

using nlohmann::json;

class DmutilsEssentialFile : public testing::Test {
protected:
  DmutilsEssentialFile() { registerAllOps(registry_); }
  json ask(const json& request) const { return json::parse(registry_.answer(request.dump())); }
  json ask(const std::string& op, const json& args) const {
    json request = json::object();
    request["op"] = op;
    request["args"] = args;
    return ask(request);
  }
  // The request's arguments, in order (a braced list alone would fold one array argument into the list).
  template <typename... Args>
  static json args(Args&&... values) {
    json list = json::array();
    (list.push_back(json(std::forward<Args>(values))), ...);
    return list;
  }

  OpRegistry registry_;
};

TEST_F(DmutilsEssentialFile, CipherWithAndWithoutAStartValue) {
  EXPECT_EQ(ask("EncipherText", args("12", 0)), (json{{"op", "EncipherText"}, {"result", "0060A5"}}));
  EXPECT_EQ(ask("DecipherText", args("0060A5")), (json{{"op", "DecipherText"}, {"result", "12"}}));
  EXPECT_EQ(ask("DecipherText", args("0060G5"))["result"], "");
  const json random = ask("EncipherText", args("relatório"));
  ASSERT_TRUE(random["result"].is_string()) << random;
  EXPECT_EQ(random["result"].get<std::string>().size(), 2u + 2 * 9);
  EXPECT_EQ(ask("DecipherText", args(random["result"]))["result"], "relatório");
}

TEST_F(DmutilsEssentialFile, TheWriteAnswersThePlainTextOrItsError) {
  const json rows = json::array({json::array({12, "", "", nullptr}),
                                 json::array({12, "pedido", "venda", "2023-03-15T14:05:09"}),
                                 json::array({15, "nota", "nfe", "2024-01-02"})});
  EXPECT_EQ(ask("criaArquivoBaseOnline", args(rows)),
            (json{{"op", "criaArquivoBaseOnline"},
                  {"result", true},
                  {"out", {{"texto", "12;pedido|venda|15/03/202314:05:09*15;nota|nfe|02/01/2024"}, {"AError", ""}}}}));
  EXPECT_EQ(ask("criaArquivoBaseOnline", args(json::array())),
            (json{{"op", "criaArquivoBaseOnline"},
                  {"result", false},
                  {"out",
                   {{"texto", ""},
                    {"AError", "As informações sobre a(s) empresa(s) não foi colhida de forma correta pelo seu Handle"}}}}));
}

TEST_F(DmutilsEssentialFile, TheReadAnswersRowsRefusedNamesAndItsError) {
  const std::string stored = ask("EncipherText", args("12;pedido|venda|15/03/202314:05:09;..|venda|02/01/2024*40", 7))["result"];
  EXPECT_EQ(ask("lerArquivoBaseOnline", args(stored)),
            (json{{"op", "lerArquivoBaseOnline"},
                  {"result", ""},
                  {"out",
                   {{"rows", {{12, "pedido", "venda", "2023-03-15T14:05:09"}, {40, "", "", nullptr}}},
                    {"log", {"Relatório personalizado recusado: nome inválido \"..\" (pasta \"venda\")"}}}}}));
  // The fixed text the module's suite reads on every target.
  const json fixed = ask(
      "lerArquivoBaseOnline",
      args("5ADA3A27C3799F3AD0162DC39334F93DF66E94BF76C7A190FB60C0D64832312B68DE48363F4F2D303BF15089B06E94C2639A8DE82B02"
       "77E0404735230C1575"));
  EXPECT_EQ(fixed["out"]["rows"], (json{{12, "pedido_ação", "venda", "2023-03-15T14:05:09"},
                                       {12, "nota", "nfe", "2024-01-02T00:00:00"},
                                       {40, "", "", nullptr}}));
  // A read error: the rows before it and a text.
  const json broken = ask("lerArquivoBaseOnline", args(ask("EncipherText", args("7*x", 1))["result"]));
  EXPECT_NE(broken["result"], "");
  EXPECT_EQ(broken["out"]["rows"], (json{{7, "", "", nullptr}}));
}

TEST_F(DmutilsEssentialFile, BadArgumentsAreAnsweredAsErrors) {
  const std::vector<std::string> requests = {
      R"({"op":"EncipherText","args":["12",256]})",
      R"({"op":"EncipherText","args":["12",-1]})",
      R"({"op":"EncipherText","args":["12","0"]})",
      R"({"op":"criaArquivoBaseOnline","args":["rows"]})",
      R"({"op":"criaArquivoBaseOnline","args":[[[12,"a","venda"]]]})",
      R"({"op":"criaArquivoBaseOnline","args":[[["12","a","venda",null]]]})",
      R"({"op":"criaArquivoBaseOnline","args":[[[12,"a","venda","2023-02-30T00:00:00"]]]})",
      R"({"op":"criaArquivoBaseOnline","args":[[[12,"a","venda","15/03/2023"]]]})",
      R"({"op":"lerArquivoBaseOnline","args":[]})",
  };

  for (const std::string& request : requests) {
    const json answer = json::parse(registry_.answer(request));
    ASSERT_TRUE(answer.contains("error")) << request << " -> " << answer;
    EXPECT_TRUE(answer["error"].get<std::string>().starts_with("wrong arguments: ")) << answer;
  }
}

TEST_F(DmutilsEssentialFile, NoConfigIniIsWritten) {
  test::TempDrive drive;
  drive.installRoot();
  const json answer = ask("criaArquivoBaseOnline", args(json::array({json::array({7, "", "", nullptr})})));
  EXPECT_EQ(answer["out"]["texto"], "7");
  EXPECT_FALSE(drive.exists("C:\\Quorvelin\\Config.ini"));
}

} // namespace
} // namespace vt::tools
