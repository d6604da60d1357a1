// rules_bench: how many documents per second the point of sale can check.
//
// validaIE runs over a generated mix like the one a register sees: valid
// numbers of every state and length, as many invalid ones (one digit typed
// wrong, a number under another state), formatted and bare, a few blank and
// "ISENTO". Beside it, on the same inputs in the same run, the same check
// written the usual way: a table of regular expressions per state for the
// shape, then the weighted sums (PCRE2 with its JIT where the build has it,
// and std::regex). The peers' answers are compared with validaIE's, so a
// peer that does less work would show.
//
// The earlier, table-walking form of validaIE (kept by the tests as their
// reference) is measured on the same mix too.
//
// validaCPF and validaCNPJ are measured beside a trivial peer (a plain sum of
// the digits of every text), so their ratio says what the rules cost beyond
// reading the text once.
//
//   rules_bench [--seconds S]   (S: time per measurement, default 0.5)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <regex>
#include <string>
#include <vector>

#ifdef VT_BENCH_PCRE2
#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>
#endif

#include "rules/documents.h"
#include "rules/state_registration.h"
#include "tests/rules/state_registration_reference.h"

namespace {

using Clock = std::chrono::steady_clock;
using vt::rules::StateRegistrationRules;

struct Registration {
  std::string number;
  std::string uf;
};

// ---------------------------------------------------------------------------
// The mix.
// ---------------------------------------------------------------------------

// A state's numbers as templates: a fixed digit, "d" a random digit, "?" a
// position tried with every digit until the number validates (the check
// digits; at most two per template).
struct Shape {
  const char* uf;
  const char* pattern;
};
const Shape kShapes[] = {
    {"AC", "01dddddd?"},      {"AC", "01ddddddddd??"}, {"AL", "24dddddd?"},      {"AP", "03dddddd?"},
    {"AM", "dddddddd?"},      {"BA", "ddddddd??"},     {"BA", "dddddd??"},       {"CE", "0ddddddd?"},
    {"DF", "07ddddddddd??"},  {"ES", "dddddddd?"},     {"GO", "10dddddd?"},      {"GO", "2ddddddd?"},
    {"MA", "12dddddd?"},      {"MT", "dddddddddd?"},   {"MT", "dddddddd?"},      {"MS", "28dddddd?"},
    {"MG", "ddddddddddd??"},  {"PA", "15dddddd?"},     {"PB", "16dddddd?"},      {"PR", "dddddddd??"},
    {"PE", "181dddddddddd?"}, {"PE", "ddddddd??"},     {"PI", "19dddddd?"},      {"RJ", "7dddddd?"},
    {"RN", "20dddddd?"},      {"RN", "20ddddddd?"},    {"RS", "ddddddddd?"},     {"RO", "1ddddddd?"},
    {"RO", "ddddddddddddd?"}, {"RR", "24dddddd?"},     {"SC", "dddddddd?"},      {"SE", "dddddddd?"},
    {"SP", "dddddddd?dd?"},   {"SP", "Pdddddddd?ddd"}, {"TO", "2901dddddd?"},    {"TO", "dddddddd?"},
};

// A valid number of the shape, or "" when the random body has none (GO's
// value-ten range can leave a body without a valid check digit).
std::string validNumber(const Shape& shape, std::mt19937& random) {
  std::string number = shape.pattern;
  std::vector<std::size_t> open;
  for (std::size_t i = 0; i < number.size(); ++i) {
    if (number[i] == 'd') number[i] = static_cast<char>('0' + random() % 10);
    if (number[i] == '?') open.push_back(i);
  }
  const int tries = open.size() == 2 ? 100 : 10;
  for (int k = 0; k < tries; ++k) {
    number[open[0]] = static_cast<char>('0' + (open.size() == 2 ? k / 10 : k));
    if (open.size() == 2) number[open[1]] = static_cast<char>('0' + k % 10);
    if (StateRegistrationRules::validaIE(number, shape.uf)) return number;
  }
  return "";
}

// Dots every few digits and a dash before the last one or two, as forms print them.
std::string formatted(const std::string& bare, std::mt19937& random) {
  std::string out;
  const std::size_t tail = bare.size() > 9 && random() % 2 ? 2 : 1;
  for (std::size_t i = 0; i < bare.size(); ++i) {
    if (i == bare.size() - tail) out += '-';
    else if (i > 0 && i % 3 == 0 && random() % 3) out += (random() % 5 == 0 ? '/' : '.');
    out += bare[i];
  }
  return out;
}

std::vector<Registration> makeMix(std::size_t count) {
  std::mt19937 random(1998);
  std::vector<Registration> mix;
  const std::size_t shapes = sizeof(kShapes) / sizeof(kShapes[0]);
  const char* states[] = {"AC", "AL", "AP", "AM", "BA", "CE", "DF", "ES", "GO", "MA", "MT", "MS", "MG", "PA",
                          "PB", "PR", "PE", "PI", "RJ", "RN", "RS", "RO", "RR", "SC", "SP", "SE", "TO"};
  while (mix.size() < count) {
    const unsigned kind = random() % 100;
    if (kind < 3) {
      mix.push_back({"", states[random() % 27]});
      continue;
    }
    if (kind < 6) {
      mix.push_back({random() % 2 ? "ISENTO" : " isento ", states[random() % 27]});
      continue;
    }
    const Shape& shape = kShapes[random() % shapes];
    std::string number = validNumber(shape, random);
    if (number.empty()) continue;
    std::string uf = shape.uf;
    if (kind < 40) {
      // One digit typed wrong.
      std::size_t at = random() % number.size();
      if (number[at] == 'P') at = number.size() - 1;
      number[at] = static_cast<char>('0' + (number[at] - '0' + 1 + random() % 9) % 10);
    } else if (kind < 48) {
      uf = states[random() % 27];  // under another state, mostly invalid
    }
    if (random() % 2) number = formatted(number, random);
    mix.push_back({number, uf});
  }
  return mix;
}

// ---------------------------------------------------------------------------
// The peer: the shape by a regular expression per state on the digits, then
// the check digits by the weight rows.
// ---------------------------------------------------------------------------

constexpr int kPeerWeights[15][15] = {
    {0},
    {0, 0, 2, 3, 4, 5, 6, 7, 8, 9, 2, 3, 4, 5, 6},  {0, 0, 0, 2, 3, 4, 5, 6, 7, 8, 9, 2, 3, 4, 5},
    {0, 2, 0, 3, 4, 5, 6, 7, 8, 9, 2, 3, 4, 5, 6},  {0, 0, 2, 3, 4, 5, 6, 0, 0, 0, 0, 0, 0, 0, 0},
    {0, 0, 8, 7, 6, 5, 4, 3, 2, 1, 0, 0, 0, 0, 0},  {0, 0, 2, 3, 4, 5, 6, 7, 0, 0, 8, 9, 0, 0, 0},
    {0, 0, 2, 3, 4, 5, 6, 7, 8, 9, 1, 2, 3, 4, 5},  {0, 0, 2, 3, 4, 5, 6, 7, 2, 3, 4, 5, 6, 7, 8},
    {0, 0, 0, 2, 3, 4, 5, 6, 7, 2, 3, 4, 5, 6, 7},  {0, 0, 0, 2, 1, 2, 1, 2, 1, 2, 1, 1, 2, 1, 0},
    {0, 0, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 2, 3, 0}, {0, 0, 0, 0, 0, 10, 8, 7, 6, 5, 4, 3, 1, 0, 0},
    {0, 0, 2, 3, 4, 5, 6, 7, 8, 9, 10, 2, 3, 0, 0}, {0, 0, 0, 2, 3, 4, 5, 6, 7, 8, 3, 4, 5, 6, 7},
};

struct PeerCalc {
  const char* type;
  int modulus;  // 0: BA's, chosen from the number
  int row;
};

struct PeerRule {
  const char* uf;
  int digits;  // the reduced length it applies to; 0 any; -1 SP with "P", -2 SP without
  int n;
  const char* regex;
  int x, y;  // positions of the check digits (-1: none)
  PeerCalc first, second;
  int value10, value11;
};

const PeerRule kPeerRules[] = {
    {"AC", 9, 9, "^01\\d{7}$", 8, -1, {"E", 11, 1}, {"", 0, 0}, 0, 0},
    {"AC", 13, 13, "^01\\d{11}$", 11, 12, {"E", 11, 2}, {"E", 11, 1}, 0, 0},
    {"AL", 0, 9, "^24\\d{7}$", 8, -1, {"BD", 11, 1}, {"", 0, 0}, 0, 0},
    {"AP", 9, 9, "^03\\d{7}$", 8, -1, {"CE", 11, 1}, {"", 0, 0}, 0, 0},
    {"AM", 0, 9, "^\\d{9}$", 8, -1, {"E", 11, 1}, {"", 0, 0}, 0, 0},
    {"BA", 0, 9, "^\\d{9}$", 8, 7, {"E", 0, 2}, {"E", 0, 3}, 0, 0},
    {"CE", 0, 9, "^0\\d{8}$", 8, -1, {"E", 11, 1}, {"", 0, 0}, 0, 0},
    {"DF", 0, 13, "^0[78]\\d{11}$", 11, 12, {"E", 11, 2}, {"E", 11, 1}, 0, 0},
    {"ES", 0, 9, "^\\d{9}$", 8, -1, {"E", 11, 1}, {"", 0, 0}, 0, 0},
    {"GO", 0, 9, "^(10|11|2\\d)\\d{7}$", 8, -1, {"E", 11, 1}, {"", 0, 0}, 0, 0},
    {"MA", 0, 9, "^12\\d{7}$", 8, -1, {"E", 11, 1}, {"", 0, 0}, 0, 0},
    {"MT", 0, 11, "^\\d{11}$", 10, -1, {"E", 11, 1}, {"", 0, 0}, 0, 0},
    {"MS", 0, 9, "^28\\d{7}$", 8, -1, {"E", 11, 1}, {"", 0, 0}, 0, 0},
    {"MG", 0, 13, "^\\d{13}$", 11, 12, {"AE", 10, 10}, {"E", 11, 11}, 0, 0},
    {"PA", 0, 9, "^15\\d{7}$", 8, -1, {"E", 11, 1}, {"", 0, 0}, 0, 0},
    {"PB", 0, 9, "^16\\d{7}$", 8, -1, {"E", 11, 1}, {"", 0, 0}, 0, 0},
    {"PR", 0, 10, "^\\d{10}$", 8, 9, {"E", 11, 9}, {"E", 11, 8}, 0, 0},
    {"PE", 14, 14, "^18[1-9]\\d{11}$", 13, -1, {"E", 11, 7}, {"", 0, 0}, 0, 1},
    {"PE", 9, 9, "^\\d{9}$", 7, 8, {"E", 11, 14}, {"E", 11, 7}, 0, 0},
    {"PI", 0, 9, "^19\\d{7}$", 8, -1, {"E", 11, 1}, {"", 0, 0}, 0, 0},
    {"RJ", 0, 8, "^[1789]\\d{7}$", 7, -1, {"E", 11, 8}, {"", 0, 0}, 0, 0},
    {"RN", 9, 9, "^20\\d{7}$", 8, -1, {"BD", 11, 1}, {"", 0, 0}, 0, 0},
    {"RN", 10, 10, "^20\\d{8}$", 9, -1, {"BD", 11, 11}, {"", 0, 0}, 0, 0},
    {"RS", 0, 10, "^\\d{10}$", 9, -1, {"E", 11, 1}, {"", 0, 0}, 0, 0},
    {"RO", 9, 9, "^[1-9]\\d{8}$", 8, -1, {"E", 11, 4}, {"", 0, 0}, 0, 1},
    {"RO", 14, 14, "^\\d{14}$", 13, -1, {"E", 11, 1}, {"", 0, 0}, 0, 1},
    {"RR", 0, 9, "^24\\d{7}$", 8, -1, {"D", 9, 5}, {"", 0, 0}, 0, 0},
    {"SC", 0, 9, "^\\d{9}$", 8, -1, {"E", 11, 1}, {"", 0, 0}, 0, 0},
    {"SE", 0, 9, "^\\d{9}$", 8, -1, {"E", 11, 1}, {"", 0, 0}, 0, 0},
    {"SP", -2, 12, "^\\d{12}$", 8, 11, {"D", 11, 12}, {"D", 11, 13}, 0, 0},
    {"SP", -1, 13, "^P\\d{12}$", 9, -1, {"D", 11, 12}, {"", 0, 0}, 0, 0},
    {"TO", 11, 11, "^29[09][1239]\\d{7}$", 10, -1, {"E", 11, 6}, {"", 0, 0}, 0, 0},
    {"TO", 0, 9, "^\\d{9}$", 8, -1, {"E", 11, 1}, {"", 0, 0}, 0, 0},
};
constexpr std::size_t kPeerRuleCount = sizeof(kPeerRules) / sizeof(kPeerRules[0]);

int peerDigit(const std::string& number, const PeerCalc& calc, int modulus, int value10, int value11, bool plusP) {
  const std::string_view type = calc.type;
  const bool a = type.find('A') != std::string_view::npos, b = type.find('B') != std::string_view::npos;
  const bool c = plusP && type.find('C') != std::string_view::npos, e = type.find('E') != std::string_view::npos;
  long sum = 0;
  const int n = static_cast<int>(number.size());
  for (int i = 0; i < n; ++i) {
    if (number[i] < '0' || number[i] > '9') continue;
    const int product = (number[i] - '0') * kPeerWeights[calc.row][n - i];
    sum += product + (a ? product / 10 : 0);
  }
  if (!a && b) sum *= 10;
  else if (!a && !b && c) sum += 5 + 4 * value11;
  const int remainder = static_cast<int>(sum % modulus);
  int digit = e ? modulus - remainder : remainder;
  if (digit == 10) digit = value10;
  if (digit == 11) digit = value11;
  return digit;
}

// The reduced digits of the typed text ("P" kept first), or false when it is
// "ISENTO" (answer true) or cannot be a number (answer false).
template <typename Match>
bool peerValidaIE(const std::string& typed, const std::string& uf, const Match& matches) {
  std::size_t from = typed.find_first_not_of(" \t\r\n"), to = typed.find_last_not_of(" \t\r\n");
  const std::string trimmed = from == std::string::npos ? "" : typed.substr(from, to - from + 1);
  if (trimmed.size() == 6) {
    std::string upper = trimmed;
    for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    if (upper == "ISENTO") return true;
  }
  std::string number;
  for (std::size_t i = 0; i < trimmed.size(); ++i)
    if ((trimmed[i] >= '0' && trimmed[i] <= '9') || (i == 0 && trimmed[i] == 'P')) number += trimmed[i];
  if (number.size() < 2) return false;
  for (std::size_t r = 0; r < kPeerRuleCount; ++r) {
    const PeerRule& rule = kPeerRules[r];
    if (uf != rule.uf) continue;
    if (rule.digits > 0 && static_cast<int>(number.size()) != rule.digits) continue;
    if (rule.digits == -1 && number[0] != 'P') continue;
    if (rule.digits == -2 && number[0] == 'P') continue;
    int modulus1 = rule.first.modulus, modulus2 = rule.second.modulus, value10 = rule.value10,
        value11 = rule.value11;
    bool plusP = true;
    if (uf == "AP") {
      if (number >= "030170010" && number <= "030190229") value11 = 1;
      else if (number >= "030190230") plusP = false;
    }
    if (uf == "GO" && number.size() == 9 && number >= "101031050" && number <= "101199979") value10 = 1;
    if (static_cast<int>(number.size()) < rule.n) number.insert(0, static_cast<std::size_t>(rule.n) - number.size(), '0');
    if (uf == "BA") modulus1 = modulus2 = (number[1] <= '5' || number[1] == '8') ? 10 : 11;
    if (!matches(r, number)) return false;
    if (peerDigit(number, rule.first, modulus1, value10, value11, plusP) != number[rule.x] - '0') return false;
    if (rule.y >= 0 && peerDigit(number, rule.second, modulus2, value10, value11, plusP) != number[rule.y] - '0')
      return false;
    return true;
  }
  return false;
}

class StdRegexPeer {
public:
  StdRegexPeer() {
    for (const PeerRule& rule : kPeerRules) patterns_.emplace_back(rule.regex, std::regex::optimize);
  }
  bool operator()(std::size_t rule, const std::string& number) const { return std::regex_match(number, patterns_[rule]); }

private:
  std::vector<std::regex> patterns_;
};

#ifdef VT_BENCH_PCRE2
class Pcre2Peer {
public:
  Pcre2Peer() {
    for (const PeerRule& rule : kPeerRules) {
      int error = 0;
      PCRE2_SIZE offset = 0;
      pcre2_code* code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(rule.regex), PCRE2_ZERO_TERMINATED, 0, &error,
                                       &offset, nullptr);
      if (!code) {
        std::fprintf(stderr, "bad peer pattern %s\n", rule.regex);
        std::exit(1);
      }
      jit_ = pcre2_jit_compile(code, PCRE2_JIT_COMPLETE) == 0 && jit_;
      codes_.push_back(code);
    }
    data_ = pcre2_match_data_create(4, nullptr);
  }
  ~Pcre2Peer() {
    pcre2_match_data_free(data_);
    for (pcre2_code* code : codes_) pcre2_code_free(code);
  }
  Pcre2Peer(const Pcre2Peer&) = delete;
  Pcre2Peer& operator=(const Pcre2Peer&) = delete;
  bool operator()(std::size_t rule, const std::string& number) const {
    const auto* subject = reinterpret_cast<PCRE2_SPTR>(number.data());
    const int rc = jit_ ? pcre2_jit_match(codes_[rule], subject, number.size(), 0, 0, data_, nullptr)
                        : pcre2_match(codes_[rule], subject, number.size(), 0, 0, data_, nullptr);
    return rc >= 0;
  }
  bool jit() const { return jit_; }

private:
  std::vector<pcre2_code*> codes_;
  pcre2_match_data* data_ = nullptr;
  bool jit_ = true;
};
#endif

// ---------------------------------------------------------------------------
// Measuring.
// ---------------------------------------------------------------------------

double gSeconds = 0.5;

// Runs pass() over the inputs until the measuring time has passed (at most
// 1,000,000 passes); returns calls per second. pass() returns a value folded
// into a sink so the work cannot be dropped.
template <typename Pass>
double perSecond(std::size_t inputsPerPass, Pass pass) {
  volatile long sink = 0;
  long passes = 0;
  const auto start = Clock::now();
  auto elapsed = Clock::duration::zero();
  do {
    sink = sink + pass();
    ++passes;
    elapsed = Clock::now() - start;
  } while (elapsed < std::chrono::duration<double>(gSeconds) && passes < 1000000);
  const double seconds = std::chrono::duration<double>(elapsed).count();
  return static_cast<double>(passes) * static_cast<double>(inputsPerPass) / seconds;
}

template <typename Check>
long agreeing(const std::vector<Registration>& mix, Check check) {
  long same = 0;
  for (const auto& r : mix) same += check(r) == StateRegistrationRules::validaIE(r.number, r.uf);
  return same;
}

const std::vector<std::string> kCpfs = {"529.982.247-25", "123.456.789-09", "52998224724", "111.111.111-11",
                                        "000.000.001-91", "98765432100",    "529.982.247-2"};

const std::vector<std::string> kCnpjs = {"11.222.333/0001-81", "60.701.190/0001-04", "33.000.167/0001-01",
                                         "11.222.333/0001-80", "00000000000000",     "1122233300018"};

int digitSum(const std::string& text) {
  int sum = 0;
  for (char c : text)
    if (c >= '0' && c <= '9') sum += c - '0';
  return sum;
}

} // namespace

int main(int argc, char** argv) {
  using vt::rules::DocumentRules;
  for (int i = 1; i + 1 < argc; i += 2)
    if (std::strcmp(argv[i], "--seconds") == 0) gSeconds = std::max(0.05, std::atof(argv[i + 1]));

  const std::vector<Registration> mix = makeMix(4096);
  long valid = 0, formattedCount = 0;
  for (const auto& r : mix) {
    valid += StateRegistrationRules::validaIE(r.number, r.uf);
    formattedCount += r.number.find_first_of(".-/") != std::string::npos;
  }
  std::printf("validaIE mix: %zu numbers of 27 states, %ld valid, %ld formatted, blanks and ISENTO among them\n\n",
              mix.size(), valid, formattedCount);

  const double ie = perSecond(mix.size(), [&] {
    long n = 0;
    for (const auto& r : mix) n += StateRegistrationRules::validaIE(r.number, r.uf);
    return n;
  });
  std::printf("%-34s %14.0f /s\n", "validaIE", ie);
  {
    const double rate = perSecond(mix.size(), [&] {
      long n = 0;
      for (const auto& r : mix) n += vt::rules::reference::validaIE(r.number, r.uf);
      return n;
    });
    std::printf("%-34s %14.0f /s   validaIE/earlier %4.2f   agrees on %ld of %zu\n", "earlier form (table walk)", rate,
                ie / rate, agreeing(mix, [](const Registration& r) { return vt::rules::reference::validaIE(r.number, r.uf); }),
                mix.size());
  }

#ifdef VT_BENCH_PCRE2
  {
    const Pcre2Peer pcre;
    auto check = [&](const Registration& r) { return peerValidaIE(r.number, r.uf, pcre); };
    const double rate = perSecond(mix.size(), [&] {
      long n = 0;
      for (const auto& r : mix) n += check(r);
      return n;
    });
    std::printf("%-34s %14.0f /s   validaIE/peer %6.2f   agrees on %ld of %zu\n",
                pcre.jit() ? "peer: regex table, PCRE2 (JIT)" : "peer: regex table, PCRE2", rate, ie / rate,
                agreeing(mix, check), mix.size());
  }
#endif
  {
    const StdRegexPeer regex;
    auto check = [&](const Registration& r) { return peerValidaIE(r.number, r.uf, regex); };
    const double saved = gSeconds;
    gSeconds = std::min(gSeconds, 0.3);  // the slow peer needs less time for a steady figure
    const double rate = perSecond(mix.size(), [&] {
      long n = 0;
      for (const auto& r : mix) n += check(r);
      return n;
    });
    gSeconds = saved;
    std::printf("%-34s %14.0f /s   validaIE/peer %6.2f   agrees on %ld of %zu\n", "peer: regex table, std::regex", rate,
                ie / rate, agreeing(mix, check), mix.size());
  }

  const double cpf = perSecond(kCpfs.size(), [] {
    long n = 0;
    for (const auto& s : kCpfs) n += DocumentRules::validaCPF(s);
    return n;
  });
  const double cpfPeer = perSecond(kCpfs.size(), [] {
    long sum = 0;
    for (const auto& s : kCpfs) sum += digitSum(s);
    return sum;
  });
  const double cnpj = perSecond(kCnpjs.size(), [] {
    long n = 0;
    for (const auto& s : kCnpjs) n += DocumentRules::validaCNPJ(s);
    return n;
  });
  const double cnpjPeer = perSecond(kCnpjs.size(), [] {
    long sum = 0;
    for (const auto& s : kCnpjs) sum += digitSum(s);
    return sum;
  });
  std::printf("\n%-34s %14.0f /s   digit-sum peer %14.0f /s   peer/validator %5.2f\n", "validaCPF", cpf, cpfPeer,
              cpfPeer / cpf);
  std::printf("%-34s %14.0f /s   digit-sum peer %14.0f /s   peer/validator %5.2f\n", "validaCNPJ", cnpj, cnpjPeer,
              cnpjPeer / cnpj);
  return 0;
}
