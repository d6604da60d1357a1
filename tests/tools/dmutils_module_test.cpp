// The utility module's operations that dmutils serves without a window
// (Config.ini, the program's version, processes and machine, files and
// folders, printers), asked in order on one tool: each answer is what the
// module itself gives, and the files show what the operations did.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "dmutils/dm_utils.h"
#include "platform/clock.h"
#include "platform/controls.h"
#include "platform/message_box.h"
#include "platform/printers.h"
#include "platform/url_download.h"
#include "tests/fixtures/pe_builder.h"
#include "tests/support/temp_drive.h"
#include "tools/dmutils/registry.h"

namespace vt::tools {
namespace {

using nlohmann::json;

// The module's own answers, where they depend on the machine.
class QuietUi final : public platform::MessageUi {
public:
  int show(const std::string&, const std::string&, unsigned) override { return platform::mb::kIdOk; }
};

class DmutilsModule : public testing::Test {
protected:
  DmutilsModule() { registerAllOps(registry_); }

  json ask(const json& request) const {
    const std::string answer = registry_.answer(request.dump());
    EXPECT_EQ(answer.find('\n'), std::string::npos) << "one answer, one line: " << answer;
    return json::parse(answer);
  }

  test::TempDrive drive;
  OpRegistry registry_;
};

struct Exchange {
  json request;
  json answer;
};

json op(const char* name, json args = json::array()) { return json{{"op", name}, {"args", std::move(args)}}; }
json answer(const char* name, json result) { return json{{"op", name}, {"result", std::move(result)}}; }
json answerWith(const char* name, json result, json extra) {
  json a = answer(name, std::move(result));
  a.update(extra);
  return a;
}

TEST_F(DmutilsModule, EveryServedOperationAnswersWhatTheModuleGives) {
  const std::string root = drive.installRoot();
  const std::string config = root + "Config.ini";
  const std::string other = drive.path("outro.ini");
  test::PeOptions pe;
  pe.fileVersion = {2, 3, 10, 5};
  drive.write(root + "Quorvelin.exe", test::buildPe(pe).bytes);
  drive.write(root + "configUsuario\\leia-me.txt", "");
  drive.write("pasta\\nota.xml", "<a><![CDATA[x]]></a>");
  drive.write("pasta\\sub\\b.txt", "b");
  drive.write("existe.txt", "1234567");
#ifdef _WIN32
  _putenv_s("VT_DMUTILS_PASTA", "C:\\Pasta");
#else
  setenv("VT_DMUTILS_PASTA", "C:\\Pasta", 1);
#endif

  // What the machine answers, asked of the module directly.
  platform::ManualClock clock;
  QuietUi quiet;
  TdmUtils module(clock, quiet);
  const std::string unreachable = "http://127.0.0.1:1/nada.zip";
  const int downloadFailure = module.downloadArquivo(unreachable, drive.path("nada.zip"), false);
  ASSERT_NE(downloadFailure, 0);
  platform::ComboItemList printers;
  module.listaImpressorasCombo(printers, 2);
  const std::vector<Exchange> exchanges = {
      // Config.ini: letter case of sections and keys ignored; any file path.
      {op("setToConfig", {"CONEXAO", "Caminho dos dados", "localhost", config}), answer("setToConfig", "")},
      {op("getFromConfig", {"conexao", "CAMINHO DOS DADOS", config}), answer("getFromConfig", "localhost")},
      {op("setToConfig", {"DIV", "VER", "V0.00.00.01", other}), answer("setToConfig", "")},
      {op("setToConfig", {"DIV", "OUTRA", "x", other}), answer("setToConfig", "")},
      {op("deleteFromConfig", {"DIV", "VER", other}), answer("deleteFromConfig", nullptr)},
      {op("getFromConfig", {"DIV", "VER", other}), answer("getFromConfig", "")},
      {op("getFromConfig", {"DIV", "OUTRA", other}), answer("getFromConfig", "x")},
      {op("delSectionFromConfig", {"DIV", other}), answer("delSectionFromConfig", nullptr)},
      {op("getFromConfig", {"DIV", "OUTRA", other}), answer("getFromConfig", "")},
      // This terminal holds the data: its version is written from Quorvelin.exe.
      {op("validaVersaoConfig", {1}), answer("validaVersaoConfig", true)},
      {op("getFromConfig", {"DIV", "VER", config}), answer("getFromConfig", "V2.03.10.05")},
      {op("carregaEtiqueta", {"gondola.fr3"}),
       answer("carregaEtiqueta", "C:\\Quorvelin\\reports\\etiquetas\\gondola.fr3")},
      // The boxes an operation shows come back with its answer.
      {op("checkEssencials"),
       answerWith("checkEssencials", false,
                  {{"messages",
                    {{{"caption", "Atenção"},
                      {"text", "Não foi possível encontrar a \"C:\\Quorvelin\\libmySQL.dll\" para o funcionamento "
                               "correto de sistema."}}}}})},
      {op("getAppVersionStr"), answer("getAppVersionStr", "3.1.4.15")},
      {op("getAppVersionInfoStr", {8}), answer("getAppVersionInfoStr", "Quorvelin Online")},
      {op("getAppVersionInfoStr", {13}), answer("getAppVersionInfoStr", "")},
      // Processes and machine.
      {op("shellExecuta", {drive.path("nao-existe.exe"), "", false, 0}), answer("shellExecuta", "Aquivo não encontrado")},
      {op("shellExecuta", {drive.path("nao-existe.exe"), "", true, 0}), answer("shellExecuta", "2")},
      {op("IsRunningProcess", {"nenhum-programa-assim.exe", 1}), answer("IsRunningProcess", false)},
      {op("killTask", {"nenhum-programa-assim.exe"}), answer("killTask", 0)},
      {op("rodandoComoAdmin"), answer("rodandoComoAdmin", TdmUtils::rodandoComoAdmin())},
      {op("isWindows64"), answer("isWindows64", TdmUtils::isWindows64())},
      {op("winVersion"), answer("winVersion", TdmUtils::winVersion())},
      {op("estaConectado"), answer("estaConectado", TdmUtils::estaConectado())},
      {op("getIP"), answer("getIP", TdmUtils::getIP())},
      {op("pubNomeComputador"), answer("pubNomeComputador", TdmUtils::pubNomeComputador())},
      {op("sysUserName"), answer("sysUserName", TdmUtils::sysUserName())},
      {op("verificaPing", {""}), answer("verificaPing", false)},
      {op("verificaVisualCInstalado"), answer("verificaVisualCInstalado", TdmUtils::verificaVisualCInstalado())},
      // Files and folders.
      {op("criaArquivo", {"primeira linha", drive.path("criado.txt")}),
       answerWith("criaArquivo", true, {{"out", {{"AError", ""}}}})},
      {op("getFileSize", {drive.path("existe.txt")}), answer("getFileSize", 7)},
      {op("getFileSize", {drive.path("nao-existe.txt")}), answer("getFileSize", -1)},
      {op("tamanhoArquivo", {drive.path("existe.txt")}), answer("tamanhoArquivo", 7 / 1024.0)},
      {op("copiarDiretorio", {drive.path("pasta"), drive.path("copia")}), answer("copiarDiretorio", nullptr)},
      {op("limparArquivosDiretorio", {drive.path("copia")}), answer("limparArquivosDiretorio", nullptr)},
      {op("deletarDiretorio", {drive.path("pasta\\sub")}), answer("deletarDiretorio", nullptr)},
      {op("VerificaCopia", {drive.path("existe.txt"), "\\\\SERVIDOR\\existe.txt"}), answer("VerificaCopia", true)},
      {op("downloadArquivo", {unreachable, drive.path("nada.zip"), true}), answer("downloadArquivo", downloadFailure)},
      {op("extractFileNameFromPath", {"C:\\dados\\a.txt.b.txt"}), answer("extractFileNameFromPath", "a.b.txt")},
      {op("extractFileOnlyName", {"C:\\dados\\a.txt.b.txt"}), answer("extractFileOnlyName", "a.txt.b")},
      {op("caminhoDirAbsoluto", {"%VT_DMUTILS_PASTA%\\temp"}), answer("caminhoDirAbsoluto", "C:\\Pasta\\temp")},
      {op("blobToHex", {"\n\xC3\xBF"}), answer("blobToHex", "0AC3BF")},
      {op("verificaXmlCdata", {drive.path("pasta\\"), "nota.xml", false}),
       answer("verificaXmlCdata", drive.path("pasta\\bkpnota.xml"))},
      // Printers, as the platform lists them.
      {op("listaImpressorasCombo", {2}), answerWith("listaImpressorasCombo", nullptr, {{"out", {{"ACombo", printers.items}}}})},
      // The per-user file: from here on the default path means it.
      {op("configUsuario"),
       answerWith("configUsuario", "",
                  {{"messages",
                    {{{"caption", "Atenção"}, {"text", "Selecione o banco de dados que deseja conectar."}},
                     {{"caption", "Atenção"},
                      {"text", "Para utilizar o Configurações para o Config.ini, utilize o módulo Quorvelin "
                               "Gerencial."}}}}})},
      {op("setToConfig", {"CONEXAO", "Listar todos BD", "S", "C:\\Quorvelin\\Config.ini"}), answer("setToConfig", "")},
      {op("configUsuario"), answer("configUsuario", "S")},
  };
  for (const auto& e : exchanges) EXPECT_EQ(ask(e.request), e.answer) << e.request.dump();

  EXPECT_EQ(drive.read("criado.txt"), "primeira linha\r\n");
  EXPECT_TRUE(drive.exists("copia\\sub\\b.txt"));
  EXPECT_FALSE(drive.exists("copia\\nota.xml"));
  EXPECT_FALSE(drive.exists("pasta\\sub"));
  EXPECT_EQ(drive.read("pasta\\bkpnota.xml"), "<a>x</a>");
  // The value went to the user's own file, not to the default one.
  EXPECT_EQ(module.getFromConfig("CONEXAO", "Listar todos BD", config), "");
  EXPECT_EQ(module.configUsuario(), "S");
}

TEST_F(DmutilsModule, FailuresAnswerAsErrorLinesOrTheirOwnResults) {
  const json missingSize = ask(op("tamanhoArquivo", {drive.path("nao-existe.txt")}));
  EXPECT_EQ(missingSize["error"].get<std::string>().rfind("Cannot open file \"" + drive.path("nao-existe.txt") + "\". ", 0),
            0u)
      << missingSize;
  const json notWritten = ask(op("criaArquivo", {"x", drive.path("nao-existe\\a.txt")}));
  EXPECT_EQ(notWritten["result"], false);
  EXPECT_FALSE(notWritten["out"]["AError"].get<std::string>().empty()) << notWritten;
  const json printer = ask(op("setDefaultPrinter", {"Nenhuma-Impressora-Assim"}));
  EXPECT_EQ(printer["error"], platform::printerNotListedError().what()) << printer;
  EXPECT_EQ(ask(op("getFromConfig", {"DIV", "VER"}))["error"], "wrong arguments: expected 3 argument(s), got 2");
  // Operations that need a window or a person are not served.
  for (const char* name : {"abrirCalculadora", "abrirTecladoVirtual", "abrirAjuda", "bringApplicationToFront",
                           "setarMouse", "setarPageControlParent", "exibeMsg"})
    EXPECT_EQ(ask(op(name)), (json{{"op", name}, {"error", "unknown operation"}})) << name;
}

TEST(DmutilsModuleReadOnly, TheFuzzTargetsRegistryActsOnNothingOutside) {
  test::TempDrive drive;
  OpRegistry registry;
  registerAllOps(registry, OpReach::ReadOnly);
  drive.write("pasta\\a.txt", "a");
  for (const json& request :
       {op("deletarDiretorio", {drive.path("pasta")}), op("limparArquivosDiretorio", {drive.path("pasta")}),
        op("killTask", {"x.exe"}), op("shellExecuta", {"x.exe", "", false, 0}),
        op("setToConfig", {"A", "B", "C", drive.path("c.ini")})})
    EXPECT_EQ(json::parse(registry.answer(request.dump()))["error"], "unknown operation") << request.dump();
  EXPECT_TRUE(drive.exists("pasta\\a.txt"));
  EXPECT_EQ(json::parse(registry.answer(op("getFileSize", {drive.path("pasta\\a.txt")}).dump()))["result"], 1);
}

} // namespace
} // namespace vt::tools
