#pragma once
// State and country codes (a facet of TdmUtils): the Brazilian states' codes,
// numeric codes and names, and the country names of the fiscal country table.
// Every comparison is exact: letter case and accents count.
#include <span>
#include <string>
#include <string_view>

namespace vt::rules {

struct StateRow {
  std::string_view sigla;   // "SP"
  std::string_view codigo;  // "35"
  std::string_view nome;    // "São Paulo"
};

struct CountryRow {
  int codigo;
  std::string_view nome;
};

// The 27 states, in the table's order.
std::span<const StateRow> stateTable();
// The fiscal country table, 261 rows in its own order (some names stand under
// two codes; each code keeps its row).
std::span<const CountryRow> countryTable();

struct CodesRules {
  // The two-digit numeric code of a state ("SP" gives "35"); empty otherwise.
  static std::string codigoUF(std::string_view AUF);
  // True for the 27 state codes and "EX" (abroad).
  static bool estadoUFValido(std::string_view AUF);
  // The code of the state so named ("São Paulo" gives "SP"); empty otherwise.
  static std::string nomeEstadoToSiglaUf(std::string_view ANomeEstado);
  // "São Paulo (SP)" for "SP"; empty otherwise.
  static std::string siglaUFtoNomeEstado(std::string_view ASigla);
  // The country's name; "ERRO" for a code not in the table; for 0 the whole
  // table as an SQL query of ALS_CODPAIS and ALS_NOMEPAIS rows.
  static std::string nomePaisPorCodigo(int ACodPais);
};

} // namespace vt::rules
