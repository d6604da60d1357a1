#include "launcher/update_applications.h"

#include <chrono>
#include <string_view>
#include <vector>

#include "dmutils/dm_utils.h"
#include "launcher/executable_swap.h"
#include "launcher/install_steps.h"
#include "launcher/run.h"
#include "launcher/run_texts.h"
#include "launcher/online_queries.h"
#include "launcher/settings.h"
#include "launcher/update_plan.h"
#include "online/dm_online.h"
#include "platform/files.h"
#include "platform/regional.h"
#include "utils/numbers_dates.h"
#include "utils/zip_archive.h"

namespace vt {
namespace {

using std::chrono::milliseconds;

// How the replacement of the executables went.
enum class Installation {
  AllInPlace,   // every staged executable of the list is installed
  SomeKept,     // a copy failed: that application keeps its previous executable
  RenameFailed, // an installed executable could not be moved aside: the update has failed
};

// How the reports step went.
enum class ReportsStep {
  NotDownloaded, // the package did not arrive: nothing after it runs
  NotExtracted,  // the package did not extract: the update has failed
  NotInPlace,    // extracted, but the new folder did not take the reports folder's place
  Swapped,       // the new reports folder is in place
};

class ApplicationUpdate {
public:
  ApplicationUpdate(VantorimRun& run, const std::string& launcherFolder, int handle, UpdatePass pass,
                    int releaseNumber)
      : run_(run), folder_(launcherFolder), dwd_(launcherFolder + "dwd"), handle_(handle),
        redundancy_(pass == UpdatePass::Redundancy), releaseNumber_(releaseNumber) {}

  bool execute() {
    buildLists();
    choosePackageFolder();
    const bool fetched = downloadAndExtract();
    std::vector<std::string> install = downloads_;
    install.insert(install.end(), staged_.begin(), staged_.end());
    removeApplicationsNoLongerUsed(install);
    const Installation installation = replaceExecutables(install);
    const std::string bancos = std::string(kInstallRoot) + "boletobancario\\bancos";
    if (platform::directoryExists(bancos)) TdmUtils::deletarDiretorio(bancos);
    // The redundancy pass leaves the reports alone.
    const ReportsStep reports = redundancy_ ? ReportsStep::Swapped : updateReports();
    if (reports == ReportsStep::NotDownloaded) return false;
    // The journal goes once everything it names is done.
    if (installation == Installation::AllInPlace && reports == ReportsStep::Swapped) removeInstallJournal(folder_);
    return fetched && installation != Installation::RenameFailed && reports != ReportsStep::NotExtracted;
  }

  // The reports swap an interrupted update journalled, from its packages' folder.
  bool finishReports(const std::string& serverFolder) {
    serverFolder_ = serverFolder;
    return updateReports() == ReportsStep::Swapped;
  }

private:
  void log(const std::string& text) { run_.WriteLogLine(text); }
  void advance(int64_t by, std::string_view text = "") { run_.ShowStatus(text, 0, 0, by); }
  void wait(int ms) { run_.pause(milliseconds(ms)); }
  std::string staged(const std::string& name) const { return dwd_ + "\\" + name + ".exe"; }
  std::string installed(const std::string& name) const { return folder_ + name + ".exe"; }

  // The prescribed version, then each application the company uses goes to
  // the staged list when the download folder holds its executable at that
  // version, to the download list otherwise.
  void buildLists() {
    OnlineQuery& query = run_.dmOnline.qryTwoLine;
    runQuery(query, "select SCO_VERSAO, SEGMENTO_EMPRESA from tabclientes where HANDLE = :vp1", handle_);
    const bool found = query.RecordCount() > 0;
    const std::string prescribed = found ? fieldText(query, "SCO_VERSAO") : std::string();
    const std::string segment = found ? fieldText(query, "SEGMENTO_EMPRESA") : std::string();

    runQuery(query, "select CODMODULO from tabscoclientesmodulos where CODCLI = :vp1 order by CODMODULO", handle_);
    std::vector<int> modules;
    for (query.First(); !query.Eof(); query.Next()) modules.push_back(query.FieldAsInteger("CODMODULO"));

    const std::string prescribedDigits = TdmUtils::soNumericos(prescribed);
    for (const std::string& name : applicationsTaken(segment, modules)) {
      const std::string exe = staged(name);
      const bool ready =
          platform::fileExists(exe) && TdmUtils::soNumericos(TdmUtils::GetExeVersion(exe)) == prescribedDigits;
      (ready ? staged_ : downloads_).push_back(name);
    }
  }

  // The company's version against the reference client's picks the server
  // folder; a release build overrides both.
  void choosePackageFolder() {
    OnlineQuery& query = run_.dmOnline.qryTwoLine;
    runQuery(query, "select SCO_VERSAO from tabclientes where HANDLE = 53");
    const int reference = versionValue(query.RecordCount() > 0, fieldText(query, "SCO_VERSAO"));
    runQuery(query, "select SCO_VERSAO from tabclientes where HANDLE = :vp", handle_, "vp");
    const int client = versionValue(query.RecordCount() > 0, fieldText(query, "SCO_VERSAO"));

    const PackageFolder choice = vt::choosePackageFolder(reference, client, releaseNumber_);
    const std::string compared = "compara a versao base (" + std::to_string(reference) +
                                 ") com a versão do cliente (" + std::to_string(client) + ") são ";
    if (choice.samePrefix)
      log(compared + "iguais, serão baixados os arquivos atuais");
    else
      log(compared + "diferentes, serão baixados os arquivos da versão do cliente");
    if (choice.release) {
      const std::string stars(28, '*');
      log(stars);
      log("identificada versão release, os projetos serão baixados de: " + choice.folder);
      log(stars);
    }
    serverFolder_ = "Quorvelin/" + choice.folder + "/";
    query.Close();
  }

  // Fetches and extracts each package of the download list; the first
  // failure ends the fetching (what is staged already is still installed).
  // False after such a failure, which has been shown to the user.
  bool downloadAndExtract() {
    if (downloads_.empty()) return true;
    run_.ShowStatus("", 0, (static_cast<int64_t>(downloads_.size()) - 1) * 2, 0);
    for (const std::string& name : downloads_) {
      advance(1, "Baixando " + name + ".exe");
      log((redundancy_ ? "baixando em redundância " : "baixando ") + name + ".exe");
      const std::string package = dwd_ + "\\" + name + ".zip";
      if (!run_.DownloadFile(name + ".zip", "", serverFolder_, package)) return false;
      if (!utils::extractZip(package, dwd_)) {
        run_.alert(extractionFailedMessage(name + ".zip"));
        discardPackage(package);
        return false;
      }
      reachedStep(run_, stepFor(steps::kPackageExtracted, name));
      advance(1, "descompactando " + name + ".exe");
      log("descompactando " + name + ".exe");
      wait(1000);
    }
    return true;
  }

  void removeApplicationsNoLongerUsed(const std::vector<std::string>& install) {
    for (const std::string& name : applicationsToRemove(install)) {
      log("Confere se " + name + ".exe ainda existe");
      if (platform::fileExists(installed(name)) && platform::deleteFile(installed(name)))
        log(name + ".exe excluído na atualização");
      wait(500);
    }
  }

  // The journal names what is about to be installed, so a run stopped in
  // the middle (a power cut, a rename that fails) is finished by the next
  // one before it compares the versions.
  Installation replaceExecutables(const std::vector<std::string>& install) {
    InstallJournal journal;
    for (const std::string& name : install)
      if (platform::fileExists(staged(name))) journal.executables.push_back(name);
    if (!redundancy_) journal.reportsServerFolder = serverFolder_;
    if (writeInstallJournal(folder_, journal)) reachedStep(run_, steps::kJournalWritten);
    if (install.empty()) return Installation::AllInPlace;
    run_.ShowStatus("", 0, static_cast<int64_t>(install.size()), 0);
    bool allInstalled = true;
    for (const std::string& name : install) {
      if (!platform::fileExists(staged(name))) continue;
      advance(1, "Substituindo " + name);
      const SwapOutcome outcome = swapInStagedExecutable(run_, folder_, name);
      if (outcome == SwapOutcome::RenameFailed) return Installation::RenameFailed;
      allInstalled = allInstalled && outcome == SwapOutcome::Replaced;
    }
    return allInstalled ? Installation::AllInPlace : Installation::SomeKept;
  }

  // A package that failed to arrive or to extract is not reused by the next
  // update: it would fail the same way at every run.
  void discardPackage(const std::string& package) {
    if (platform::fileExists(package) && platform::deleteFile(package))
      log("O arquivo " + package + " foi excluído para ser baixado novamente na próxima atualização");
  }

  ReportsStep updateReports() {
    run_.ShowStatus("Baixando reports", 0, 100, 0);
    const std::string package = dwd_ + "\\reports.zip";
    const bool reused = platform::fileExists(package);
    if (!reused && !run_.DownloadFile("reports.zip", "", serverFolder_, package)) {
      discardPackage(package);
      return ReportsStep::NotDownloaded;
    }
    advance(50, "Descompactando nova reports");
    log("Descompactando nova reports");
    const std::string newReports = dwd_ + "\\reports";
    bool extracted = static_cast<bool>(utils::extractZip(package, dwd_));
    if (!extracted && reused) {
      // What an earlier run left (a download cut short by a power cut) is
      // fetched anew once before the package counts as broken.
      discardPackage(package);
      if (!run_.DownloadFile("reports.zip", "", serverFolder_, package)) {
        discardPackage(package);
        return ReportsStep::NotDownloaded;
      }
      extracted = static_cast<bool>(utils::extractZip(package, dwd_));
    }
    if (!extracted) {
      run_.alert(extractionFailedMessage("reports.zip"));
      discardPackage(package);
      // What a broken package left there must not take the place of a whole
      // reports folder.
      if (platform::directoryExists(newReports)) TdmUtils::deletarDiretorio(newReports);
    }
    advance(90);

    run_.ShowStatus("Trocando reports", 0, 100, 0);
    log("Trocando arquivos entre as duas reports");
    wait(2000);
    if (platform::directoryExists(newReports)) swapReports(newReports);
    if (!extracted) return ReportsStep::NotExtracted;
    const bool inPlace = !platform::directoryExists(newReports) && platform::directoryExists(folder_ + "reports");
    return inPlace ? ReportsStep::Swapped : ReportsStep::NotInPlace;
  }

  void swapReports(const std::string& newReports) {
    const auto now = utils::nowDateTime(run_.clock);
    const platform::RegionalFormats formats = platform::userRegionalFormats();
    const std::string backup = folder_ + "reports" +
                               TdmUtils::soNumericos(utils::formatDateTime(formats.shortDateFormat, now)) +
                               TdmUtils::soNumericos(utils::formatDateTime(formats.longTimeFormat, now));
    const std::string current = folder_ + "reports";

    advance(50, "Renomeando reports atual");
    if (platform::directoryExists(current) && platform::moveFile(current, backup)) reachedStep(run_, steps::kReportsAside);
    wait(6000);

    advance(90, "Copiando nova reports");
    if (platform::directoryExists(backup) || !platform::directoryExists(current)) {
      if (!platform::moveFile(newReports, current) && platform::directoryExists(backup) &&
          !platform::pathExists(current)) {
        // The suite is not left without a reports folder: the old one takes
        // its name back, layouts and all.
        if (platform::moveFile(backup, current))
          log("A nova reports não pôde ser copiada; a pasta " + backup + " voltou a se chamar " + current);
      }
    }
    if (platform::directoryExists(current)) reachedStep(run_, steps::kReportsInPlace);
    wait(6000);

    if (platform::directoryExists(current) && platform::directoryExists(backup)) carryCustomLayoutsOver(run_, backup, current);
  }

  VantorimRun& run_;
  const std::string folder_;
  const std::string dwd_;
  const int handle_;
  const bool redundancy_;
  const int releaseNumber_;

  std::vector<std::string> downloads_;
  std::vector<std::string> staged_;
  std::string serverFolder_;
};

} // namespace

// Each subfolder's custom layouts replace the package's files of the same
// name. The backup goes only when every layout arrived.
void carryCustomLayoutsOver(VantorimRun& run, const std::string& backup, const std::string& current) {
  run.ShowStatus("Retornando os personalizáveis", 0, 100, 0);
  bool allCopied = true;
  for (const platform::DirEntry& sub : platform::listDirectory(backup, "*")) {
    if (!sub.isDirectory) continue;
    const std::string source = backup + "\\" + sub.name + "\\personalizados";
    if (!platform::directoryExists(source)) {
      platform::createDirectories(source);
      run.WriteLogLine("Criado diretório ausente: " + source);
    }
    const std::string target = current + "\\" + sub.name + "\\personalizados";
    for (const platform::DirEntry& layout : platform::listDirectory(source, "*.fr3")) {
      if (layout.isDirectory) continue;
      // A package without this subfolder or its personalizados folder
      // still receives the layouts.
      if (!platform::directoryExists(target)) platform::createDirectories(target);
      const std::string from = source + "\\" + layout.name;
      const std::string to = target + "\\" + layout.name;
      if (platform::fileExists(to)) platform::deleteFile(to);
      const bool copied = platform::copyFile(from, to) && platform::fileExists(to) &&
                          platform::fileSize(to) == platform::fileSize(from);
      allCopied = allCopied && copied;
    }
  }
  if (allCopied)
    TdmUtils::deletarDiretorio(backup);
  else
    run.WriteLogLine("A pasta " + backup + " foi mantida: nem todos os personalizados foram copiados");
}

bool UpdateApplications(VantorimRun& run, const std::string& launcherFolder, int handle, UpdatePass pass,
                        int releaseNumber) {
  return ApplicationUpdate(run, launcherFolder, handle, pass, releaseNumber).execute();
}

bool UpdateApplications(VantorimRun& run, UpdatePass pass) {
  return UpdateApplications(run, run.launcherFolder(), run.state.company, pass, run.state.releaseNumber);
}

bool finishReportsUpdate(VantorimRun& run, const std::string& serverFolder) {
  return ApplicationUpdate(run, run.launcherFolder(), 0, UpdatePass::First, 0).finishReports(serverFolder);
}

} // namespace vt
