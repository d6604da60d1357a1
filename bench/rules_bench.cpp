// rules_bench: how many documents per second the point of sale can check.
//
// Prints validations per second for validaIE over a mix of states, and for
// validaCPF and validaCNPJ, each beside a trivial peer measured in the same
// run over the same inputs (a plain sum of the digits of every text), so the
// ratio says what the rules cost beyond reading the text once.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "rules/documents.h"
#include "rules/state_registration.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Registration {
  std::string number;
  std::string uf;
};

const std::vector<Registration> kRegistrations = {
    {"01.004.823/001-12", "AC"}, {"24000004-8", "AL"},        {"030123459", "AP"},
    {"04.145.871-0", "AM"},      {"123456-63", "BA"},         {"1000003-06", "BA"},
    {"06000001-5", "CE"},        {"07.300.001.001-09", "DF"}, {"99999999-0", "ES"},
    {"10.987.654-7", "GO"},      {"12000038-5", "MA"},        {"0013000001-9", "MT"},
    {"28311594-7", "MS"},        {"062.307.904/0081", "MG"},  {"15-999999-5", "PA"},
    {"167859323", "PB"},         {"123.45678-50", "PR"},      {"18.1.001.0000004-9", "PE"},
    {"199311862", "PI"},         {"99.999.99-3", "RJ"},       {"20.040.040-1", "RN"},
    {"224/3658792", "RS"},       {"101.62521-3", "RO"},       {"24006628-1", "RR"},
    {"251.040.852", "SC"},       {"110.042.490.114", "SP"},   {"P-01100424.3/002", "SP"},
    {"27123456-3", "SE"},        {"29.01.022783-6", "TO"},    {"110.042.490.115", "SP"},
    {"ISENTO", "SP"},            {"12345", "XX"},
};

const std::vector<std::string> kCpfs = {"529.982.247-25", "123.456.789-09", "52998224724", "111.111.111-11",
                                        "000.000.001-91", "98765432100",    "529.982.247-2"};

const std::vector<std::string> kCnpjs = {"11.222.333/0001-81", "60.701.190/0001-04", "33.000.167/0001-01",
                                         "11.222.333/0001-80", "00000000000000",     "1122233300018"};

// The peer: sums the digits of the text, the least any check must do.
int digitSum(const std::string& text) {
  int sum = 0;
  for (char c : text)
    if (c >= '0' && c <= '9') sum += c - '0';
  return sum;
}

// Runs pass() over the inputs until about a quarter of a second has passed;
// returns calls per second. pass() returns a value folded into a sink so the
// work cannot be dropped.
template <typename Pass>
double perSecond(std::size_t inputsPerPass, Pass pass) {
  volatile long sink = 0;
  long passes = 0;
  const auto start = Clock::now();
  auto elapsed = Clock::duration::zero();
  do {
    for (int i = 0; i < 64; ++i, ++passes) sink = sink + pass();
    elapsed = Clock::now() - start;
  } while (elapsed < std::chrono::milliseconds(250));
  const double seconds = std::chrono::duration<double>(elapsed).count();
  return static_cast<double>(passes) * static_cast<double>(inputsPerPass) / seconds;
}

void report(const char* name, double rate, double peerRate) {
  std::printf("%-32s %14.0f /s   digit-sum peer %14.0f /s   ratio %6.2f\n", name, rate, peerRate,
              peerRate / rate);
}

} // namespace

int main() {
  using vt::rules::DocumentRules;
  using vt::rules::StateRegistrationRules;

  const double ie = perSecond(kRegistrations.size(), [] {
    long valid = 0;
    for (const auto& r : kRegistrations) valid += StateRegistrationRules::validaIE(r.number, r.uf);
    return valid;
  });
  const double iePeer = perSecond(kRegistrations.size(), [] {
    long sum = 0;
    for (const auto& r : kRegistrations) sum += digitSum(r.number);
    return sum;
  });

  const double cpf = perSecond(kCpfs.size(), [] {
    long valid = 0;
    for (const auto& n : kCpfs) valid += DocumentRules::validaCPF(n);
    return valid;
  });
  const double cpfPeer = perSecond(kCpfs.size(), [] {
    long sum = 0;
    for (const auto& n : kCpfs) sum += digitSum(n);
    return sum;
  });

  const double cnpj = perSecond(kCnpjs.size(), [] {
    long valid = 0;
    for (const auto& n : kCnpjs) valid += DocumentRules::validaCNPJ(n);
    return valid;
  });
  const double cnpjPeer = perSecond(kCnpjs.size(), [] {
    long sum = 0;
    for (const auto& n : kCnpjs) sum += digitSum(n);
    return sum;
  });

  std::printf("validations per second (ratio: how many times slower than summing the digits)\n");
  report("validaIE (mixed states)", ie, iePeer);
  report("validaCPF", cpf, cpfPeer);
  report("validaCNPJ", cnpj, cnpjPeer);
  return 0;
}
