#pragma once
// Due dates and cheque numbers (a facet of TdmUtils): the due date of an
// instalment for customers billed monthly, fortnightly or weekly, the same day
// of the following month, and the number of the next cheque of a book.
#include <string>
#include <string_view>

#include "utils/numbers_dates.h"

namespace vt::rules {

struct DueDateRules {
  // The due date of an instalment sold on ADataVenda. ADescricao (any letter
  // case) is "Mensalista" (day ADiaVct of the following month), "Quinzenal"
  // (day AVctDia1 when the following month's day lies from ADoDia1 to AAoDia1,
  // of the sale's month when AVctMesmoMes is 1; else day AVctDia2 of the
  // following month) or anything else for weekly (weekday ADiaVctSemanal,
  // Sunday 1 to Saturday 7, of the week after the sale). A day the month does
  // not have is its last day at 23:59:59.999. ConvertError for a date outside
  // the calendar.
  static utils::TDate dataVctoMensalistaQuinzenalOuSemanal(utils::TDate ADataVenda, std::string_view ADescricao,
                                                          int ADiaVct, int ADoDia1, int AAoDia1, int AVctDia1,
                                                          int AVctDia2, int ADiaVctSemanal, int AVctMesmoMes);
  // The same day of the following month (its last day when it is shorter),
  // at the same time of day.
  static utils::TDate mesmoDiaMesSeguinte(utils::TDate AData);
  // The number counted on by one from its right end; characters that are not
  // digits stay in place ("AB-19" gives "AB-20", "A9" gives "A10").
  static std::string proximoNumeroCheque(std::string_view ANumCheque);
};

} // namespace vt::rules
