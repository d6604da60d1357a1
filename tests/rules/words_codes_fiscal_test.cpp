#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>
#include <string>

#include "rules/codes.h"
#include "rules/due_dates.h"
#include "rules/fiscal.h"
#include "rules/words.h"

namespace vt::rules {
namespace {

using utils::encodeDate;
using utils::TDate;

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();
constexpr int kIntMax = std::numeric_limits<int>::max();
constexpr int kIntMin = std::numeric_limits<int>::min();

std::string stamp(TDate v) { return utils::formatDateTime("yyyy-MM-dd HH:mm:ss", v); }

// ---- Amounts in words ------------------------------------------------------------

TEST(ValorPorExtenso, WritesEveryGroupSize) {
  struct Case { double value; const char* words; } cases[] = {
      {1, "um"},
      {7, "sete"},
      {15, "quinze"},
      {19, "dezenove"},
      {20, "vinte"},
      {21, "vinte e um"},
      {99, "noventa e nove"},
      {100, "cem"},
      {101, "cento e um"},
      {110, "cento e dez"},
      {115, "cento e quinze"},
      {145, "cento e quarenta e cinco"},
      {200, "duzentos"},
      {999, "novecentos e noventa e nove"},
      {1000, "um mil"},
      {1001, "um mil, um"},
      {1100, "um mil, cem"},
      {1500, "um mil, quinhentos"},
      {2000, "dois mil"},
      {10000, "dez mil"},
      {100000, "cem mil"},
      {101000, "cento e um mil"},
      {1000000, "um milhão"},
      {2000500, "dois milhões, quinhentos"},
      {1001001, "um milhão, um mil, um"},
      {1000000000, "um bilhão"},
      {3000000000.0, "três bilhões"},
      {1000000000000.0, "um trilhão"},
      {999999999999999.0,
       "novecentos e noventa e nove trilhões, novecentos e noventa e nove bilhões, novecentos e noventa e nove "
       "milhões, novecentos e noventa e nove mil, novecentos e noventa e nove"},
      {12.25, "doze"},    // cents only in money
      {12.999, "doze"},   // ...and dropped whole, never rounded up
  };
  for (const auto& c : cases) EXPECT_EQ(WordsRules::valorPorExtenso(c.value, false), c.words) << c.value;
}

TEST(ValorPorExtenso, NamesTheCurrencyByTheRealReaisAndDeReaisRules) {
  struct Case { double value; const char* words; } cases[] = {
      {1, "um real"},
      {2, "dois reais"},
      {1000, "um mil reais"},            // words within the thousands: "reais"
      {1500, "um mil, quinhentos reais"},
      {1000000, "um milhão de reais"},   // nothing below the millions: "de reais"
      {2000000, "dois milhões de reais"},
      {2000500, "dois milhões, quinhentos reais"},
      {3001000, "três milhões, um mil reais"},
      {1000000001, "um bilhão, um real"},  // the units group alone decides "real"
      {1000000000000.0, "um trilhão de reais"},
      {0.5, "cinquenta centavos"},
      {0.01, "um centavo"},
      {0.07, "sete centavos"},
      {0.19, "dezenove centavos"},
      {0.2, "vinte centavos"},
      {0.99, "noventa e nove centavos"},
      {1.01, "um real e um centavo"},
      {2.45, "dois reais e quarenta e cinco centavos"},
      {1000000.1, "um milhão de reais e dez centavos"},
  };
  for (const auto& c : cases) EXPECT_EQ(WordsRules::valorPorExtenso(c.value, true), c.words) << c.value;
}

TEST(ValorPorExtenso, CentsThatComeToAWholeUnitCarryIntoIt) {
  EXPECT_EQ(WordsRules::valorPorExtenso(1.996, true), "dois reais");
  EXPECT_EQ(WordsRules::valorPorExtenso(0.999, true), "um real");
  EXPECT_EQ(WordsRules::valorPorExtenso(999.9999, true), "um mil reais");
  EXPECT_EQ(WordsRules::valorPorExtenso(1.994, true), "um real e noventa e nove centavos");
  // Below half a cent nothing is written: the amount is zero.
  EXPECT_EQ(WordsRules::valorPorExtenso(0.004, true), "zero");
  EXPECT_EQ(WordsRules::valorPorExtenso(0.5, false), "zero");
}

TEST(ValorPorExtenso, NegativeAmountsAreWrittenAfterMenos) {
  EXPECT_EQ(WordsRules::valorPorExtenso(-2, true), "menos dois reais");
  EXPECT_EQ(WordsRules::valorPorExtenso(-1.5, true), "menos um real e cinquenta centavos");
  EXPECT_EQ(WordsRules::valorPorExtenso(-1500, false), "menos um mil, quinhentos");
  EXPECT_EQ(WordsRules::valorPorExtenso(-0.001, true), "zero");
  EXPECT_EQ(WordsRules::valorPorExtenso(-0.0, true), "zero");
}

TEST(ValorPorExtenso, SixteenDigitsAndWhatIsNoNumberGiveTheErrorText) {
  const std::string error = "Erro por extenso: valor não pode ser superior a 999 trilhões.";
  for (double v : {1e15, 1e15 + 2, 1e300, -1e15, kInf, -kInf, kNaN, std::numeric_limits<double>::max()}) {
    EXPECT_EQ(WordsRules::valorPorExtenso(v, true), error) << v;
    EXPECT_EQ(WordsRules::valorPorExtenso(v, false), error) << v;
  }
  EXPECT_EQ(WordsRules::valorPorExtenso(0, true), "zero");
  EXPECT_EQ(WordsRules::valorPorExtenso(0, false), "zero");
}

TEST(DatesInWords, YearsMonthsWeekdaysAndOrdinals) {
  struct Year { int year; const char* words; } years[] = {
      {2019, ""},
      {2020, "dois mil e vinte"},
      {2021, "dois mil e vinte e um"},
      {2029, "dois mil e vinte e nove"},
      {2030, "dois mil e trinta"},
      {2037, "dois mil e trinta e sete"},
      {2040, "dois mil e quarenta"},
      {2041, "dois mil e quarenta e um"},
      {2042, ""},
  };
  for (const auto& y : years) EXPECT_EQ(WordsRules::anoPorExtenso(encodeDate(y.year, 6, 1)), y.words) << y.year;

  const char* months[] = {"Janeiro", "Fevereiro", "Março",    "Abril",    "Maio",     "Junho",
                          "Julho",   "Agosto",    "Setembro", "Outubro",  "Novembro", "Dezembro"};
  for (int m = 1; m <= 12; ++m) EXPECT_EQ(WordsRules::mesPorExtenso(encodeDate(2024, m, 28)), months[m - 1]);
  EXPECT_EQ(WordsRules::mesPorExtenso(encodeDate(9999, 12, 31)), "Dezembro");
  EXPECT_EQ(WordsRules::mesPorExtenso(kNaN), "");
  EXPECT_EQ(WordsRules::anoPorExtenso(kInf), "");

  struct Day { int n; bool full, iso; const char* name; } days[] = {
      {1, false, false, "Domingo"},   {1, true, false, "Domingo"},       {2, true, false, "Segunda-feira"},
      {3, false, false, "Terça"},     {6, true, false, "Sexta-feira"},   {7, true, false, "Sábado"},
      {1, true, true, "Segunda-feira"}, {5, false, true, "Sexta"},      {6, true, true, "Sábado"},
      {7, true, true, "Domingo"},     {0, true, false, ""},              {8, true, false, ""},
      {0, true, true, "Domingo"},  // 0 in the ISO count turns into 1
      {8, true, true, ""},            {kIntMax, true, true, ""},          {kIntMin, true, false, ""},
  };
  for (const auto& d : days)
    EXPECT_EQ(WordsRules::diaDaSemanaExtenso(d.n, d.full, d.iso), d.name) << d.n << d.full << d.iso;

  struct Ordinal { int day; const char* words; } ordinals[] = {
      {1, "primeiro"},  {7, "sétimo"}, {9, "nono"}, {10, "décimo"}, {11, "décimo primeiro"},
      {19, "décimo nono"}, {20, "vigésimo"}, {22, "vigésimo segundo"}, {30, "trigésimo"},
      {31, "trigésimo primeiro"}, {0, ""}, {32, ""}, {-1, ""}, {kIntMax, ""},
  };
  for (const auto& o : ordinals) EXPECT_EQ(WordsRules::diaDoMesOrdinal(o.day), o.words) << o.day;
}

// ---- State and country codes ---------------------------------------------------

TEST(StateCodes, ConvertExactlyBetweenCodesNumbersAndNames) {
  EXPECT_EQ(CodesRules::codigoUF("SP"), "35");
  EXPECT_EQ(CodesRules::codigoUF("AC"), "12");
  EXPECT_EQ(CodesRules::codigoUF("TO"), "17");
  EXPECT_EQ(CodesRules::codigoUF("sp"), "");
  EXPECT_EQ(CodesRules::codigoUF("EX"), "");
  EXPECT_EQ(CodesRules::codigoUF(""), "");
  EXPECT_TRUE(CodesRules::estadoUFValido("EX"));
  EXPECT_TRUE(CodesRules::estadoUFValido("DF"));
  EXPECT_FALSE(CodesRules::estadoUFValido("XX"));
  EXPECT_FALSE(CodesRules::estadoUFValido("ex"));
  EXPECT_FALSE(CodesRules::estadoUFValido("SP "));
  EXPECT_EQ(CodesRules::nomeEstadoToSiglaUf("São Paulo"), "SP");
  EXPECT_EQ(CodesRules::nomeEstadoToSiglaUf("Mato Grosso do Sul"), "MS");
  EXPECT_EQ(CodesRules::nomeEstadoToSiglaUf("Mato Grosso"), "MT");
  EXPECT_EQ(CodesRules::nomeEstadoToSiglaUf("Sao Paulo"), "");
  EXPECT_EQ(CodesRules::nomeEstadoToSiglaUf("são paulo"), "");
  EXPECT_EQ(CodesRules::siglaUFtoNomeEstado("SP"), "São Paulo (SP)");
  EXPECT_EQ(CodesRules::siglaUFtoNomeEstado("RN"), "Rio Grande do Norte (RN)");
  EXPECT_EQ(CodesRules::siglaUFtoNomeEstado("EX"), "");

  // Every state goes round: code -> name -> code, and the numbers are unique.
  std::set<std::string_view> numbers;
  ASSERT_EQ(stateTable().size(), 27u);
  for (const StateRow& s : stateTable()) {
    EXPECT_EQ(CodesRules::nomeEstadoToSiglaUf(s.nome), s.sigla);
    EXPECT_TRUE(numbers.insert(s.codigo).second) << s.codigo;
  }
}

TEST(CountryTable, HasItsRowsInTheirOrder) {
  const auto table = countryTable();
  ASSERT_EQ(table.size(), 261u);
  EXPECT_EQ(table.front().codigo, 132);
  EXPECT_EQ(table.front().nome, "AFEGANISTAO");
  EXPECT_EQ(table[1].codigo, 153);
  EXPECT_EQ(table[1].nome, "ALAND, ILHAS");
  EXPECT_EQ(table.back().codigo, 8907);
  EXPECT_EQ(table.back().nome, "ZAMBIA");
  EXPECT_EQ(table[table.size() - 2].codigo, 8885);

  std::set<int> codes;
  int accented = 0;
  for (const CountryRow& c : table) {
    EXPECT_TRUE(codes.insert(c.codigo).second) << "code " << c.codigo << " twice";
    for (unsigned char ch : c.nome) {
      if (ch >= 0x80) {
        ++accented;
        EXPECT_EQ(c.nome, "SUDÃO DO SUL");
        break;
      }
      EXPECT_FALSE(ch >= 'a' && ch <= 'z') << c.nome;
      EXPECT_NE(ch, '\'') << c.nome;
    }
  }
  EXPECT_EQ(accented, 1);
}

TEST(CountryTable, NamesByCodeIncludingNamesUnderTwoCodes) {
  struct Case { int code; const char* name; } cases[] = {
      {1058, "BRASIL"},
      {200, "CURACAO"}, {2003, "CURACAO"},
      {990, "BONAIRE"}, {3599, "BONAIRE"},
      {1504, "GUERNSEY, ILHA DO CANAL (INCLUI ALDERNEY E SARK)"},
      {3212, "GUERNSEY, ILHA DO CANAL (INCLUI ALDERNEY E SARK)"},
      {1508, "JERSEY, ILHA DO CANAL"}, {3930, "JERSEY, ILHA DO CANAL"},
      {4885, "MAYOTTE (ILHAS FRANCESAS)"}, {4898, "MAYOTTE (ILHAS FRANCESAS)"},
      {7600, "SUDÃO DO SUL"},
      {6955, "SAO CRISTOVAO E NEVES,ILHAS"}, {6939, "SAO BARTOLOMEU"},
      {8753, "WALLIS E FUTUNA, ILHAS"}, {8737, "WAKE, ILHA"},
      {1651, "COCOS(KEELING),ILHAS"},
      {1, "ERRO"}, {-1058, "ERRO"}, {kIntMax, "ERRO"}, {kIntMin, "ERRO"},
  };
  for (const auto& c : cases) EXPECT_EQ(CodesRules::nomePaisPorCodigo(c.code), c.name) << c.code;
}

TEST(CountryTable, CodeZeroGivesTheWholeTableAsSql) {
  const std::string sql = CodesRules::nomePaisPorCodigo(0);
  const std::string first = "select 132 as ALS_CODPAIS,'AFEGANISTAO' as ALS_NOMEPAIS\r\n";
  const std::string last = "select 8907 as ALS_CODPAIS,'ZAMBIA' as ALS_NOMEPAIS\r\nfrom dual\r\n";
  ASSERT_GE(sql.size(), first.size() + last.size());
  EXPECT_EQ(sql.substr(0, first.size()), first);
  EXPECT_EQ(sql.substr(sql.size() - last.size()), last);
  EXPECT_NE(sql.find("\r\nunion all\r\nselect 153 as ALS_CODPAIS,'ALAND, ILHAS' as ALS_NOMEPAIS\r\n"),
            std::string::npos);
  EXPECT_NE(sql.find("select 7600 as ALS_CODPAIS,'SUDÃO DO SUL' as ALS_NOMEPAIS\r\n"), std::string::npos);

  // Line by line: a select per row in table order, "union all" between, every
  // line ended by CR LF and no bare LF anywhere.
  std::size_t pos = 0, selects = 0, unions = 0;
  std::string previous;
  const auto table = countryTable();
  while (pos < sql.size()) {
    const std::size_t end = sql.find("\r\n", pos);
    ASSERT_NE(end, std::string::npos);
    const std::string line = sql.substr(pos, end - pos);
    EXPECT_EQ(line.find('\n'), std::string::npos);
    if (line == "union all") {
      ++unions;
      EXPECT_EQ(previous.rfind("select ", 0), 0u);
    } else if (line.rfind("select ", 0) == 0) {
      ASSERT_LT(selects, table.size());
      EXPECT_EQ(line, "select " + std::to_string(table[selects].codigo) + " as ALS_CODPAIS,'" +
                          std::string(table[selects].nome) + "' as ALS_NOMEPAIS");
      ++selects;
    } else {
      EXPECT_EQ(line, "from dual");
      EXPECT_EQ(end + 2, sql.size());
    }
    previous = line;
    pos = end + 2;
  }
  EXPECT_EQ(selects, 261u);
  EXPECT_EQ(unions, 260u);
}

// ---- Fiscal and sales rules ------------------------------------------------------

TEST(CfopDeVenda, KnowsTheSaleCodesExactly) {
  for (const char* code : {"5101", "5102", "5123", "5405", "5551", "5656", "6101", "6404", "6656", "7101",
                           "7127", "7654"})
    EXPECT_TRUE(FiscalRules::cfopDeVenda(code)) << code;
  for (const char* code : {"5.102", "5107", "5121", "5404", "6405", "7103", "1102", "", "5102 ", " 5102",
                           "51020", "7655"})
    EXPECT_FALSE(FiscalRules::cfopDeVenda(code)) << code;
  int sales = 0;
  for (int code = 0; code <= 9999; ++code) sales += FiscalRules::cfopDeVenda(std::to_string(code));
  EXPECT_EQ(sales, 89);
}

TEST(FiscalTexts, PresenceIndicatorAndKindsOfPurchaseAndSale) {
  EXPECT_EQ(FiscalRules::indicadorPresenca("0"), "0 - Não se aplica");
  EXPECT_EQ(FiscalRules::indicadorPresenca("1"), "1 - Operação presencial");
  EXPECT_EQ(FiscalRules::indicadorPresenca("2"), "2 - Operação não presencial, pela Internet");
  EXPECT_EQ(FiscalRules::indicadorPresenca("3"), "3 - Operação não presencial, Teleatendimento");
  EXPECT_EQ(FiscalRules::indicadorPresenca("4"), "4 - NFC-e em operação com entrega em domicílio");
  EXPECT_EQ(FiscalRules::indicadorPresenca("5"), "5 - Operação presencial, fora do estabelecimento");
  EXPECT_EQ(FiscalRules::indicadorPresenca("9"), "9 - Operação não presencial, outros");
  for (const char* n : {"6", "", "01", " 1", "1 "}) EXPECT_EQ(FiscalRules::indicadorPresenca(n), "") << n;

  const char* purchases[] = {"Compra", "Despesa", "Pedido de Compra", "A_Pag", "Compra Complementar", "Pagto"};
  for (int k = 0; k < 6; ++k) EXPECT_EQ(FiscalRules::compraTipoString(k), purchases[k]);
  const char* sales[] = {"Venda",   "Bonificação", "Consignação", "Devolução", "Garantia",
                         "Locação", "Troca",       "Recebim",     "A_Rec",     "Agrupada",
                         "JUNTADO", "Pré-Venda",   "Nota Fiscal", "Cancela",   "iFood"};
  for (int k = 0; k < 15; ++k) EXPECT_EQ(FiscalRules::vendaTipoString(k), sales[k]);
  for (int k : {-1, 6, kIntMax, kIntMin}) EXPECT_EQ(FiscalRules::compraTipoString(k), "") << k;
  for (int k : {-1, 15, kIntMax, kIntMin}) EXPECT_EQ(FiscalRules::vendaTipoString(k), "") << k;
}

TEST(FormataObsFiscal, PutsTheRemarkOnOneLine) {
  struct Case { const char* text; const char* delimiter; const char* expected; } cases[] = {
      {"linha um\r\n\r\nlinha dois", "|", "linha um|linha dois"},
      {"linha um\r\nlinha dois\r\n", "|", "linha um|linha dois"},
      {"\r\nlinha um", "|", "linha um"},
      {"a\n\r\n\rb\n\rc\r\nd", "|", "a|b|c|d"},
      {"a\r\n\r\n\r\nb", ";", "a;;b"},
      {"|a|", "|", "a"},
      {"||a||", "|", "|a|"},
      {"a\r\nb", "", "ab"},
      {"a\r\nb", " - ", "a - b"},
      {"", "|", ""},
      {"\r\n", "|", ""},
      {"sem quebra", "|", "sem quebra"},
      // Text that holds the characters of a marker is kept as it is.
      {"promo *&* leve 2", "|", "promo *&* leve 2"},
      {"a*&*|b", "|", "a*&*|b"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FiscalRules::formataObsFiscal(c.text, c.delimiter), c.expected) << c.text;
}

TEST(ArredondarSAT, SendsHalvesToEvenAndGoesUpBeyondTheTolerance) {
  struct Case { double value; int digits; double expected; } cases[] = {
      {2.345, 2, 2.34},        // a half: the kept 4 is even
      {2.355, 2, 2.36},        // a half: the kept 5 is odd
      {2.3451, 2, 2.35},       // beyond the half
      {2.34501, 2, 2.35},      // beyond the half by more than the tolerance
      {2.345000001, 2, 2.34},  // beyond by less: still a half
      {2.3449, 2, 2.34},
      {2.3449999999, 2, 2.34},
      {0.125, 2, 0.12},
      {0.135, 2, 0.14},
      {1.5, 0, 2.0},
      {2.5, 0, 2.0},
      {2.51, 0, 3.0},
      {123.456, 1, 123.5},
      {99.995, 2, 100.0},
      {19.99, 2, 19.99},
      {0.0, 2, 0.0},
      {2.345, -2, 2.34},       // a negative count works as the positive one
      {2.355, -2, 2.36},
      {1234567.891, 2, 1234567.89},
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(FiscalRules::arredondarSAT(c.value, c.digits), c.expected) << c.value << " " << c.digits;
    // A negative value is rounded like its magnitude and keeps its sign.
    EXPECT_DOUBLE_EQ(FiscalRules::arredondarSAT(-c.value, c.digits), -c.expected) << -c.value << " " << c.digits;
  }
}

TEST(ArredondarSAT, SurvivesValuesAndDigitCountsOutOfRange) {
  EXPECT_TRUE(std::isnan(FiscalRules::arredondarSAT(kNaN, 2)));
  EXPECT_EQ(FiscalRules::arredondarSAT(kInf, 2), kInf);
  EXPECT_EQ(FiscalRules::arredondarSAT(-kInf, 2), -kInf);
  EXPECT_DOUBLE_EQ(FiscalRules::arredondarSAT(1e300, 2), 1e300);
  EXPECT_DOUBLE_EQ(FiscalRules::arredondarSAT(-1e300, 2), -1e300);
  EXPECT_EQ(FiscalRules::arredondarSAT(2.345, kIntMax), 2.345);
  EXPECT_EQ(FiscalRules::arredondarSAT(2.345, kIntMin), 2.345);
  EXPECT_DOUBLE_EQ(FiscalRules::arredondarSAT(2.345, 12), 2.345);
}

TEST(InvoiceNumericCodes, MapOperationNumbersBothWays) {
  EXPECT_EQ(FiscalRules::cNFfromNumOper(123, 1), 50000123);
  EXPECT_EQ(FiscalRules::cNFfromNumOper(123, -7), 50000123);
  EXPECT_EQ(FiscalRules::cNFfromNumOper(123, 0), 123);
  EXPECT_EQ(FiscalRules::cNFtoNumOper(50000123), 123);
  EXPECT_EQ(FiscalRules::cNFtoNumOper(50000001), 1);
  EXPECT_EQ(FiscalRules::cNFtoNumOper(50000000), 50000000);
  EXPECT_EQ(FiscalRules::cNFtoNumOper(123), 123);
  EXPECT_EQ(FiscalRules::cNFtoNumOper(kIntMax), kIntMax - 50000000);
  EXPECT_EQ(FiscalRules::cNFtoNumOper(kIntMin), kIntMin);
  // Operation 0 has the code 50000000, which reads back as itself: operation
  // numbers start at 1.
  EXPECT_EQ(FiscalRules::cNFfromNumOper(0, 1), 50000000);
  for (int op : {1, 2, 49999999, 50000000, 99999999})
    EXPECT_EQ(FiscalRules::cNFtoNumOper(FiscalRules::cNFfromNumOper(op, 1)), op) << op;
  EXPECT_EQ(FiscalRules::cNFfromNumOper(kIntMax - 50000000, 1), kIntMax);
  // A code past the Integer range is refused rather than wrapped to a negative one.
  EXPECT_THROW(FiscalRules::cNFfromNumOper(kIntMax - 49999999, 1), std::out_of_range);
  EXPECT_EQ(FiscalRules::cNFfromNumOper(kIntMin, 1), kIntMin + 50000000);
}

// ---- Due dates and cheque numbers ---------------------------------------------

TEST(DueDates, MonthlyFallsOnTheDayOfTheFollowingMonthOrItsEnd) {
  struct Case { TDate sale; int day; const char* due; } cases[] = {
      {encodeDate(2024, 3, 10), 15, "2024-04-15 00:00:00"},
      {encodeDate(2024, 3, 10), 31, "2024-04-30 23:59:59"},   // April has no 31st
      {encodeDate(2024, 1, 31), 30, "2024-02-29 23:59:59"},   // leap February
      {encodeDate(2023, 1, 31), 29, "2023-02-28 23:59:59"},
      {encodeDate(2024, 1, 5), 29, "2024-02-29 00:00:00"},
      {encodeDate(2024, 12, 20), 10, "2025-01-10 00:00:00"},
      {encodeDate(2024, 3, 10), 0, "2024-04-30 23:59:59"},    // below 1
      {encodeDate(2024, 3, 10), -5, "2024-04-30 23:59:59"},
      {encodeDate(2024, 3, 10), kIntMax, "2024-04-30 23:59:59"},
  };
  for (const auto& c : cases) {
    for (const char* kind : {"Mensalista", "MENSALISTA", "mensalista"}) {
      const TDate due = DueDateRules::dataVctoMensalistaQuinzenalOuSemanal(c.sale, kind, c.day, 1, 15, 20, 5, 6, 1);
      EXPECT_EQ(stamp(due), c.due) << stamp(c.sale) << " day " << c.day << " " << kind;
    }
  }
  const TDate end = DueDateRules::dataVctoMensalistaQuinzenalOuSemanal(encodeDate(2024, 3, 10), "Mensalista", 31, 0,
                                                                      0, 0, 0, 0, 0);
  EXPECT_EQ(utils::decodeDateTime(end).millisecond, 999);
}

TEST(DueDates, FortnightlyPicksTheDueDayByTheRangeOfTheDay) {
  struct Case { TDate sale; int sameMonth; int first; int second; const char* due; } cases[] = {
      {encodeDate(2024, 3, 10), 1, 20, 5, "2024-03-20 00:00:00"}, // in range, same month
      {encodeDate(2024, 3, 10), 0, 20, 5, "2024-04-20 00:00:00"}, // in range, following month
      {encodeDate(2024, 3, 25), 1, 20, 5, "2024-04-05 00:00:00"}, // out of range
      {encodeDate(2024, 3, 15), 1, 20, 5, "2024-03-20 00:00:00"}, // the range's ends count
      {encodeDate(2024, 3, 1), 1, 20, 5, "2024-03-20 00:00:00"},
      {encodeDate(2024, 3, 16), 1, 20, 5, "2024-04-05 00:00:00"},
      {encodeDate(2024, 2, 10), 1, 30, 5, "2024-02-29 23:59:59"}, // the month has no 30th
      {encodeDate(2024, 1, 31), 1, 20, 31, "2024-02-29 23:59:59"}, // next is 29 Feb: out of range
      {encodeDate(2024, 12, 28), 1, 20, 5, "2025-01-05 00:00:00"},
      {encodeDate(2024, 3, 10), 1, 0, 5, "2024-03-31 23:59:59"},  // a due day below 1: the month's end
      {encodeDate(2024, 3, 10), 2, 20, 5, "2024-04-20 00:00:00"}, // only 1 means the same month
  };
  for (const auto& c : cases) {
    const TDate due = DueDateRules::dataVctoMensalistaQuinzenalOuSemanal(c.sale, "quinzenal", 10, 1, 15, c.first,
                                                                        c.second, 6, c.sameMonth);
    EXPECT_EQ(stamp(due), c.due) << stamp(c.sale) << " " << c.first << "/" << c.second;
  }
}

TEST(DueDates, WeeklyFallsOnTheWeekdayOfTheFollowingWeek) {
  // The week of 10 to 16 March 2024 (Sunday to Saturday): every sale in it
  // falls due on Friday 22 March.
  for (int day = 10; day <= 16; ++day) {
    const TDate due = DueDateRules::dataVctoMensalistaQuinzenalOuSemanal(encodeDate(2024, 3, day), "Semanal", 10, 1,
                                                                        15, 20, 5, 6, 1);
    EXPECT_EQ(stamp(due), "2024-03-22 00:00:00") << day;
  }
  struct Case { TDate sale; int weekday; const char* kind; const char* due; } cases[] = {
      {encodeDate(2024, 3, 13), 1, "", "2024-03-17 00:00:00"},
      {encodeDate(2024, 3, 13), 7, "qualquer", "2024-03-23 00:00:00"},
      {encodeDate(2024, 2, 26), 5, "Semanal", "2024-03-07 00:00:00"},   // across a leap day
      {encodeDate(2024, 12, 30), 2, "Semanal", "2025-01-06 00:00:00"},
      {encodeDate(2024, 3, 13), 0, "Semanal", "2024-03-16 00:00:00"},   // outside 1..7 counts on
      {encodeDate(2024, 3, 13), 9, "Semanal", "2024-03-25 00:00:00"},
      {utils::composeDateTime(encodeDate(2024, 3, 13), 0.5), 6, "Semanal", "2024-03-22 12:00:00"},
  };
  for (const auto& c : cases) {
    const TDate due = DueDateRules::dataVctoMensalistaQuinzenalOuSemanal(c.sale, c.kind, 10, 1, 15, 20, 5,
                                                                        c.weekday, 1);
    EXPECT_EQ(stamp(due), c.due) << stamp(c.sale) << " " << c.weekday;
  }
}

TEST(DueDates, DatesAtTheEndsOfTheCalendarRaiseInsteadOfCrashing) {
  const TDate last = encodeDate(9999, 12, 31), first = encodeDate(1, 1, 1);
  for (const char* kind : {"Mensalista", "Quinzenal", "Semanal"})
    EXPECT_THROW(DueDateRules::dataVctoMensalistaQuinzenalOuSemanal(last, kind, 10, 1, 15, 20, 5, 6, 1),
                 utils::ConvertError)
        << kind;
  EXPECT_THROW(DueDateRules::dataVctoMensalistaQuinzenalOuSemanal(first, "Semanal", 10, 1, 15, 20, 5, kIntMin, 1),
               utils::ConvertError);
  EXPECT_THROW(DueDateRules::dataVctoMensalistaQuinzenalOuSemanal(first, "Semanal", 10, 1, 15, 20, 5, kIntMax, 1),
               utils::ConvertError);
  EXPECT_EQ(stamp(DueDateRules::dataVctoMensalistaQuinzenalOuSemanal(first, "Mensalista", 1, 1, 15, 20, 5, 6, 1)),
            "0001-02-01 00:00:00");
  for (double bad : {kNaN, kInf, -kInf})
    EXPECT_THROW(DueDateRules::dataVctoMensalistaQuinzenalOuSemanal(bad, "Mensalista", 1, 1, 15, 20, 5, 6, 1),
                 utils::ConvertError);
  EXPECT_THROW(DueDateRules::mesmoDiaMesSeguinte(encodeDate(9999, 12, 1)), utils::ConvertError);
  EXPECT_THROW(DueDateRules::mesmoDiaMesSeguinte(kNaN), utils::ConvertError);
}

TEST(MesmoDiaMesSeguinte, KeepsTheDayWhereItExistsAndTheTimeOfDay) {
  struct Case { TDate date; const char* next; } cases[] = {
      {encodeDate(2024, 1, 31), "2024-02-29 00:00:00"},
      {encodeDate(2023, 1, 31), "2023-02-28 00:00:00"},
      {encodeDate(2024, 1, 15), "2024-02-15 00:00:00"},
      {encodeDate(2024, 3, 31), "2024-04-30 00:00:00"},
      {encodeDate(2024, 12, 31), "2025-01-31 00:00:00"},
      {encodeDate(2024, 2, 29), "2024-03-29 00:00:00"},
      {utils::composeDateTime(encodeDate(2024, 5, 31), utils::encodeTime(13, 45, 10, 0)), "2024-06-30 13:45:10"},
      {encodeDate(1899, 12, 29) - 0.25, "1900-01-29 06:00:00"},
  };
  for (const auto& c : cases) EXPECT_EQ(stamp(DueDateRules::mesmoDiaMesSeguinte(c.date)), c.next) << stamp(c.date);
}

TEST(ProximoNumeroCheque, CountsOnInsideTheText) {
  struct Case { const char* number; const char* next; } cases[] = {
      {"000123", "000124"},
      {"000129", "000130"},
      {"000199", "000200"},
      {"AB-19", "AB-20"},
      {"A9", "A10"},
      {"A99", "A100"},
      {"999", "000"},
      {"9", "0"},
      {"0", "1"},
      {"AB-", "AB-"},
      {"", ""},
      {"12-34", "12-35"},
      {"12-9", "12-10"},  // the 9 grows its own number only, never the 12 as well
      {"1 9X", "1 10X"},
      {"CH 0099 B", "CH 0100 B"},
      {"Nº 41", "Nº 42"},
      {"é9", "é10"},
  };
  for (const auto& c : cases) EXPECT_EQ(DueDateRules::proximoNumeroCheque(c.number), c.next) << c.number;
}

} // namespace
} // namespace vt::rules
