// The utility module's operations that work on this machine and need no
// window: Config.ini access, the running program's version, processes and
// machine queries, files and folders, and the printers. They run on one
// module for the tool's whole life (configUsuario's per-user file holds for
// the requests that follow it), on the real clock: their waits are real.
//
// A box the operation shows (a notice of checkEssencials, VerificaCopia,
// validaVersaoConfig, configUsuario) is not shown: it comes back in the
// answer as "messages": [{"caption": ..., "text": ...}], in order.
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "dialogs/forms.h"
#include "dmutils/dm_utils.h"
#include "platform/clock.h"
#include "platform/controls.h"
#include "platform/message_box.h"
#include "tools/dmutils/registry.h"

namespace vt::tools {

using nlohmann::json;

namespace {

// Boxes are collected, not shown; a notice is answered OK, a question No
// (no served operation asks one).
class CollectedMessages final : public platform::MessageUi {
public:
  int show(const std::string& text, const std::string& caption, unsigned style) override {
    shown.push_back(json{{"caption", caption}, {"text", text}});
    return (style & 0x0F) == platform::mb::kYesNo ? platform::mb::kIdNo : platform::mb::kIdOk;
  }
  json shown = json::array();
};

// The module as the application joins it, without a window.
struct ToolModule {
  platform::SystemClock clock;
  CollectedMessages messages;
  TdmUtils dmUtils{clock, messages};
  TdmForms dmForms;
  ToolModule() {
    dmUtils.attachForms(dmForms);
    dmForms.attachUtils(dmUtils);
  }
};

using ModuleCall = std::function<json(TdmUtils&, const json& args)>;

// An operation on the shared module; its boxes join the answer.
void addOnModule(OpRegistry& registry, const std::shared_ptr<ToolModule>& module, const std::string& name,
                 ModuleCall call) {
  registry.add(name, [module, call = std::move(call)](const json& args) {
    module->messages.shown = json::array();
    json reply = call(module->dmUtils, args);
    if (!module->messages.shown.empty()) reply["messages"] = std::move(module->messages.shown);
    return reply;
  });
}

// No arguments, one value.
template <typename Fn>
void addQuery(OpRegistry& registry, const std::string& name, Fn fn) {
  registry.add(name, [fn](const json& args) {
    expectArgs(args, 0);
    return result(fn());
  });
}

} // namespace

void registerModuleOps(OpRegistry& registry, OpReach reach) {
  auto module = std::make_shared<ToolModule>();

  // --- Config.ini ---
  addOnModule(registry, module, "getFromConfig", [](TdmUtils& dm, const json& args) {
    expectArgs(args, 3);
    return result(dm.getFromConfig(argString(args, 0), argString(args, 1), argString(args, 2)));
  });
  addOnModule(registry, module, "setToConfig", [](TdmUtils& dm, const json& args) {
    expectArgs(args, 4);
    return result(dm.setToConfig(argString(args, 0), argString(args, 1), argString(args, 2), argString(args, 3)));
  });
  addOnModule(registry, module, "deleteFromConfig", [](TdmUtils& dm, const json& args) {
    expectArgs(args, 3);
    dm.deleteFromConfig(argString(args, 0), argString(args, 1), argString(args, 2));
    return result(nullptr);
  });
  addOnModule(registry, module, "delSectionFromConfig", [](TdmUtils& dm, const json& args) {
    expectArgs(args, 2);
    dm.delSectionFromConfig(argString(args, 0), argString(args, 1));
    return result(nullptr);
  });
  addOnModule(registry, module, "configUsuario", [](TdmUtils& dm, const json& args) {
    expectArgs(args, 0);
    return result(dm.configUsuario());
  });
  addOnModule(registry, module, "validaVersaoConfig", [](TdmUtils& dm, const json& args) {
    expectArgs(args, 1);
    return result(dm.validaVersaoConfig(argInt32(args, 0)));
  });

  // --- The running program's version (dmutils itself) ---
  addQuery(registry, "getAppVersionStr", [] { return TdmUtils::getAppVersionStr(); });
  registry.add("getAppVersionInfoStr", [](const json& args) {
    expectArgs(args, 1);
    return result(TdmUtils::getAppVersionInfoStr(argInt32(args, 0)));
  });

  // --- Processes, shell and machine ---
  addOnModule(registry, module, "shellExecuta", [](TdmUtils& dm, const json& args) {
    expectArgs(args, 4);
    const std::string file = argString(args, 0), parameters = argString(args, 1);
    const bool returnCode = argBool(args, 2);
    return result(dm.shellExecuta(file, parameters, returnCode, argInt32(args, 3)));
  });
  registry.add("IsRunningProcess", [](const json& args) {
    expectArgs(args, 2);
    const std::string name = argString(args, 0);
    return result(TdmUtils::IsRunningProcess(name, argInt32(args, 1)));
  });
  addText(registry, "killTask", [](const std::string& name) { return TdmUtils::killTask(name); });
  addQuery(registry, "rodandoComoAdmin", [] { return TdmUtils::rodandoComoAdmin(); });
  addQuery(registry, "isWindows64", [] { return TdmUtils::isWindows64(); });
  addQuery(registry, "winVersion", [] { return TdmUtils::winVersion(); });
  addQuery(registry, "estaConectado", [] { return TdmUtils::estaConectado(); });
  addQuery(registry, "getIP", [] { return TdmUtils::getIP(); });
  addQuery(registry, "pubNomeComputador", [] { return TdmUtils::pubNomeComputador(); });
  addQuery(registry, "sysUserName", [] { return TdmUtils::sysUserName(); });
  addText(registry, "verificaPing", [](const std::string& host) { return TdmUtils::verificaPing(host); });
  addQuery(registry, "verificaVisualCInstalado", [] { return TdmUtils::verificaVisualCInstalado(); });
  addOnModule(registry, module, "checkEssencials", [](TdmUtils& dm, const json& args) {
    expectArgs(args, 0);
    return result(dm.checkEssencials());
  });

  // --- Files and folders ---
  addOnModule(registry, module, "criaArquivo", [](TdmUtils& dm, const json& args) {
    expectArgs(args, 2);
    const std::string content = argString(args, 0), name = argString(args, 1);
    std::string error;
    const bool written = dm.criaArquivo(content, name, error);
    return json{{"result", written}, {"out", {{"AError", error}}}};
  });
  registry.add("deletarDiretorio", [](const json& args) {
    expectArgs(args, 1);
    TdmUtils::deletarDiretorio(argString(args, 0));
    return result(nullptr);
  });
  registry.add("copiarDiretorio", [](const json& args) {
    expectArgs(args, 2);
    const std::string from = argString(args, 0);
    TdmUtils::copiarDiretorio(from, argString(args, 1));
    return result(nullptr);
  });
  registry.add("limparArquivosDiretorio", [](const json& args) {
    expectArgs(args, 1);
    TdmUtils::limparArquivosDiretorio(argString(args, 0));
    return result(nullptr);
  });
  addText(registry, "tamanhoArquivo", [](const std::string& file) { return TdmUtils::tamanhoArquivo(file); });
  addText(registry, "getFileSize", [](const std::string& file) { return TdmUtils::getFileSize(file); });
  addOnModule(registry, module, "downloadArquivo", [](TdmUtils& dm, const json& args) {
    expectArgs(args, 3);
    const std::string url = argString(args, 0), destination = argString(args, 1);
    return result(dm.downloadArquivo(url, destination, argBool(args, 2)));
  });
  addOnModule(registry, module, "VerificaCopia", [](TdmUtils& dm, const json& args) {
    expectArgs(args, 2);
    const std::string local = argString(args, 0);
    return result(dm.VerificaCopia(local, argString(args, 1)));
  });
  addText(registry, "extractFileNameFromPath",
          [](const std::string& path) { return TdmUtils::extractFileNameFromPath(path); });
  addText(registry, "extractFileOnlyName", [](const std::string& path) { return TdmUtils::extractFileOnlyName(path); });
  addText(registry, "caminhoDirAbsoluto", [](const std::string& text) { return TdmUtils::caminhoDirAbsoluto(text); });
  // The stream is the bytes of the text (UTF-8).
  addText(registry, "blobToHex", [](const std::string& bytes) {
    std::istringstream stream(bytes);
    return TdmUtils::blobToHex(stream);
  });
  addOnModule(registry, module, "carregaEtiqueta", [](TdmUtils& dm, const json& args) {
    expectArgs(args, 1);
    return result(dm.carregaEtiqueta(argString(args, 0)));
  });
  addOnModule(registry, module, "verificaXmlCdata", [](TdmUtils& dm, const json& args) {
    expectArgs(args, 3);
    const std::string folder = argString(args, 0), file = argString(args, 1);
    return result(dm.verificaXmlCdata(folder, file, argBool(args, 2)));
  });

  // --- Printers ---
  // [AItemIndex]: the combo box's items under "out" "ACombo".
  addOnModule(registry, module, "listaImpressorasCombo", [](TdmUtils& dm, const json& args) {
    expectArgs(args, 1);
    platform::ComboItemList combo;
    dm.listaImpressorasCombo(combo, argInt32(args, 0));
    json reply = result(nullptr);
    reply["out"] = json{{"ACombo", combo.items}};
    return reply;
  });
  addOnModule(registry, module, "setDefaultPrinter", [](TdmUtils& dm, const json& args) {
    expectArgs(args, 1);
    dm.setDefaultPrinter(argString(args, 0));
    return result(nullptr);
  });

  if (reach == OpReach::ReadOnly) {
    static constexpr const char* kActing[] = {
        "setToConfig",      "deleteFromConfig", "delSectionFromConfig",    "configUsuario",
        "validaVersaoConfig", "shellExecuta",   "killTask",                "verificaPing",
        "criaArquivo",      "deletarDiretorio", "copiarDiretorio",         "limparArquivosDiretorio",
        "downloadArquivo",  "VerificaCopia",    "verificaXmlCdata",        "listaImpressorasCombo",
        "setDefaultPrinter"};
    for (const char* name : kActing) registry.remove(name);
  }
}

} // namespace vt::tools
