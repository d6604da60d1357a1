#pragma once
// TdmUtilsDbOnline, the terminal-data module (instance dmUtilsDbOnline): the
// download folder's operations, and the in-memory report table that carries
// the registered companies through the run.
#include <string>

namespace vt::platform {
class Clock;
}

namespace vt {

class TdmUtils;
class TdmForms;

// The in-memory report table (cdsDados). Only its open state exists so far:
// the closing routine of the run closes it when it is open.
class ReportTable {
public:
  bool Active() const { return active_; }
  void Open() { active_ = true; }
  void Close() { active_ = false; }

private:
  bool active_ = false;
};

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

  ReportTable cdsDados;

private:
  bool DownloadLauncherPackage(const std::string& AFile);
  void step(int position, const char* text);

  TdmUtils& dmUtils_;
  TdmForms& dmForms_;
  platform::Clock& clock_;
  std::string launcherFolder_;
  std::string serverBaseAddress_;
};

} // namespace vt
