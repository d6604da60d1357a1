// The launcher's own version against the one the maker publishes: when they
// differ, the package is fetched, the running executable moved aside under
// its swap name, the package extracted over the launcher folder and the new
// executable started.
#include <string>

#include "dmutils/dm_utils.h"
#include "launcher/frm_vantorim.h"
#include "launcher/install_steps.h"
#include "launcher/run.h"
#include "launcher/run_texts.h"
#include "launcher/online_queries.h"
#include "launcher/phases/phases.h"
#include "online/dm_online.h"
#include "platform/files.h"
#include "platform/process.h"
#include "utils/text.h"
#include "utils/zip_archive.h"

namespace vt {
namespace {

// The package is extracted into the download folder first, so the running
// launcher keeps its own name until the new one is known to be whole; then
// the running one is renamed aside and the new one renamed into place, two
// renames on the same volume. A running executable can be renamed on
// Windows but not overwritten, and a failure or a power cut at any other
// moment leaves a launcher the terminal's shortcut can start.
StepOutcome replaceLauncher(VantorimRun& run, ScopedOnlineSession& session) {
  const std::string folder = run.launcherFolder();
  run.form.showWarning(true);
  if (!run.DownloadFile("Vantorim.zip", "", "Quorvelin/upd/", folder + "dwd\\Vantorim.zip"))
    return StepOutcome::alreadyTold("", ExtraDisconnect::BeforeShutdown);

  run.WriteLogLine("Descompacta o Vantorim baixado");
  const std::string staging = folder + "dwd\\novo_Vantorim";
  const std::string stagedExe = staging + "\\Vantorim.exe";
  if (platform::directoryExists(staging)) TdmUtils::deletarDiretorio(staging);
  // A package without the launcher at its top level would leave nothing to
  // start: it fails as a package that does not extract.
  if (!utils::extractZip(folder + "dwd\\Vantorim.zip", staging) || !platform::fileExists(stagedExe))
    return StepOutcome::abort("", extractionFailedMessage("Vantorim.zip"), ExtraDisconnect::AfterMessage);
  // The package's other files go to the launcher folder before the swap: the
  // new build may need them as soon as it starts.
  for (const platform::DirEntry& entry : platform::listDirectory(staging, "*")) {
    if (!entry.isDirectory && utils::lowerCase(entry.name) == "vantorim.exe") continue;
    platform::shellCopy(staging + "\\" + entry.name, folder);
  }
  reachedStep(run, steps::kSelfUpdateStaged);

  run.WriteLogLine("Renomeia o Vantorim para fazer a troca");
  const std::string running = folder + run.exeName();
  const std::string swap = folder + "TrocaParaAtualizacao_" + run.exeName();
  if (!platform::moveFile(running, swap))
    return StepOutcome::abort("", "Não foi possível renomear o Vantorim para troca por uma versão mais atualizada.",
                              ExtraDisconnect::AfterMessage);
  // The new build takes the regular name, which the restart starts (a
  // launcher started under another name leaves a Vantorim.exe that is not
  // running, and that one gives way).
  const std::string target = folder + "Vantorim.exe";
  if (platform::fileExists(target)) platform::deleteFile(target);
  if (!platform::moveFile(stagedExe, target)) {
    if (platform::moveFile(swap, running))
      run.WriteLogLine("Não foi possível colocar o novo Vantorim no lugar; o Vantorim atual voltou ao seu nome");
    return StepOutcome::abort("", extractionFailedMessage("Vantorim.zip"), ExtraDisconnect::AfterMessage);
  }
  reachedStep(run, steps::kSelfUpdateInPlace);

  run.WriteLogLine("Encerra o atual Vantorim renomeado e executa o novo baixado");
  session.disconnect();
  run.form.Shutdown(false);
  // Nothing more is written from here on: the new build takes the lock.
  run.releaseInstanceLock();
  platform::shellOpen(std::string(kInstallRoot) + "Vantorim.exe", "", platform::kShowNormal);
  run.form.requestTermination();
  return StepOutcome::ended();
}

} // namespace

bool phaseSelfUpdate(VantorimRun& run) {
  TdmOnline& online = run.dmOnline;
  run.WriteLogLine("Conectando ao banco de dados online da Quorvelin para verificar versão do Vantorim");
  run.ShowStatus("Conectando online", 0, 100, 0);
  ScopedOnlineSession& session = run.beginSession();
  if (const auto reason = session.connect())
    return run.proceed(
        StepOutcome::abort("Falha para se conectar no banco online para troca do Vantorim. Motivo: " + *reason,
                           "Não foi possível se conectar ao banco online para consulta da versão do Vantorim. Motivo: " +
                               *reason,
                           ExtraDisconnect::BeforeMessage));

  run.advance(25);
  if (!run.proceed(tableReadable(run, "tabscoappversoes",
                                 "Não foi encontrada tabela disponível para consulta da versão do Vantorim.")))
    return false;

  run.advance(50);
  runQuery(online.qryOneLine, "select VANTORIM from tabscoappversoes where CODIGO = 1");
  run.WriteLogLine("Compara a versão do Vantorim local com a versão do banco online para atualizar se necessário");
  const std::string published =
      online.qryOneLine.RecordCount() == 0 ? std::string() : TdmUtils::soNumericos(fieldText(online.qryOneLine, "VANTORIM"));
  const std::string local = TdmUtils::soNumericos(TdmUtils::GetExeVersion(run.launcherFolder() + run.exeName()));
  if (published == local) {
    run.endSession(); // disconnects
    return true;
  }

  // A swap file beside us means this process was started by the update that
  // just ran, and the build it brought still is not the published one (the
  // package does not hold that version, or the table's value can never match).
  // Updating again would restart for ever: go on with this build instead.
  if (platform::fileExists(run.launcherFolder() + "TrocaParaAtualizacao_" + run.exeName())) {
    run.WriteLogLine("A versão do Vantorim recém-atualizado (" + local + ") continua diferente da versão do banco online (" +
                     published + "); a atualização não será repetida");
    run.endSession();
    return true;
  }
  return run.proceed(replaceLauncher(run, session));
}

} // namespace vt
