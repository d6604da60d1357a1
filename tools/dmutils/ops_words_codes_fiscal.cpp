// dmutils operations of the number, date and time helpers and of the rules
// for amounts and dates in words, state and country codes, fiscal and sales
// rules, due dates and cheque numbers.
//
// Beyond the tool's general shapes (main.cpp):
// - A date (TDate, TDateTime) is an ISO text "YYYY-MM-DD" or
//   "YYYY-MM-DDThh:mm:ss" (optionally ".zzz" milliseconds); a time (TTime) is
//   "hh:mm", "hh:mm:ss" or "hh:mm:ss.zzz", or a full date and time. Results
//   come back the same way: a date alone when the time is midnight, with
//   ".zzz" only when there are milliseconds.
// - A Double is a JSON number; "NaN", "Infinity" and "-Infinity" stand for the
//   values JSON cannot write, in arguments and in results.
// - A conversion error of the module (a text that is no number, date or time)
//   is answered as {"op":..,"error":"'x' is not a valid floating point value"}.
// - The operations that read the regional settings use the running user's
//   (the Brazilian ones on Linux).
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

#include "rules/codes.h"
#include "rules/due_dates.h"
#include "rules/fiscal.h"
#include "rules/words.h"
#include "tools/dmutils/registry.h"
#include "utils/numbers_dates.h"

namespace vt::tools {
namespace {

using nlohmann::json;
using rules::CodesRules;
using rules::DueDateRules;
using rules::FiscalRules;
using rules::WordsRules;
using utils::NumberDateHelpers;
using utils::TDateTime;

[[noreturn]] void bad(size_t i, const std::string& what) {
  throw BadArguments("argument " + std::to_string(i + 1) + " must be " + what);
}

unsigned int argCardinal(const json& args, size_t i) {
  const long long value = argInt(args, i);
  if (value < 0 || value > 4294967295LL) bad(i, "an integer from 0 to 4294967295");
  return static_cast<unsigned int>(value);
}

double argReal(const json& args, size_t i) {
  if (i < args.size() && args[i].is_string()) {
    const std::string text = args[i].get<std::string>();
    if (text == "NaN") return std::numeric_limits<double>::quiet_NaN();
    if (text == "Infinity") return std::numeric_limits<double>::infinity();
    if (text == "-Infinity") return -std::numeric_limits<double>::infinity();
    bad(i, "a number (or \"NaN\", \"Infinity\", \"-Infinity\")");
  }
  return argDouble(args, i);
}

json realResult(double value) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value > 0 ? "Infinity" : "-Infinity";
  return value;
}

// Reads exactly `count` digits at text[pos].
bool digits(std::string_view text, size_t& pos, size_t count, int& value) {
  if (text.size() - pos < count) return false;
  const auto res = std::from_chars(text.data() + pos, text.data() + pos + count, value);
  if (res.ec != std::errc() || res.ptr != text.data() + pos + count) return false;
  pos += count;
  return true;
}

// "hh:mm", "hh:mm:ss" or "hh:mm:ss.z" to ".zzz" from text[pos] to its end.
bool parseTime(std::string_view text, size_t pos, TDateTime& time) {
  int h = 0, m = 0, s = 0, ms = 0;
  if (!digits(text, pos, 2, h) || pos >= text.size() || text[pos++] != ':' || !digits(text, pos, 2, m)) return false;
  if (pos < text.size()) {
    if (text[pos++] != ':' || !digits(text, pos, 2, s)) return false;
    if (pos < text.size()) {
      if (text[pos++] != '.') return false;
      const size_t n = text.size() - pos;
      if (n < 1 || n > 3 || !digits(text, pos, n, ms)) return false;
      for (size_t k = n; k < 3; ++k) ms *= 10;
    }
  }
  return utils::tryEncodeTime(h, m, s, ms, time);
}

bool parseIsoDateTime(std::string_view text, TDateTime& value) {
  size_t pos = 0;
  int y, mo, d;
  if (!digits(text, pos, 4, y) || pos >= text.size() || text[pos++] != '-' || !digits(text, pos, 2, mo) ||
      pos >= text.size() || text[pos++] != '-' || !digits(text, pos, 2, d))
    return false;
  TDateTime date, time = 0;
  if (!utils::tryEncodeDate(y, mo, d, date)) return false;
  if (pos < text.size() && (text[pos++] != 'T' || !parseTime(text, pos, time))) return false;
  value = utils::composeDateTime(date, time);
  return true;
}

TDateTime argDate(const json& args, size_t i) {
  const std::string text = argString(args, i);
  TDateTime value;
  if (!parseIsoDateTime(text, value)) bad(i, "a date as YYYY-MM-DD or YYYY-MM-DDThh:mm:ss");
  return value;
}

TDateTime argTime(const json& args, size_t i) {
  const std::string text = argString(args, i);
  TDateTime value;
  if (!parseTime(text, 0, value) && !parseIsoDateTime(text, value))
    bad(i, "a time as hh:mm:ss (or a date and time as YYYY-MM-DDThh:mm:ss)");
  return value;
}

std::string isoText(TDateTime value) {
  const utils::DateTimeParts p = utils::decodeDateTime(value);
  char buf[48];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", p.year, p.month, p.day);
  std::string text = buf;
  if (p.hour || p.minute || p.second || p.millisecond) {
    std::snprintf(buf, sizeof buf, "T%02d:%02d:%02d", p.hour, p.minute, p.second);
    text += buf;
    if (p.millisecond) {
      std::snprintf(buf, sizeof buf, ".%03d", p.millisecond);
      text += buf;
    }
  }
  return text;
}

std::string timeText(TDateTime value) {
  const utils::DateTimeParts p = utils::decodeDateTime(value);
  char buf[32];
  if (p.millisecond) std::snprintf(buf, sizeof buf, "%02d:%02d:%02d.%03d", p.hour, p.minute, p.second, p.millisecond);
  else std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", p.hour, p.minute, p.second);
  return buf;
}

template <typename Fn>
void addInt(OpRegistry& registry, const std::string& name, Fn fn) {
  registry.add(name, [fn](const json& args) {
    expectArgs(args, 1);
    return result(fn(argInt32(args, 0)));
  });
}

// A Double and a text converted with the user's regional settings.
template <typename Fn>
void addTextToReal(OpRegistry& registry, const std::string& name, Fn fn) {
  registry.add(name, [fn](const json& args) {
    expectArgs(args, 1);
    return result(realResult(fn(argString(args, 0))));
  });
}

void registerNumberDateOps(OpRegistry& r) {
  r.add("dateToString", [](const json& a) {
    expectArgs(a, 3);
    return result(NumberDateHelpers::dateToString(argDate(a, 0), argString(a, 1), argString(a, 2)));
  });
  r.add("getDateFromString", [](const json& a) {
    expectArgs(a, 1);
    return result(isoText(NumberDateHelpers::getDateFromString(argString(a, 0))));
  });
  r.add("getDateTimeFromString", [](const json& a) {
    expectArgs(a, 4);
    return result(isoText(
        NumberDateHelpers::getDateTimeFromString(argString(a, 0), argString(a, 1), argString(a, 2), argString(a, 3))));
  });
  // "args": [text] or [text, ARetornaDataHora]: the out-parameter keeps its
  // value (as given; 1899-12-30 when left out) when the text does not convert.
  r.add("strParaDateTime", [](const json& a) {
    expectArgs(a, 1, 2);
    const std::string text = argString(a, 0);
    TDateTime value = a.size() > 1 ? argDate(a, 1) : 0.0;
    const bool ok = NumberDateHelpers::strParaDateTime(text, value);
    json reply = result(ok);
    reply["out"] = json{{"ARetornaDataHora", isoText(value)}};
    return reply;
  });
  addInt(r, "secToTime", NumberDateHelpers::secToTime);
  r.add("encodaHora", [](const json& a) {
    expectArgs(a, 1);
    return result(timeText(NumberDateHelpers::encodaHora(argCardinal(a, 0))));
  });
  r.add("compararHora", [](const json& a) {
    expectArgs(a, 3);
    return result(NumberDateHelpers::compararHora(argTime(a, 0), argTime(a, 1), argString(a, 2)));
  });
  r.add("compararValores", [](const json& a) {
    expectArgs(a, 3);
    return result(NumberDateHelpers::compararValores(argReal(a, 0), argReal(a, 1), argString(a, 2)));
  });
  r.add("Arredondar", [](const json& a) {
    expectArgs(a, 2);
    return result(realResult(NumberDateHelpers::Arredondar(argReal(a, 0), argInt32(a, 1))));
  });
  r.add("rountToPrecision", [](const json& a) {
    expectArgs(a, 1);
    return result(realResult(NumberDateHelpers::rountToPrecision(argReal(a, 0))));
  });
  r.add("truncDecimal", [](const json& a) {
    expectArgs(a, 2);
    return result(realResult(NumberDateHelpers::truncDecimal(argReal(a, 0), argInt32(a, 1))));
  });
  addTextToReal(r, "currencyToFloat", [](const std::string& t) { return NumberDateHelpers::currencyToFloat(t); });
  addTextToReal(r, "myTextToFloat", [](const std::string& t) { return NumberDateHelpers::myTextToFloat(t); });
  addText(r, "converterFloatSQLSimples", NumberDateHelpers::converterFloatSQLSimples);
  addTextToReal(r, "converterComprimentoStringToFloat",
                [](const std::string& t) { return NumberDateHelpers::converterComprimentoStringToFloat(t); });
  addText(r, "strIsFloat", [](const std::string& t) { return NumberDateHelpers::strIsFloat(t); });
  addText(r, "strIsDate", [](const std::string& t) { return NumberDateHelpers::strIsDate(t); });
  addText(r, "strIsDateTime", [](const std::string& t) { return NumberDateHelpers::strIsDateTime(t); });
}

void registerWordsOps(OpRegistry& r) {
  r.add("valorPorExtenso", [](const json& a) {
    expectArgs(a, 2);
    return result(WordsRules::valorPorExtenso(argReal(a, 0), argBool(a, 1)));
  });
  r.add("anoPorExtenso", [](const json& a) {
    expectArgs(a, 1);
    return result(WordsRules::anoPorExtenso(argDate(a, 0)));
  });
  r.add("mesPorExtenso", [](const json& a) {
    expectArgs(a, 1);
    return result(WordsRules::mesPorExtenso(argDate(a, 0)));
  });
  r.add("diaDaSemanaExtenso", [](const json& a) {
    expectArgs(a, 3);
    return result(WordsRules::diaDaSemanaExtenso(argInt32(a, 0), argBool(a, 1), argBool(a, 2)));
  });
  addInt(r, "diaDoMesOrdinal", WordsRules::diaDoMesOrdinal);
}

void registerCodesOps(OpRegistry& r) {
  addText(r, "codigoUF", CodesRules::codigoUF);
  addText(r, "estadoUFValido", CodesRules::estadoUFValido);
  addText(r, "nomeEstadoToSiglaUf", CodesRules::nomeEstadoToSiglaUf);
  addText(r, "siglaUFtoNomeEstado", CodesRules::siglaUFtoNomeEstado);
  addInt(r, "nomePaisPorCodigo", CodesRules::nomePaisPorCodigo);
}

void registerFiscalOps(OpRegistry& r) {
  addText(r, "cfopDeVenda", FiscalRules::cfopDeVenda);
  addText(r, "indicadorPresenca", FiscalRules::indicadorPresenca);
  r.add("formataObsFiscal", [](const json& a) {
    expectArgs(a, 2);
    return result(FiscalRules::formataObsFiscal(argString(a, 0), argString(a, 1)));
  });
  r.add("arredondarSAT", [](const json& a) {
    expectArgs(a, 2);
    return result(realResult(FiscalRules::arredondarSAT(argReal(a, 0), argInt32(a, 1))));
  });
  r.add("cNFfromNumOper", [](const json& a) {
    expectArgs(a, 2);
    return result(FiscalRules::cNFfromNumOper(argInt32(a, 0), argInt32(a, 1)));
  });
  addInt(r, "cNFtoNumOper", FiscalRules::cNFtoNumOper);
  addInt(r, "compraTipoString", FiscalRules::compraTipoString);
  addInt(r, "vendaTipoString", FiscalRules::vendaTipoString);
}

void registerDueDateOps(OpRegistry& r) {
  // [ADataVenda, ADescricao, ADiaVct, ADoDia1, AAoDia1, AVctDia1, AVctDia2, ADiaVctSemanal, AVctMesmoMes]
  r.add("dataVctoMensalistaQuinzenalOuSemanal", [](const json& a) {
    expectArgs(a, 9);
    const TDateTime sale = argDate(a, 0);
    const std::string kind = argString(a, 1);
    int n[7];
    for (size_t k = 0; k < 7; ++k) n[k] = argInt32(a, k + 2);
    return result(isoText(
        DueDateRules::dataVctoMensalistaQuinzenalOuSemanal(sale, kind, n[0], n[1], n[2], n[3], n[4], n[5], n[6])));
  });
  r.add("mesmoDiaMesSeguinte", [](const json& a) {
    expectArgs(a, 1);
    return result(isoText(DueDateRules::mesmoDiaMesSeguinte(argDate(a, 0))));
  });
  addText(r, "proximoNumeroCheque", DueDateRules::proximoNumeroCheque);
}

} // namespace

void registerWordsCodesFiscalOps(OpRegistry& registry) {
  registerNumberDateOps(registry);
  registerWordsOps(registry);
  registerCodesOps(registry);
  registerFiscalOps(registry);
  registerDueDateOps(registry);
}

} // namespace vt::tools
