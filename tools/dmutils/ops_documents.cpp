// dmutils operations of the text helpers and of the document rules: state
// registration numbers, CPF, CNPJ, GTIN, e-mail, plates and masks.
#include <string>

#include "rules/documents.h"
#include "rules/state_registration.h"
#include "tools/dmutils/registry.h"
#include "utils/text.h"
#include "utils/utf8.h"

namespace vt::tools {

namespace {

using nlohmann::json;
using rules::DocumentRules;
using rules::StateRegistrationRules;
using utils::TextHelpers;

// A Char argument: a text of exactly one character.
char32_t argChar(const json& args, size_t i) {
  const std::string text = argString(args, i);
  size_t pos = 0;
  const char32_t c = text.empty() ? 0 : utils::utf8::next(text, pos);
  if (text.empty() || pos != text.size())
    throw BadArguments("argument " + std::to_string(i + 1) + " must be a single character");
  return c;
}

// validaGTIN*: "args": [code] or [code, ADigCalc]. ADigCalc is an in-out
// value: it starts as given (0 when left out) and "out" shows it after the
// call, so "SEM GTIN" shows it untouched.
void addGtin(OpRegistry& registry, const std::string& name, bool (*validate)(std::string_view, int&)) {
  registry.add(name, [validate](const json& args) {
    expectArgs(args, 1, 2);
    const std::string code = argString(args, 0);
    int digit = args.size() > 1 ? argInt32(args, 1) : 0;
    const bool valid = validate(code, digit);
    json reply = result(valid);
    reply["out"] = json{{"ADigCalc", digit}};
    return reply;
  });
}

void registerTextOps(OpRegistry& registry) {
  addText(registry, "soNumericos", TextHelpers::soNumericos);
  addText(registry, "soCaracterString", TextHelpers::soCaracterString);
  addText(registry, "soAlfanumericos", TextHelpers::soAlfanumericos);
  addText(registry, "removeZeros", TextHelpers::removeZeros);
  addText(registry, "removeAcento", TextHelpers::removeAcento);
  addText(registry, "arrumaStr", TextHelpers::arrumaStr);
  addText(registry, "PrimeirasMaiusculas", TextHelpers::PrimeirasMaiusculas);
  addText(registry, "quotedStringParaSQL", TextHelpers::quotedStringParaSQL);
  addText(registry, "strIsInteger", TextHelpers::strIsInteger);
  addText(registry, "strIsNumber", TextHelpers::strIsNumber);
  addText(registry, "getBooleanFromString", TextHelpers::getBooleanFromString);

  registry.add("soFloatNumericos", [](const json& args) {
    expectArgs(args, 3);
    const std::string text = argString(args, 0);
    const bool ponto = argBool(args, 1);
    const bool virgula = argBool(args, 2);
    return result(TextHelpers::soFloatNumericos(text, ponto, virgula));
  });
  registry.add("insereCaracter", [](const json& args) {
    expectArgs(args, 4);
    const std::string lado = argString(args, 0);
    const std::string caract = argString(args, 1);
    const std::string orig = argString(args, 2);
    const int qtdDig = argInt32(args, 3);
    return result(TextHelpers::insereCaracter(lado, caract, orig, qtdDig));
  });
  registry.add("preencheEspacosDireita", [](const json& args) {
    expectArgs(args, 3);
    const std::string text = argString(args, 0);
    const int tamanho = argInt32(args, 1);
    const std::string ch = argString(args, 2);
    return result(TextHelpers::preencheEspacosDireita(text, tamanho, ch));
  });
  registry.add("ocorrenciaDeCaracter", [](const json& args) {
    expectArgs(args, 2);
    const std::string text = argString(args, 0);
    const char32_t caracter = argChar(args, 1);
    return result(TextHelpers::ocorrenciaDeCaracter(text, caracter));
  });
  registry.add("getIntegerFromBoolean", [](const json& args) {
    expectArgs(args, 1);
    return result(TextHelpers::getIntegerFromBoolean(argBool(args, 0)));
  });
  registry.add("getBooleanFromInteger", [](const json& args) {
    expectArgs(args, 1);
    return result(TextHelpers::getBooleanFromInteger(argInt32(args, 0)));
  });
  registry.add("getStringFromBoolean", [](const json& args) {
    expectArgs(args, 1);
    return result(TextHelpers::getStringFromBoolean(argBool(args, 0)));
  });
}

} // namespace

void registerDocumentOps(OpRegistry& registry) {
  registerTextOps(registry);

  registry.add("validaIE", [](const json& args) {
    expectArgs(args, 2);
    const std::string inscEst = argString(args, 0);
    const std::string uf = argString(args, 1);
    return result(StateRegistrationRules::validaIE(inscEst, uf));
  });
  addText(registry, "validaCPF", DocumentRules::validaCPF);
  addText(registry, "validaCNPJ", DocumentRules::validaCNPJ);
  addGtin(registry, "validaGTIN8", DocumentRules::validaGTIN8);
  addGtin(registry, "validaGTIN12", DocumentRules::validaGTIN12);
  addGtin(registry, "validaGTIN13", DocumentRules::validaGTIN13);
  addGtin(registry, "validaGTIN14", DocumentRules::validaGTIN14);
  addText(registry, "validaEMail", DocumentRules::validaEMail);
  addText(registry, "validaPlacaVeiculo", DocumentRules::validaPlacaVeiculo);
  addText(registry, "cnpjCriaMascara", DocumentRules::cnpjCriaMascara);
  addText(registry, "mascaraCnpj", DocumentRules::mascaraCnpj);
  addText(registry, "ncmCriaMascara", DocumentRules::ncmCriaMascara);
  addText(registry, "cestCriaMascara", DocumentRules::cestCriaMascara);
}

} // namespace vt::tools
