#include "rules/fiscal.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>

#include "utils/text.h"

namespace vt::rules {
namespace {

constexpr std::array<std::string_view, 89> kSaleCfops = {
    "5101", "5102", "5103", "5104", "5105", "5106", "5109", "5110", "5111", "5112",
    "5113", "5114", "5115", "5116", "5117", "5118", "5119", "5120", "5122", "5123",
    "5251", "5252", "5253", "5254", "5255", "5256", "5257", "5258", "5401", "5402",
    "5403", "5405", "5551", "5651", "5652", "5653", "5654", "5655", "5656", "6101",
    "6102", "6103", "6104", "6105", "6106", "6107", "6108", "6109", "6110", "6111",
    "6112", "6113", "6114", "6115", "6116", "6117", "6118", "6119", "6120", "6122",
    "6123", "6251", "6252", "6253", "6254", "6255", "6256", "6257", "6258", "6401",
    "6402", "6403", "6404", "6551", "6651", "6652", "6653", "6654", "6655", "6656",
    "7101", "7102", "7105", "7106", "7127", "7251", "7551", "7651", "7654",
};

constexpr long long kOffset = 50000000;

} // namespace

bool FiscalRules::cfopDeVenda(std::string_view ACfop) {
  return std::find(kSaleCfops.begin(), kSaleCfops.end(), ACfop) != kSaleCfops.end();
}

std::string FiscalRules::indicadorPresenca(std::string_view ANumero) {
  struct Row { std::string_view number, text; };
  static constexpr std::array<Row, 7> kRows = {{
      {"0", "0 - Não se aplica"},
      {"1", "1 - Operação presencial"},
      {"2", "2 - Operação não presencial, pela Internet"},
      {"3", "3 - Operação não presencial, Teleatendimento"},
      {"4", "4 - NFC-e em operação com entrega em domicílio"},
      {"5", "5 - Operação presencial, fora do estabelecimento"},
      {"9", "9 - Operação não presencial, outros"},
  }};
  for (const Row& r : kRows)
    if (r.number == ANumero) return std::string(r.text);
  return "";
}

std::string FiscalRules::formataObsFiscal(std::string_view AMsg, std::string_view ADelimitador) {
  std::string text(AMsg);
  for (std::string_view lineBreak : {"\r\n\r\n", "\n\r\n\r", "\n\r", "\r\n"})
    text = utils::replaceAll(std::move(text), lineBreak, ADelimitador);
  // One delimiter at the very start and one at the very end go. The text in
  // between is kept as it is, even where it holds the characters a marker
  // around the text would use.
  if (!ADelimitador.empty()) {
    if (text.starts_with(ADelimitador)) text.erase(0, ADelimitador.size());
    if (text.ends_with(ADelimitador)) text.erase(text.size() - ADelimitador.size());
  }
  return text;
}

double FiscalRules::arredondarSAT(double AValor, int ADigitos) {
  // Not a number and the infinities have nothing to round.
  if (!std::isfinite(AValor)) return AValor;
  const long double k = std::fabs(static_cast<long double>(ADigitos));
  const long double p = std::pow(10.0L, k);
  const bool negative = AValor < 0;

  const long double q = std::fabs(static_cast<long double>(AValor)) / 10;
  const long double whole = std::trunc(q);
  const long double fraction = q - whole;
  // The kept digits and what follows, to the nearest 9th decimal. x is built
  // from the magnitude, so it is rounded the same way for a negative value:
  // taking half a unit off there would cut 235.4999999999999 (from -2.355) to
  // 235.499999999 and round -2.355 to -2.35 while 2.355 gives 2.36.
  long double x = fraction * 10 * p;
  x = std::trunc(x / 1e-9L + 0.5L) * 1e-9L;
  // So many digits that the power of ten runs out of range: the value has
  // nothing left to round.
  if (!std::isfinite(x)) return AValor;
  long double n = std::trunc(x);
  const long double beyond = std::trunc((x - n) * 100); // the two decimals after the kept ones
  if (beyond > 50) {
    n += 1;
  } else if (beyond == 50) {
    const bool odd = std::fmod(n, 2.0L) != 0;
    const long double tenfold = x * 10;
    if (odd || tenfold - std::trunc(tenfold) > 0.00001L) n += 1;
  }
  const long double result = whole * 10 + n / p;
  return static_cast<double>(negative ? -result : result);
}

int FiscalRules::cNFfromNumOper(int ANumOper, int ATipoNF) {
  if (ATipoNF == 0) return ANumOper;
  const long long code = ANumOper + kOffset;
  // An operation number so large that its code leaves the Integer range has
  // no code: better an error than a wrapped-around negative code.
  if (code > 2147483647LL)
    throw std::out_of_range("operation number " + std::to_string(ANumOper) + " has no invoice numeric code");
  return static_cast<int>(code);
}

int FiscalRules::cNFtoNumOper(int ACNF) {
  return ACNF >= kOffset + 1 ? static_cast<int>(ACNF - kOffset) : ACNF;
}

std::string FiscalRules::compraTipoString(int ATipoCompra) {
  static constexpr std::array<const char*, 6> kKinds = {"Compra", "Despesa", "Pedido de Compra",
                                                        "A_Pag",  "Compra Complementar", "Pagto"};
  if (ATipoCompra < 0 || ATipoCompra >= static_cast<int>(kKinds.size())) return "";
  return kKinds[static_cast<std::size_t>(ATipoCompra)];
}

std::string FiscalRules::vendaTipoString(int AVendaTipo) {
  static constexpr std::array<const char*, 15> kKinds = {
      "Venda",  "Bonificação", "Consignação", "Devolução",   "Garantia",
      "Locação", "Troca",      "Recebim",     "A_Rec",       "Agrupada",
      "JUNTADO", "Pré-Venda",  "Nota Fiscal", "Cancela",     "iFood"};
  if (AVendaTipo < 0 || AVendaTipo >= static_cast<int>(kKinds.size())) return "";
  return kKinds[static_cast<std::size_t>(AVendaTipo)];
}

} // namespace vt::rules
