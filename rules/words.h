#pragma once
// Amounts and dates in Portuguese words (a facet of TdmUtils), as receipts,
// promissory notes and contracts print them.
#include <string>

#include "utils/numbers_dates.h"

namespace vt::rules {

struct WordsRules {
  // The amount in words: groups of thousands joined with ", " ("um mil,
  // quinhentos"), with " real"/" reais"/" de reais" and the cents when
  // AMonetario. Amounts of 16 integer digits or more give the error text
  // "Erro por extenso: valor não pode ser superior a 999 trilhões.".
  static std::string valorPorExtenso(double AValor, bool AMonetario);
  // "dois mil e vinte" ... "dois mil e quarenta e um" for 2020 to 2041, else empty.
  static std::string anoPorExtenso(utils::TDate AData);
  // "Janeiro" ... "Dezembro".
  static std::string mesPorExtenso(utils::TDate AData);
  // 1 "Domingo" ... 7 "Sábado" (AIso: 1 is Monday ... 7 Sunday); ANomeCompleto
  // adds "-feira" to the working days. Empty for any other number.
  static std::string diaDaSemanaExtenso(int ADiaInt, bool ANomeCompleto, bool AIso);
  // "primeiro" ... "trigésimo primeiro" for 1 to 31, else empty.
  static std::string diaDoMesOrdinal(int ADia);
};

} // namespace vt::rules
