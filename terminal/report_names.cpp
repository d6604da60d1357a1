#include "terminal/report_names.h"

namespace vt {

bool isRefusedReportName(std::string_view value) {
  return value == "." || value == ".." || value.find_first_of("\\/:") != std::string_view::npos;
}

std::optional<std::string> refusedReportValue(std::string_view filename, std::string_view diretorio) {
  const auto quoted = [](std::string_view text) { return "\"" + std::string(text) + "\""; };
  if (isRefusedReportName(filename))
    return "Relatório personalizado recusado: nome inválido " + quoted(filename) + " (pasta " + quoted(diretorio) +
           ")";
  if (isRefusedReportName(diretorio))
    return "Relatório personalizado recusado: pasta inválida " + quoted(diretorio) + " (nome " + quoted(filename) +
           ")";
  return std::nullopt;
}

} // namespace vt
