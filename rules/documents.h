#pragma once
// The document, product code, e-mail and plate validation of the utility
// module (a facet of TdmUtils): taxpayer numbers (CPF, CNPJ), GTIN bar codes,
// e-mail addresses, vehicle plates, and the display masks of CNPJ, NCM and
// CEST. The checks never allocate: the point of sale calls them for every
// document typed.
#include <string>
#include <string_view>

namespace vt::rules {

struct DocumentRules {
  // The digits of ANum; at least 11, not all the same, check digits 10 and 11.
  static bool validaCPF(std::string_view ANum);
  // The first 14 digits of ANum, check digits 13 and 14.
  static bool validaCNPJ(std::string_view ANum);

  // "SEM GTIN" in any letter case is valid and leaves ADigCalc alone.
  // Otherwise ADigCalc receives the check digit computed from every character
  // but the last, and the result says whether the n-th character is it.
  static bool validaGTIN8(std::string_view ACodBarras, int& ADigCalc);
  static bool validaGTIN12(std::string_view ACodBarras, int& ADigCalc);
  static bool validaGTIN13(std::string_view ACodBarras, int& ADigCalc);
  static bool validaGTIN14(std::string_view ACodBarras, int& ADigCalc);

  // An empty address is valid.
  static bool validaEMail(std::string_view AEMailIn);
  // Old (ABC1234) or new (ABC1D23) pattern, hyphens ignored, capitals only.
  static bool validaPlacaVeiculo(std::string_view APlaca);

  // 99.999.999/9999-99 of exactly 14 digits, else empty.
  static std::string cnpjCriaMascara(std::string_view ASoNumero);
  // 99.999.999/9999-99 of exactly 14 digits, else ACnpj unchanged.
  static std::string mascaraCnpj(std::string_view ACnpj);
  // 9999.99.99 of exactly 8 digits, else empty.
  static std::string ncmCriaMascara(std::string_view ASoNumero);
  // 99.999.99 of exactly 7 digits, else empty.
  static std::string cestCriaMascara(std::string_view ASoNumero);
};

} // namespace vt::rules
