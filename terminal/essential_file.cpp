#include "terminal/essential_file.h"

#include <chrono>
#include <climits>
#include <random>

#include "platform/encoding.h"
#include "terminal/report_names.h"
#include "utils/text.h"

namespace vt {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

void appendHex(std::string& out, int value) {
  out += kHexDigits[(value >> 4) & 0xF];
  out += kHexDigits[value & 0xF];
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The UTF-16 units of a UTF-8 text: the cipher works on 16-bit character codes.
std::u16string utf16Units(std::string_view text) {
  std::u16string units;
  for (std::size_t pos = 0; pos < text.size();) {
    const char32_t cp = platform::decodeUtf8(text, pos);
    if (cp < 0x10000) {
      units += static_cast<char16_t>(cp);
    } else {
      units += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
      units += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
    }
  }
  return units;
}

// Key positions run 1..94 and then start again at 1.
int nextKeyPosition(int k) { return k < static_cast<int>(kEssentialCipherKey.size()) ? k + 1 : 1; }
int keyCode(int k) { return static_cast<unsigned char>(kEssentialCipherKey[static_cast<std::size_t>(k - 1)]); }

bool isBlankOrControl(char c) { return static_cast<unsigned char>(c) <= ' '; }

// The separators the date text uses: the regional ones unless they would break
// the text apart or run into its digits.
platform::RegionalFormats dateTextFormats(platform::RegionalFormats formats) {
  const auto usable = [](char c) {
    return !isBlankOrControl(c) && !(c >= '0' && c <= '9') &&
           std::string_view("*;|\"\\").find(c) == std::string_view::npos;
  };
  if (!usable(formats.dateSeparator)) formats.dateSeparator = '/';
  if (!usable(formats.timeSeparator)) formats.timeSeparator = ':';
  return formats;
}

std::string digits(int value, int width) {
  std::string text = std::to_string(value);
  if (static_cast<int>(text.size()) < width) text.insert(0, static_cast<std::size_t>(width) - text.size(), '0');
  return text;
}

std::string quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

// Rows as the essential file stores them: a company row is its handle alone,
// a report row its four fields with the date to the second, as in its text.
bool sameStoredRow(const ReportRow& a, const ReportRow& b, const platform::RegionalFormats& formats) {
  if (a.HANDLE != b.HANDLE) return false;
  if (a.FILENAME.empty() || b.FILENAME.empty()) return a.FILENAME.empty() && b.FILENAME.empty();
  return a.FILENAME == b.FILENAME && a.DIRETORIO == b.DIRETORIO &&
         essentialDateText(a.DATAALT.value_or(0), formats) == essentialDateText(b.DATAALT.value_or(0), formats);
}

} // namespace

// ---- Cipher ----------------------------------------------------------------

std::string encipherText(std::string_view plain, int startValue) {
  const std::u16string units = utf16Units(plain);
  std::string out;
  out.reserve(2 + 2 * units.size());
  appendHex(out, startValue & 0xFF);
  int previous = startValue & 0xFF;
  int k = 0;
  for (const char16_t code : units) {
    k = nextKeyPosition(k);
    const int v = ((previous + code) % 255) ^ keyCode(k);
    appendHex(out, v);
    previous = v;
  }
  return out;
}

int randomStartValue() {
  std::uniform_int_distribution<int> startValues(0, 255);
  try {
    std::random_device device;
    return startValues(device);
  } catch (const std::exception&) {
    // No random device on this machine: a generator seeded from the clock.
    std::mt19937 generator(static_cast<std::mt19937::result_type>(
        std::chrono::high_resolution_clock::now().time_since_epoch().count()));
    return startValues(generator);
  }
}

std::string decipherText(std::string_view text) {
  if (text.size() < 3) return {};
  const int hi = hexDigit(text[0]), lo = hexDigit(text[1]);
  if (hi < 0 || lo < 0) return {};
  int previous = hi * 16 + lo;
  int k = 0;
  std::string plain;
  std::size_t i = 2;
  do {
    int v;
    if (text.size() - i >= 2) {
      const int h = hexDigit(text[i]), l = hexDigit(text[i + 1]);
      if (h < 0 || l < 0) return {};
      v = h * 16 + l;
    } else { // the third character of a three-character input
      v = hexDigit(text[i]);
      if (v < 0) return {};
    }
    k = nextKeyPosition(k);
    const int t = v ^ keyCode(k);
    // The sum is taken modulo 255, so after a value of 255 both a character
    // 255 and a character 0 encipher to the same value; texts hold no
    // character 0, so it reads as 255.
    int code = t > previous ? t - previous : t - previous + 255;
    if (code == 0) code = 255;
    platform::appendUtf8(plain, static_cast<char32_t>(code));
    previous = v;
    i += 2;
  } while (i + 1 < text.size()); // a single digit left at the end is ignored
  return plain;
}

std::size_t essentialStoredLength(std::string_view plain) { return 2 + 2 * utf16Units(plain).size(); }

// ---- Splitting rule ----------------------------------------------------------

std::vector<std::string> splitEssentialItems(std::string_view text, char separator) {
  std::vector<std::string> items;
  std::size_t p = 0;
  const std::size_t n = text.size();
  const auto skipBlanks = [&] {
    while (p < n && isBlankOrControl(text[p])) ++p;
  };
  skipBlanks();
  while (p < n) {
    std::string item;
    if (text[p] == '"') {
      for (++p; p < n; ++p) {
        if (text[p] != '"') {
          item += text[p];
        } else if (p + 1 < n && text[p + 1] == '"') {
          item += '"';
          ++p;
        } else {
          ++p;
          break;
        }
      }
    } else {
      const std::size_t begin = p;
      while (p < n && !isBlankOrControl(text[p]) && text[p] != separator) ++p;
      item.assign(text.substr(begin, p - begin));
    }
    items.push_back(std::move(item));
    skipBlanks();
    if (p < n && text[p] == separator) {
      if (p + 1 == n) items.emplace_back();
      ++p;
      skipBlanks();
    }
  }
  return items;
}

// ---- Date text -----------------------------------------------------------------

std::string essentialDateText(utils::TDateTime value, const platform::RegionalFormats& regional) {
  const platform::RegionalFormats formats = dateTextFormats(regional);
  const utils::DateTimeParts p = utils::decodeDateTime(value);
  const std::string day = digits(p.day, 2), month = digits(p.month, 2), year = digits(p.year, 4);
  const char sep = formats.dateSeparator;
  std::string text;
  // The order the reading takes too: the first of day, month or year (or era year) in the picture.
  const std::size_t first = formats.shortDateFormat.find_first_of("dDmMyYeE");
  const char lead = first == std::string::npos ? 'M' : formats.shortDateFormat[first];
  const bool yearFirst = lead == 'y' || lead == 'Y' || lead == 'e' || lead == 'E';
  if (lead == 'd' || lead == 'D') text = day + sep + month + sep + year;
  else if (yearFirst) text = year + sep + month + sep + day;
  else text = month + sep + day + sep + year;
  if (utils::timeOf(value) != 0) {
    // Only a four-digit year ends before the time's first digit; a day at the
    // end of the date would take the hour's digits in, so a "T" parts them.
    if (yearFirst) text += 'T';
    const char tsep = formats.timeSeparator;
    text += digits(p.hour, 2) + tsep + digits(p.minute, 2) + tsep + digits(p.second, 2);
  }
  return text;
}

bool readEssentialDate(std::string_view text, const platform::RegionalFormats& formats, utils::TDateTime& value) {
  return utils::tryTextToDateTime(text, dateTextFormats(formats), value);
}

// ---- Plain text ------------------------------------------------------------------

std::string essentialPlainText(const std::vector<ReportRow>& rows, const platform::RegionalFormats& formats) {
  std::string plain;
  // The first row always opens a group, whatever its handle (handle 0 too).
  bool firstRow = true;
  int previous = 0;
  for (const ReportRow& row : rows) {
    if (firstRow || row.HANDLE != previous) {
      if (!firstRow) plain += '*';
      plain += std::to_string(row.HANDLE);
    }
    if (!row.FILENAME.empty())
      plain += ";" + row.FILENAME + "|" + row.DIRETORIO + "|" + essentialDateText(row.DATAALT.value_or(0), formats);
    previous = row.HANDLE;
    firstRow = false;
  }
  return plain;
}

DecodedEssentialFile parseEssentialPlainText(std::string_view plain, const platform::RegionalFormats& formats) {
  DecodedEssentialFile decoded;
  const std::vector<std::string> groups = splitEssentialItems(plain, '*');
  for (std::size_t g = 0; g < groups.size(); ++g) {
    const std::string where = "grupo " + std::to_string(g + 1);
    const std::vector<std::string> parts = splitEssentialItems(groups[g], ';');
    if (parts.empty()) {
      decoded.error = "O arquivo essencial está danificado: o " + where + " está vazio.";
      return decoded;
    }
    const auto handle = utils::parseIntegerText(parts[0], INT_MIN, INT_MAX);
    if (!handle) {
      decoded.error = "O arquivo essencial está danificado: o handle " + quoted(parts[0]) + " do " + where +
                      " não é um número inteiro.";
      return decoded;
    }
    ReportRow company;
    company.HANDLE = static_cast<int>(*handle);
    if (parts.size() == 1) {
      decoded.rows.push_back(std::move(company));
      continue;
    }
    for (std::size_t r = 1; r < parts.size(); ++r) {
      const std::vector<std::string> values = splitEssentialItems(parts[r], '|');
      if (values.size() < 3) {
        decoded.error = "O arquivo essencial está danificado: o relatório " + quoted(parts[r]) + " do handle " +
                        std::to_string(company.HANDLE) + " não traz nome, pasta e data.";
        return decoded;
      }
      std::string dateText = values[2];
      std::erase(dateText, '\\');
      utils::TDateTime date;
      if (!readEssentialDate(dateText, formats, date)) {
        decoded.error = "O arquivo essencial está danificado: a data " + quoted(values[2]) + " do relatório " +
                        quoted(values[0]) + " do handle " + std::to_string(company.HANDLE) + " não é válida.";
        return decoded;
      }
      decoded.rows.push_back(ReportRow{company.HANDLE, values[0], values[1], date});
    }
  }
  return decoded;
}

bool composeEssentialFile(const ReportTable& table, const platform::RegionalFormats& formats, std::string& plain,
                          std::string& AError) {
  if (table.IsEmpty()) {
    AError = kEssentialEmptyTableError;
    return false;
  }
  std::string text = essentialPlainText(table.Rows(), formats);
  // A stored text the Config.ini read would cut short could not be read back:
  // writing it would lose the registration, so the stored value is kept.
  const std::size_t stored = essentialStoredLength(text);
  if (stored > kEssentialStoredLimit) {
    AError = "O arquivo essencial cifrado teria " + std::to_string(stored) + " caracteres, mais que os " +
             std::to_string(kEssentialStoredLimit) + " que o Config.ini devolve na leitura; ele não foi gravado.";
    return false;
  }
  plain = std::move(text);
  return true;
}

std::string readEssentialPlainTextInto(ReportTable& table, std::string_view plain,
                                       const platform::RegionalFormats& formats, const LogSink& log) {
  DecodedEssentialFile decoded = parseEssentialPlainText(plain, formats);
  // The rows the table held before this read: after an import of the legacy
  // file the table already holds what the essential file was just written
  // from, and those rows must not stand twice. Only those rows count; rows
  // decoded twice from this text (groups 5, 7, 5) are all kept.
  const std::vector<ReportRow> before = table.Rows();
  for (ReportRow& row : decoded.rows) {
    if (auto refused = refusedReportValue(row.FILENAME, row.DIRETORIO)) {
      if (log) log(*refused);
      continue;
    }
    bool present = false;
    for (std::size_t i = 0; i < before.size() && !present; ++i) {
      if (sameStoredRow(before[i], row, formats)) {
        table.SetRecNo(static_cast<int>(i) + 1);
        present = true;
      }
    }
    if (!present) table.Append(std::move(row));
  }
  return decoded.error;
}

} // namespace vt
