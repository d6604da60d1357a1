#pragma once
// TdmUtilsDbOnline, the terminal-data module (instance dmUtilsDbOnline): the
// download folder's operations, the in-memory report table that carries the
// registered companies through the run, and the essential file that keeps
// that table in Config.ini between runs (essential_file.h).
#include <functional>
#include <string>
#include <string_view>
#include <utility>

#include "terminal/report_table.h"

namespace vt::platform {
class Clock;
}

namespace vt {

class TdmUtils;
class TdmForms;

class TdmUtilsDbOnline {
public:
  // launcherFolder: the folder of the running executable with a trailing
  // backslash; serverBaseAddress: the maker's download web server.
  TdmUtilsDbOnline(TdmUtils& dmUtils, TdmForms& dmForms, platform::Clock& clock, std::string launcherFolder,
                   std::string serverBaseAddress);
  TdmUtilsDbOnline(const TdmUtilsDbOnline&) = delete;
  TdmUtilsDbOnline& operator=(const TdmUtilsDbOnline&) = delete;

  // Empties the download folder; a file that cannot be deleted is reported
  // and skipped.
  void limpaDwd();
  // Fetches the launcher package and installs its executable in the launcher folder.
  bool processoBaixaVantorim();

  // Writes the report table into the essential file ("CONFIGURACAO" /
  // "BancoOnLine" of C:\Quorvelin\Config.ini) and clears the changed flag.
  // False with AError when the table is empty, when its stored text would be
  // longer than Config.ini reads back, or when Config.ini refuses the write
  // (the flag is then left as it was and the stored value unchanged).
  bool criaArquivoBaseOnline(std::string& AError);
  // Appends the rows of a stored text (the value of "BancoOnLine") to the
  // report table; the error text, empty on success. A text that does not
  // decipher reads as no rows. A row with a refused name is logged and left
  // out, and a row the table already held before the read (what a legacy
  // import has just put there) is not added again.
  std::string lerArquivoBaseOnline(std::string_view AArquivo);

  // Where the module's run-log lines go (the main window's WriteLogLine);
  // without a sink they are dropped.
  void setLogSink(std::function<void(std::string_view)> sink) { logSink_ = std::move(sink); }
  void logLine(std::string_view entry) const {
    if (logSink_) logSink_(entry);
  }

  ReportTable cdsDados;

private:
  // A start value drawn afresh at every call.
  std::string EncipherText(std::string_view AText) const;
  std::string DecipherText(std::string_view AText) const;

  bool DownloadLauncherPackage(const std::string& AFile);
  void step(int position, const char* text);

  TdmUtils& dmUtils_;
  TdmForms& dmForms_;
  platform::Clock& clock_;
  std::string launcherFolder_;
  std::string serverBaseAddress_;
  std::function<void(std::string_view)> logSink_;
};

} // namespace vt
