#include "rules/words.h"

#include <array>
#include <cmath>

namespace vt::rules {
namespace {

constexpr std::array<const char*, 20> kUnits = {
    "",      "um",    "dois",   "três",     "quatro", "cinco",     "seis",      "sete",     "oito",    "nove",
    "dez",   "onze",  "doze",   "treze",    "quatorze", "quinze",  "dezesseis", "dezessete", "dezoito", "dezenove"};
constexpr std::array<const char*, 10> kTens = {"",         "",          "vinte",    "trinta",  "quarenta",
                                               "cinquenta", "sessenta", "setenta", "oitenta", "noventa"};
constexpr std::array<const char*, 10> kHundreds = {"",           "cento",      "duzentos",  "trezentos",
                                                   "quatrocentos", "quinhentos", "seiscentos", "setecentos",
                                                   "oitocentos", "novecentos"};
// Names of the thousands groups 1 to 4.
constexpr std::array<const char*, 5> kGroupSingular = {"", "mil", "milhão", "bilhão", "trilhão"};
constexpr std::array<const char*, 5> kGroupPlural = {"", "mil", "milhões", "bilhões", "trilhões"};

constexpr const char* kTooLarge = "Erro por extenso: valor não pode ser superior a 999 trilhões.";

// 1 to 99 in words: a units word up to 19, else tens " e " units.
std::string belowHundred(int n) {
  if (n <= 19) return kUnits[static_cast<std::size_t>(n)];
  std::string words = kTens[static_cast<std::size_t>(n / 10)];
  if (n % 10 != 0) words += std::string(" e ") + kUnits[static_cast<std::size_t>(n % 10)];
  return words;
}

// A group of three digits (1 to 999) in words.
std::string groupWords(int n) {
  if (n == 100) return "cem";
  std::string words;
  if (n / 100 != 0) words = kHundreds[static_cast<std::size_t>(n / 100)];
  if (n % 100 != 0) {
    if (!words.empty()) words += " e ";
    words += belowHundred(n % 100);
  }
  return words;
}

} // namespace

std::string WordsRules::valorPorExtenso(double AValor, bool AMonetario) {
  if (AValor == 0) return "zero";
  // Not a number is no amount either: it gets the error text, as an amount
  // too large to write does.
  if (!std::isfinite(AValor)) return kTooLarge;
  // A negative amount is written as its magnitude after "menos" ("menos dois
  // reais"); the rule itself knows only amounts above zero.
  const bool negative = AValor < 0;
  const long double value = std::fabs(static_cast<long double>(AValor));
  const long double whole = std::trunc(value);
  if (whole >= 1e15L) return kTooLarge;
  long long integer = static_cast<long long>(whole);
  int cents = static_cast<int>(std::nearbyint((value - whole) * 100)); // halves to even
  // Fractions from .995 come to 100 cents: they are one more unit and no cents
  // (1.996 is "dois reais"), never "cem centavos". Only amounts in money show
  // cents; the others drop them whole (12.999 stays "doze").
  if (cents == 100) {
    cents = 0;
    if (AMonetario) ++integer;
    if (integer >= 1000000000000000LL) return kTooLarge;
  }

  const std::string digits = std::to_string(integer);
  std::string result;
  bool unitsGroupIsOne = false;
  bool wordsWithinThousands = false; // words from the units or thousands groups
  int g = 0;
  for (std::size_t end = digits.size(); end > 0; ++g) {
    const std::size_t start = end >= 3 ? end - 3 : 0;
    const int n = std::stoi(digits.substr(start, end - start));
    end = start;
    if (n != 0) {
      std::string words = groupWords(n);
      if (n == 1) {
        if (g == 0) unitsGroupIsOne = true;
        else words += std::string(" ") + kGroupSingular[static_cast<std::size_t>(g)];
      } else if (g >= 1) {
        words += std::string(" ") + kGroupPlural[static_cast<std::size_t>(g)];
      }
      result = result.empty() ? words : words + ", " + result;
    }
    if (g <= 1 && !result.empty()) wordsWithinThousands = true;
  }

  if (AMonetario) {
    if (!result.empty()) {
      if (unitsGroupIsOne) result += " real";
      else if (wordsWithinThousands) result += " reais";
      else result += " de reais";
    }
    if (cents != 0) {
      if (!result.empty()) result += " e ";
      result += cents == 1 ? std::string("um centavo") : belowHundred(cents) + " centavos";
    }
  }
  // An amount below what is written (0.004, or 0.5 without money) is zero.
  if (result.empty()) return "zero";
  return negative ? "menos " + result : result;
}

std::string WordsRules::anoPorExtenso(utils::TDate AData) {
  // A value outside the calendar has no year to write.
  if (!utils::isValidDateTime(AData)) return "";
  const int year = utils::decodeDateTime(AData).year;
  if (year < 2020 || year > 2041) return "";
  return "dois mil e " + belowHundred(year % 100);
}

std::string WordsRules::mesPorExtenso(utils::TDate AData) {
  static constexpr std::array<const char*, 12> kMonths = {"Janeiro", "Fevereiro", "Março",    "Abril",
                                                          "Maio",    "Junho",     "Julho",    "Agosto",
                                                          "Setembro", "Outubro",  "Novembro", "Dezembro"};
  if (!utils::isValidDateTime(AData)) return "";
  return kMonths[static_cast<std::size_t>(utils::decodeDateTime(AData).month - 1)];
}

std::string WordsRules::diaDaSemanaExtenso(int ADiaInt, bool ANomeCompleto, bool AIso) {
  static constexpr std::array<const char*, 8> kDays = {"",       "Domingo", "Segunda", "Terça",
                                                       "Quarta", "Quinta",  "Sexta",   "Sábado"};
  long long day = ADiaInt;
  if (AIso) day = day == 7 ? 1 : day + 1;
  if (day < 1 || day > 7) return "";
  std::string name = kDays[static_cast<std::size_t>(day)];
  if (ANomeCompleto && day >= 2 && day <= 6) name += "-feira";
  return name;
}

std::string WordsRules::diaDoMesOrdinal(int ADia) {
  static constexpr std::array<const char*, 10> kFirst = {"",       "primeiro", "segundo", "terceiro", "quarto",
                                                         "quinto", "sexto",    "sétimo",  "oitavo",   "nono"};
  static constexpr std::array<const char*, 4> kTensOrdinal = {"", "décimo", "vigésimo", "trigésimo"};
  if (ADia < 1 || ADia > 31) return "";
  const std::string tens = kTensOrdinal[static_cast<std::size_t>(ADia / 10)];
  const std::string units = kFirst[static_cast<std::size_t>(ADia % 10)];
  if (tens.empty()) return units;
  return units.empty() ? tens : tens + " " + units;
}

} // namespace vt::rules
