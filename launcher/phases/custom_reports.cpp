// The companies' custom report layouts against the online report table:
// a changed layout is fetched and swapped in, a new one registered and
// fetched. Layouts are only added and refreshed, never removed.
#include <chrono>
#include <string>

#include "launcher/frm_vantorim.h"
#include "launcher/online_queries.h"
#include "launcher/phases/phases.h"
#include "launcher/run.h"
#include "launcher/settings.h"
#include "launcher/suite_rules.h"
#include "online/dm_online.h"
#include "platform/files.h"
#include "terminal/report_names.h"
#include "terminal/utils_db_online.h"
#include "utils/numbers_dates.h"

namespace vt {
namespace {

using namespace std::chrono_literals;

struct OnlineLayout {
  int handle = 0;
  std::string fileName, folder;
  double changed = 0;
};

std::string layoutFolder(const std::string& folder) {
  return std::string(kInstallRoot) + "reports\\" + folder + "\\personalizados\\";
}

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

// DownloadFile has told the user; the run ends without the session the update
// check closed.
StepOutcome downloadFailed() { return StepOutcome::alreadyTold("", ExtraDisconnect::BeforeShutdown); }

// A changed layout: the new copy under "atual_", the old one moved to
// "anterior_" while the new one takes its name.
StepOutcome swapLayout(VantorimRun& run, const OnlineLayout& online, ReportTable& table) {
  const ReportRow local = table.Current();
  const std::string folder = layoutFolder(local.DIRETORIO);
  const std::string layout = folder + local.FILENAME + ".fr3";
  const std::string fresh = folder + "atual_" + local.FILENAME + ".fr3";
  const std::string previous = folder + "anterior_" + local.FILENAME + ".fr3";
  run.WriteLogLine("Troca do relatório personalizado " + quoted(local.FILENAME) + " presente no diretório " +
                   quoted(local.DIRETORIO) + ".");
  run.WriteLogLine("Diretórios comparativos: arquivo online (" + online.folder + ") e arquivo local (" + local.DIRETORIO +
                   ").");
  run.WriteLogLine("Datas comparativas: arquivo online (" + utils::dateTimeToText(online.changed) + ") e arquivo local (" +
                   (local.DATAALT ? utils::dateTimeToText(*local.DATAALT) : std::string()) + ").");
  if (!run.DownloadFile(local.FILENAME + ".fr3", std::to_string(local.HANDLE), local.DIRETORIO, fresh))
    return downloadFailed();
  if (platform::fileExists(layout)) platform::moveFile(layout, previous);
  if (platform::fileExists(fresh)) platform::moveFile(fresh, layout);
  run.pause(1000ms);
  if (platform::fileExists(previous)) platform::deleteFile(previous);
  table.SetDataAlt(online.changed);
  table.SetChanged(true);
  return StepOutcome::goOn();
}

// A registered layout whose file is gone from the terminal is fetched again
// under its own name, and its row takes the online date.
StepOutcome refetchMissingLayout(VantorimRun& run, const OnlineLayout& online, ReportTable& table) {
  const ReportRow local = table.Current();
  run.WriteLogLine("Relatório personalizado " + quoted(local.FILENAME) + " presente no diretório " +
                   quoted(local.DIRETORIO) + " não foi encontrado no terminal e será baixado novamente");
  if (!run.DownloadFile(local.FILENAME + ".fr3", std::to_string(local.HANDLE), local.DIRETORIO,
                        layoutFolder(local.DIRETORIO) + local.FILENAME + ".fr3"))
    return downloadFailed();
  table.SetDataAlt(online.changed);
  table.SetChanged(true);
  return StepOutcome::goOn();
}

// A layout the table does not hold yet.
StepOutcome registerLayout(VantorimRun& run, const OnlineLayout& online, ReportTable& table) {
  ReportRow row;
  row.HANDLE = online.handle;
  row.FILENAME = online.fileName;
  row.DIRETORIO = online.folder;
  row.DATAALT = online.changed;
  table.Append(row);
  const std::string where = quoted(online.fileName) + " presente no diretório " + quoted(online.folder);
  run.WriteLogLine("Inclusão de relatório personalizado " + where);
  table.SetChanged(true);
  const std::string layout = layoutFolder(online.folder) + online.fileName + ".fr3";
  if (!platform::fileExists(layout) &&
      !run.DownloadFile(online.fileName + ".fr3", std::to_string(online.handle), online.folder, layout))
    return downloadFailed();
  run.WriteLogLine("Download de relatório personalizado " + where + " pela primeira vez");
  return StepOutcome::goOn();
}

} // namespace

bool phaseCustomReports(VantorimRun& run) {
  OnlineQuery& query = run.dmOnline.qryOneLine;
  auto& table = run.dmUtilsDbOnline.cdsDados;
  run.WriteLogLine("Inicia as comparações dos personalizados da reports para trocar se necessário dos handles: " +
                   run.state.handleList);
  // The list holds only integers the run wrote itself. Opening the query
  // connects again (the update check closed the session).
  runQuery(query, "select HANDLE,FILENAME,DIRETORIO,DATAALT from tabscoreportsonline where HANDLE in (" +
                      run.state.handleList + ") order by CODIGO");
  run.ShowStatus("Conferindo personalizados", 0, query.RecordCount(), 0);

  for (query.First(); !query.Eof(); query.Next()) {
    run.advance(1);
    OnlineLayout online{query.FieldAsInteger("HANDLE"), query.FieldAsString("FILENAME"),
                        query.FieldAsString("DIRETORIO"), query.FieldAsDateTime("DATAALT")};
    // A name that would lead outside the report folders is never fetched or written.
    if (auto refused = refusedReportValue(online.fileName, online.folder)) {
      run.WriteLogLine(*refused);
      continue;
    }
    bool found = false;
    for (table.First(); !table.Eof(); table.Next()) {
      const ReportRow local = table.Current();
      if (local.FILENAME.empty()) continue;
      run.form.showWarning(true);
      if (local.HANDLE != online.handle || local.FILENAME != online.fileName || local.DIRETORIO != online.folder)
        continue;
      found = true;
      const bool present = platform::fileExists(layoutFolder(local.DIRETORIO) + local.FILENAME + ".fr3");
      if (local.DATAALT && *local.DATAALT == online.changed && present) {
        run.WriteLogLine("Encontrado personalizado " + quoted(local.FILENAME) + " presente no diretório " +
                         quoted(local.DIRETORIO) + ", mas sem alterações");
        continue;
      }
      if (!run.proceed(present ? swapLayout(run, online, table) : refetchMissingLayout(run, online, table)))
        return false;
    }
    if (!found && !run.proceed(registerLayout(run, online, table))) return false;
  }
  run.ShowStatus("", 0, 100, 0);
  return true;
}

} // namespace vt
