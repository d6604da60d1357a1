// The versions of the three applications a terminal may carry: they must
// agree, and each one found must have a version.
#include <string>

#include "dmutils/dm_utils.h"
#include "launcher/phases/phases.h"
#include "launcher/run.h"
#include "platform/files.h"

namespace vt {

bool phaseVersionSurvey(VantorimRun& run) {
  static constexpr struct {
    const char* file;
    int barAfter;
  } kApplications[] = {{"Quorvelin.exe", 25}, {"Pendrak.exe", 50}, {"Caspelo.exe", 90}};

  run.ShowStatus("Versões dos aplicativos", 0, 4, 0);
  std::string& installed = run.state.installedVersion;
  installed.clear();
  const std::string folder = run.launcherFolder();
  const std::string contact = "\r\nEntre em contato com o suporte Quorvelin para verificação das versões.";
  for (const auto& app : kApplications) {
    const std::string path = folder + app.file;
    run.WriteLogLine("Confere a versão do arquivo " + path);
    if (!platform::fileExists(path)) continue;
    const std::string version = TdmUtils::GetExeVersion(path);
    // The whole texts are compared, not their digits.
    if (!installed.empty() && version != installed)
      return run.proceed(StepOutcome::abort(
          "Identificada que a versão do arquivo " + path + " está diferente dos outros arquivos verificados",
          "A versão do \"" + std::string(app.file) + "\" em \"" + folder + "\" está diferente de outros aplicativos." +
              contact));
    installed = version;
    if (installed.empty())
      return run.proceed(StepOutcome::abort("Não foi encontrada a versão do arquivo " + path,
                                            "Não foi possível verificar a versão do \"" + std::string(app.file) +
                                                "\" em \"" + folder + "\"." + contact));
    run.ShowStatus("", 0, 4, app.barAfter);
  }
  return true;
}

} // namespace vt
