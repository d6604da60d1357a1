#include "launcher/executable_swap.h"

#include <chrono>
#include <string_view>

#include "launcher/install_steps.h"
#include "launcher/run.h"
#include "platform/files.h"

namespace vt {
namespace {

using std::chrono::milliseconds;

constexpr const char* kSwapPrefix = "trocandoPorVersaoOnline_";

} // namespace

SwapOutcome swapInStagedExecutable(VantorimRun& run, const std::string& launcherFolder, const std::string& name) {
  const std::string staged = launcherFolder + "dwd\\" + name + ".exe";
  const std::string incoming = launcherFolder + "dwd\\novo_" + name + ".exe";
  const std::string installed = launcherFolder + name + ".exe";
  const std::string swap = launcherFolder + kSwapPrefix + name + ".exe";
  if (!platform::fileExists(staged)) return SwapOutcome::NotStaged;

  // A copy cut short stays under the temporary name and is never installed.
  if (platform::fileExists(incoming)) platform::deleteFile(incoming);
  if (!platform::copyFile(staged, incoming) || platform::fileSize(incoming) != platform::fileSize(staged)) {
    platform::deleteFile(incoming);
    run.WriteLogLine("Não foi possível copiar a nova versão de " + name + ".exe; a versão anterior foi mantida");
    return SwapOutcome::CopyFailed;
  }
  reachedStep(run, stepFor(steps::kSwapCopied, name));

  const bool hadPrevious = platform::fileExists(installed);
  if (hadPrevious) {
    if (!platform::moveFile(installed, swap)) {
      platform::deleteFile(incoming);
      return SwapOutcome::RenameFailed;
    }
    reachedStep(run, stepFor(steps::kSwapAside, name));
    run.pause(milliseconds(2000));
  }
  if (!platform::moveFile(incoming, installed)) {
    // The company is not left without the application: the previous one
    // takes its name back.
    platform::deleteFile(incoming);
    if (hadPrevious && platform::moveFile(swap, installed))
      run.WriteLogLine("Não foi possível copiar a nova versão de " + name + ".exe; a versão anterior foi mantida");
    run.pause(milliseconds(1000));
    return SwapOutcome::CopyFailed;
  }
  reachedStep(run, stepFor(steps::kSwapInPlace, name));
  run.pause(milliseconds(1000));
  // A previous executable that is still running cannot be deleted; a later
  // clean-up removes it, now that its successor is in place.
  if (platform::fileExists(swap)) platform::deleteFile(swap);
  return SwapOutcome::Replaced;
}

std::string installJournalPath(const std::string& launcherFolder) {
  return launcherFolder + "dwd\\instalacao_pendente.txt";
}

namespace {
constexpr std::string_view kReportsLine = "reports=";
}

bool writeInstallJournal(const std::string& launcherFolder, const InstallJournal& journal) {
  const std::string path = installJournalPath(launcherFolder);
  const std::string temporary = path + ".novo";
  std::string text;
  for (const std::string& name : journal.executables) text += name + "\r\n";
  if (!journal.reportsServerFolder.empty()) text += std::string(kReportsLine) + journal.reportsServerFolder + "\r\n";
  try {
    platform::writeFileReplacing(temporary, text);
  } catch (const std::exception&) {
    return false;
  }
  if (platform::fileExists(path)) platform::deleteFile(path);
  return platform::moveFile(temporary, path);
}

std::optional<InstallJournal> readInstallJournal(const std::string& launcherFolder) {
  const std::string path = installJournalPath(launcherFolder);
  if (!platform::fileExists(path)) return std::nullopt;
  std::string text;
  try {
    text = platform::readWholeFile(path);
  } catch (const std::exception&) {
    return std::nullopt;
  }
  InstallJournal journal;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(at, end - at);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind(kReportsLine, 0) == 0)
      journal.reportsServerFolder = line.substr(kReportsLine.size());
    else if (!line.empty())
      journal.executables.push_back(line);
    at = end + 1;
  }
  return journal;
}

void removeInstallJournal(const std::string& launcherFolder) {
  platform::deleteFile(installJournalPath(launcherFolder));
}

} // namespace vt
