// The essential file on hostile stored texts: the decipher, the splitting
// rule, the date texts under several regional formats and the read into the
// report table, the way the run reads "BancoOnLine" (lerArquivoBaseOnline);
// then the write's composition from whatever rows came out. The same bytes
// are also read as a plain text, so the parser is reached without the
// cipher around it. It stops when a plain text of character codes 1 to 255
// does not come back unchanged through the cipher.
#include <cstdint>
#include <string>
#include <vector>

#include "dialogs/forms.h"
#include "dmutils/dm_utils.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/terminal_modules.h"
#include "platform/clock.h"
#include "platform/encoding.h"
#include "platform/regional.h"
#include "terminal/essential_file.h"
#include "terminal/utils_db_online.h"

namespace {

std::vector<vt::platform::RegionalFormats> regionalVariants() {
  vt::platform::RegionalFormats brazil = vt::platform::brazilianFormats();
  vt::platform::RegionalFormats us = brazil;
  us.shortDateFormat = "M/d/yyyy";
  us.longTimeFormat = "h:mm:ss tt";
  vt::platform::RegionalFormats iso = brazil;
  iso.shortDateFormat = "yyyy-MM-dd";
  iso.dateSeparator = '-';
  vt::platform::RegionalFormats odd = brazil;
  odd.shortDateFormat = "d.M.yy";
  odd.dateSeparator = ' ';
  odd.timeSeparator = '1';
  return {brazil, us, iso, odd};
}

void readAndCompose(std::string_view plain, const vt::platform::RegionalFormats& formats) {
  vt::ReportTable table;
  table.CreateDataSet();
  (void)vt::readEssentialPlainTextInto(table, plain, formats, [](std::string_view) {});
  std::string composed, error;
  if (vt::composeEssentialFile(table, formats, composed, error)) (void)vt::parseEssentialPlainText(composed, formats);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::vector<vt::platform::RegionalFormats> variants = regionalVariants();
  const vt::fuzz::Workspace& ws = vt::fuzz::Workspace::get();
  (void)ws;
  const std::string_view text = vt::fuzz::asText(data, size);

  // As the run reads it.
  vt::fuzz::TerminalModules modules;
  auto& [clock, ui, dmUtils, dmForms, dbOnline] = modules;
  dbOnline.cdsDados.CreateDataSet();
  (void)dbOnline.lerArquivoBaseOnline(text);

  const vt::platform::RegionalFormats& formats = variants[size % variants.size()];
  readAndCompose(vt::decipherText(text), formats);
  readAndCompose(text, formats);

  // Every character code from 1 to 255 survives the cipher.
  std::string plain;
  for (std::size_t i = 1; i < size; ++i)
    if (data[i] != 0) vt::platform::appendUtf8(plain, static_cast<char32_t>(data[i]));
  const int start = size > 0 ? data[0] : 0;
  if (vt::decipherText(vt::encipherText(plain, start)) != plain)
    vt::fuzz::broken("a plain text of codes 1 to 255 did not come back through the cipher");
  return 0;
}
