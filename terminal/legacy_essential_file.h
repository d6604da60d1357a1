#pragma once
// The import of the legacy essential file, reports\queue\hofn.fr3 in the
// launcher folder: a plain JSON text that earlier launchers kept instead of
// the enciphered value in Config.ini. The main window's
// ImportLegacyEssentialFile runs this once, when the file is there, before
// the essential file is read.
//
//   {"status": "success",
//    "empresas": [{"handle": 12, "reports": [{"filename": "pedido",
//                  "diretorio": "venda", "dataalt": "15/03/2023 14:05:09"}]}]}
#include <string>
#include <string_view>

#include <nlohmann/json_fwd.hpp>

namespace vt {

class TdmUtilsDbOnline;

enum class LegacyImportOutcome {
  // The rows were added, the essential file written and the legacy file
  // deleted; AError is empty.
  Imported,
  // The file could not be read or taken apart; AError says why. Rows added
  // before the failure stay in the table; the legacy file stays in place.
  Failed,
  // The rows were added but the essential file could not be written; AError
  // holds the write's error text. The caller ends the run.
  WriteFailed,
};

// Reads the legacy file AFile (a Windows path) into the module's report table
// and writes the essential file from it. Every report becomes a row; a
// company without reports adds none, and a row with a refused name
// (report_names.h) is logged through the module and left out.
LegacyImportOutcome importLegacyEssentialFile(TdmUtilsDbOnline& dbOnline, std::string_view AFile, std::string& AError);

// The JSON text form in which the import takes each value, before it removes
// the double quotes: a string between double quotes, with a backslash before
// each double quote, backslash and slash, and \b \t \n \f \r for backspace,
// tab, line feed, form feed and carriage return (every other character as it
// is); numbers, true, false and null as written; arrays and objects compact.
std::string legacyJsonText(const nlohmann::json& value);

} // namespace vt
