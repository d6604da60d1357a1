#include "terminal/legacy_essential_file.h"

#include <climits>
#include <stdexcept>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/encoding.h"
#include "platform/files.h"
#include "platform/regional.h"
#include "terminal/essential_file.h"
#include "terminal/report_names.h"
#include "terminal/utils_db_online.h"
#include "utils/text.h"

namespace vt {

using nlohmann::json;

namespace {

// A failure while the companies and their reports are taken apart.
struct ImportError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

void appendJsonString(std::string& out, std::string_view text) {
  out += '"';
  for (const char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '/': out += "\\/"; break;
      case '\b': out += "\\b"; break;
      case '\t': out += "\\t"; break;
      case '\n': out += "\\n"; break;
      case '\f': out += "\\f"; break;
      case '\r': out += "\\r"; break;
      default: out += c; break;
    }
  }
  out += '"';
}

void appendScalar(std::string& out, const json& value) {
  switch (value.type()) {
    case json::value_t::string: appendJsonString(out, value.get_ref<const std::string&>()); break;
    case json::value_t::number_integer: out += std::to_string(value.get<std::int64_t>()); break;
    case json::value_t::number_unsigned: out += std::to_string(value.get<std::uint64_t>()); break;
    default: out += value.dump(); break; // floating-point numbers, true, false, null
  }
}

// The file's text: its lines joined without any separator. A file that begins
// with the UTF-8 byte-order mark is UTF-8; any other is in the code page the
// system writes its files in.
std::string readJoinedLines(std::string_view path) {
  const std::string bytes = platform::readWholeFile(path);
  constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
  std::string text = bytes.starts_with(kUtf8Bom) ? bytes.substr(kUtf8Bom.size()) : platform::fileTextToUtf8(bytes);
  std::erase(text, '\r');
  std::erase(text, '\n');
  return text;
}

// The parser's message without its "[json.exception....] " tag.
std::string reasonOf(const json::exception& e) {
  std::string_view what = e.what();
  if (what.starts_with('[')) {
    const std::size_t end = what.find("] ");
    if (end != std::string_view::npos) what.remove_prefix(end + 2);
  }
  return std::string(what);
}

// A member's JSON text form without its double quotes.
std::string memberText(const json& object, const char* name, std::string_view owner) {
  const auto it = object.find(name);
  if (it == object.end()) throw ImportError(std::string(owner) + " não tem o item \"" + name + "\"");
  std::string text = legacyJsonText(*it);
  std::erase(text, '"');
  return text;
}

void importCompanies(TdmUtilsDbOnline& dbOnline, const json& root) {
  const auto companies = root.find("empresas");
  if (companies == root.end()) throw ImportError("o arquivo não tem o item \"empresas\"");
  const platform::RegionalFormats formats = platform::userRegionalFormats();
  for (const json& company : *companies) {
    if (!company.is_object()) continue;
    const std::string handleText = memberText(company, "handle", "uma empresa");
    const auto handle = utils::parseIntegerText(handleText, INT_MIN, INT_MAX);
    if (!handle) throw ImportError("o handle \"" + handleText + "\" não é um número inteiro");
    const std::string owner = "a empresa de handle " + std::to_string(*handle);
    const auto reports = company.find("reports");
    if (reports == company.end()) throw ImportError(owner + " não tem o item \"reports\"");
    if (!reports->is_array()) throw ImportError("o item \"reports\" d" + owner + " não é uma lista");
    for (const json& report : *reports) {
      if (!report.is_object()) continue;
      ReportRow row;
      row.HANDLE = static_cast<int>(*handle);
      row.FILENAME = memberText(report, "filename", "um relatório d" + owner);
      row.DIRETORIO = memberText(report, "diretorio", "um relatório d" + owner);
      std::string dateText = memberText(report, "dataalt", "um relatório d" + owner);
      std::erase(dateText, '\\');
      utils::TDateTime date;
      if (!readEssentialDate(dateText, formats, date))
        throw ImportError("a data \"" + dateText + "\" do relatório \"" + row.FILENAME + "\" d" + owner +
                          " não é válida");
      row.DATAALT = date;
      if (auto refused = refusedReportValue(row.FILENAME, row.DIRETORIO)) {
        dbOnline.logLine(*refused);
        continue;
      }
      dbOnline.cdsDados.Append(std::move(row));
    }
  }
}

} // namespace

std::string legacyJsonText(const json& value) {
  // Written without recursion: a hostile file may nest arrays very deep.
  struct Level {
    const json* container;
    json::const_iterator next;
    bool first = true;
  };
  std::string out;
  std::vector<Level> levels;
  const auto enter = [&](const json& v) {
    if (v.is_array() || v.is_object()) {
      out += v.is_array() ? '[' : '{';
      levels.push_back(Level{&v, v.cbegin()});
    } else {
      appendScalar(out, v);
    }
  };
  enter(value);
  while (!levels.empty()) {
    Level& level = levels.back();
    if (level.next == level.container->cend()) {
      out += level.container->is_array() ? ']' : '}';
      levels.pop_back();
      continue;
    }
    if (!level.first) out += ',';
    level.first = false;
    const json& child = *level.next;
    if (level.container->is_object()) {
      appendJsonString(out, level.next.key());
      out += ':';
    }
    ++level.next;
    enter(child); // may grow `levels`; `level` is not used after this
  }
  return out;
}

LegacyImportOutcome importLegacyEssentialFile(TdmUtilsDbOnline& dbOnline, std::string_view AFile, std::string& AError) {
  std::string text;
  try {
    text = readJoinedLines(AFile);
  } catch (const std::exception& e) {
    AError = std::string("Falha na leitura inicial do arquivo. Descrição do erro: ") + e.what();
    return LegacyImportOutcome::Failed;
  }

  json root;
  try {
    root = json::parse(text);
  } catch (const json::exception& e) {
    AError = "Não foi possível instanciar o JSon para leitura. Descrição do erro: " + reasonOf(e);
    return LegacyImportOutcome::Failed;
  }
  if (!root.is_object()) {
    AError = "Não foi possível instanciar o JSon para leitura. Descrição do erro: o conteúdo não é um objeto JSON";
    return LegacyImportOutcome::Failed;
  }

  // "status" compared in its JSON text form, double quotes included.
  const auto status = root.find("status");
  if (status == root.end() || legacyJsonText(*status) != "\"success\"") {
    AError = "Não foi possível fazer a leitura dos dados desse terminal para configuração. Entre em contato com o "
             "suporte Quorvelin para restauração dos arquivos.";
    return LegacyImportOutcome::Failed;
  }

  const auto companies = root.find("empresas");
  if (companies != root.end() && !companies->is_array()) {
    AError = "Não foi possível instanciar o loop \"empresas\" para leitura. Descrição do erro: o item \"empresas\" "
             "não é uma lista";
    return LegacyImportOutcome::Failed;
  }

  try {
    importCompanies(dbOnline, root);
  } catch (const std::exception& e) {
    AError = std::string("Falha na leitura geral do arquivo, entre handle e reports. Descrição do erro: ") + e.what();
    return LegacyImportOutcome::Failed;
  }

  std::string writeError;
  if (!dbOnline.criaArquivoBaseOnline(writeError)) {
    AError = writeError;
    return LegacyImportOutcome::WriteFailed;
  }
  if (platform::fileExists(AFile) && !platform::deleteFile(AFile))
    dbOnline.logLine("Não foi possível excluir o arquivo essencial antigo " + std::string(AFile));
  AError.clear();
  return LegacyImportOutcome::Imported;
}

} // namespace vt
