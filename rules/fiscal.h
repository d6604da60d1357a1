#pragma once
// Fiscal and sales rules (a facet of TdmUtils): which fiscal operation codes
// (CFOP) are sales, the buyer-presence indicator, a fiscal remark on one line,
// the rounding of SAT fiscal values, operation numbers and invoice numeric
// codes, and the names of purchase and sale kinds. Text comparisons are exact.
#include <string>
#include <string_view>

namespace vt::rules {

struct FiscalRules {
  // True for the four-digit CFOP codes of sales ("5102"; not "5.102").
  static bool cfopDeVenda(std::string_view ACfop);
  // "1" gives "1 - Operação presencial"; empty for an unknown indicator.
  static std::string indicadorPresenca(std::string_view ANumero);
  // Line breaks become ADelimitador; one delimiter at the very start and one
  // at the very end are dropped.
  static std::string formataObsFiscal(std::string_view AMsg, std::string_view ADelimitador);
  // AValor rounded to |ADigitos| decimals: a value beyond the half by more
  // than a tolerance goes up, an exact half to the even neighbour; negative
  // values round their magnitude and keep the sign.
  static double arredondarSAT(double AValor, int ADigitos);
  // The invoice numeric code of an operation: + 50000000 for a kind other than 0.
  static int cNFfromNumOper(int ANumOper, int ATipoNF);
  // The operation number of an invoice numeric code.
  static int cNFtoNumOper(int ACNF);
  // 0 "Compra" ... 5 "Pagto"; empty otherwise.
  static std::string compraTipoString(int ATipoCompra);
  // 0 "Venda" ... 14 "iFood"; empty otherwise.
  static std::string vendaTipoString(int AVendaTipo);
};

} // namespace vt::rules
