#pragma once
// The essential file: the terminal's record of the client companies it serves
// and of their custom report layouts, kept as one enciphered text in
// Config.ini ("CONFIGURACAO" / "BancoOnLine").
//
// Plain text: groups separated by "*", in table order; a group is the handle
// in decimal followed by ";" FILENAME "|" DIRETORIO "|" date text for each
// report row of that handle, e.g. "12;pedido|venda|15/03/202314:05:09*15".
// Stored text: the start value and then one value per UTF-16 unit of the plain
// text, each as two upper-case hexadecimal digits.
//
// These are the pure pieces; TdmUtilsDbOnline joins them with the report
// table and Config.ini.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/regional.h"
#include "terminal/report_table.h"
#include "utils/numbers_dates.h"

namespace vt {

// The cipher's key, 94 characters (one blank, at position 79 counting from 1).
inline constexpr std::string_view kEssentialCipherKey =
    "Q7RTPB3NVXM8CZKE2HGW5YFDLS9AJUO4BQNT6RVPX1MZCH8KEGW3YDFS7LJAU0OBTN5QRVPXMZ2CHK EGW6YDFS4LJAUOB";

// Config.ini gives back at most this many characters of a value, so a longer
// stored text would not read back whole.
inline constexpr std::size_t kEssentialStoredLimit = 2047;

// The write's error for an empty report table.
inline constexpr std::string_view kEssentialEmptyTableError =
    "As informações sobre a(s) empresa(s) não foi colhida de forma correta pelo seu Handle";

using LogSink = std::function<void(std::string_view)>;

// ---- Cipher ----------------------------------------------------------------

// Enciphers with the given start value (0..255): each UTF-16 unit c gives
// v = ((previous + c) mod 255) XOR key[k], the key cycling over its 94
// characters, the previous value starting at the start value.
std::string encipherText(std::string_view plain, int startValue);
// A start value drawn from a random source seeded afresh at each call.
int randomStartValue();
// The plain text; empty for an empty input, an input of fewer than three
// characters or one holding a pair that is not hexadecimal. A single digit
// left at the end is ignored, except in an input of exactly three characters,
// whose third character is read as a one-digit value.
std::string decipherText(std::string_view text);
// The length of the stored text for a plain text (2 + 2 per UTF-16 unit).
std::size_t essentialStoredLength(std::string_view plain);

// ---- Splitting rule ----------------------------------------------------------

// Splits at `separator`: blanks and characters below code 32 before an item
// are skipped; an item ends at the separator or at a blank or character below
// code 32 (which thus separates items too); an item that begins with a double
// quote runs to the closing one ("" inside stands for one); two separators in
// a row give an empty item, a separator at the very end a final empty item.
std::vector<std::string> splitEssentialItems(std::string_view text, char separator);

// ---- Date text -----------------------------------------------------------------

// The date text of DATAALT: day, month and year (two, two and four digits) in
// the order and with the separator of the regional short date, then, unless
// the time is exactly midnight, hours, minutes and seconds of the 24-hour
// clock joined by the regional time separator, with nothing in between:
// "15/03/202314:05:09" and "02/01/2024" in Brazil. When the date ends with
// the day rather than the year, a "T" stands before the time, which the day's
// number would otherwise run into ("2023-03-15T14:05:09"). A separator that the
// splitting rule or the reading would trip on (a blank, a control character,
// a digit, "*", ";", "|", a double quote or a backslash) is replaced by "/"
// or ":", so the text reads back under any regional settings.
std::string essentialDateText(utils::TDateTime value, const platform::RegionalFormats& formats);
// Reads a date text with the same separators: the numbers of the date in the
// regional order, each number ending once its value reaches 1000, then the
// time (hours and minutes, optional seconds); blanks between are allowed.
bool readEssentialDate(std::string_view text, const platform::RegionalFormats& formats, utils::TDateTime& value);

// ---- Plain text ------------------------------------------------------------------

// The plain text of a table's rows: a new group when the handle differs from
// the row before (so the first row always opens one), one entry per row with a
// file name. A report row without a date is written with date 0.
std::string essentialPlainText(const std::vector<ReportRow>& rows, const platform::RegionalFormats& formats);

// The rows a plain text decodes to, in order, and the error that stopped the
// decoding (empty when it went to the end). Rows decoded before an error are
// kept.
struct DecodedEssentialFile {
  std::vector<ReportRow> rows;
  std::string error;
};
DecodedEssentialFile parseEssentialPlainText(std::string_view plain, const platform::RegionalFormats& formats);

// The checks and the plain text of the write, without the write itself: false
// with AError for an empty table, or for a table whose stored text would pass
// the Config.ini read limit; otherwise true with the plain text.
bool composeEssentialFile(const ReportTable& table, const platform::RegionalFormats& formats, std::string& plain,
                          std::string& AError);

// Appends the rows of a plain text to the table; returns the read's error text
// (empty on success). A row with a refused name (report_names.h) is logged
// and left out. A decoded row equal to a row the table held before this call
// is left out too (see the definition); the cursor then goes to that row, so
// the current row is always the last one read.
std::string readEssentialPlainTextInto(ReportTable& table, std::string_view plain,
                                       const platform::RegionalFormats& formats, const LogSink& log);

} // namespace vt
