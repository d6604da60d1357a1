#include "rules/due_dates.h"

#include <vector>

#include "utils/text.h"
#include "utils/utf8.h"

namespace vt::rules {
namespace {

using utils::TDate;

// Day d of the month of `inMonth`, at midnight; when the month has no such
// day (above its length or, for a fortnightly due day as for a monthly one,
// below 1) its last day at 23:59:59.999.
TDate dayOfMonth(TDate inMonth, int d) {
  const utils::DateTimeParts p = utils::decodeDateTime(inMonth);
  TDate date;
  if (utils::tryEncodeDate(p.year, p.month, d, date)) return date;
  return utils::endOfTheMonth(inMonth);
}

TDate addDays(TDate value, long long days) {
  const long long whole = static_cast<long long>(utils::dateOf(value)) + days;
  const TDate result = utils::composeDateTime(static_cast<double>(whole), utils::timeOf(value));
  if (!utils::isValidDateTime(result)) throw utils::ConvertError("the due date lies outside the calendar");
  return result;
}

bool isDigit(std::string_view character) {
  return character.size() == 1 && character[0] >= '0' && character[0] <= '9';
}

} // namespace

TDate DueDateRules::dataVctoMensalistaQuinzenalOuSemanal(TDate ADataVenda, std::string_view ADescricao, int ADiaVct,
                                                        int ADoDia1, int AAoDia1, int AVctDia1, int AVctDia2,
                                                        int ADiaVctSemanal, int AVctMesmoMes) {
  if (utils::equalsIgnoringAsciiCase(ADescricao, "Mensalista")) return dayOfMonth(utils::incMonth(ADataVenda), ADiaVct);
  if (utils::equalsIgnoringAsciiCase(ADescricao, "Quinzenal")) {
    const TDate next = utils::incMonth(ADataVenda);
    const int day = utils::decodeDateTime(next).day;
    if (day >= ADoDia1 && day <= AAoDia1) return dayOfMonth(AVctMesmoMes == 1 ? ADataVenda : next, AVctDia1);
    return dayOfMonth(next, AVctDia2);
  }
  const TDate weekLater = addDays(ADataVenda, 7);
  return addDays(weekLater, static_cast<long long>(ADiaVctSemanal) - utils::dayOfWeek(weekLater));
}

TDate DueDateRules::mesmoDiaMesSeguinte(TDate AData) { return utils::incMonth(AData); }

std::string DueDateRules::proximoNumeroCheque(std::string_view ANumCheque) {
  std::vector<std::string_view> chars;
  for (std::size_t pos = 0; pos < ANumCheque.size();) {
    const std::size_t start = pos;
    utils::utf8::next(ANumCheque, pos);
    chars.push_back(ANumCheque.substr(start, pos - start));
  }
  std::string tail; // the result, built from the right
  for (std::size_t i = chars.size(); i-- > 0;) {
    const std::string_view c = chars[i];
    if (!isDigit(c)) {
      tail.insert(0, c);
      continue;
    }
    std::string head;
    for (std::size_t k = 0; k < i; ++k) head += chars[k];
    if (c[0] != '9') return head + static_cast<char>(c[0] + 1) + tail;
    // A 9 carries into the digit on its left. With no digit there (the first
    // character counts as its own neighbour) it becomes "10" in the leading
    // position of its number and the count is done: the digits further left
    // belong to another part of the text ("1-9" gives "1-10", not "2-10").
    const std::string_view left = i > 0 ? chars[i - 1] : c;
    if (isDigit(left)) {
      tail.insert(0, "0");
      continue;
    }
    return head + "10" + tail;
  }
  return tail;
}

} // namespace vt::rules
