#pragma once
// TdmUtils, the suite's shared utility module (instance dmUtils). It joins the
// general operations of utils/ and the business rules of rules/: the pure
// operations come from the facets it derives from, the ones that keep state
// (gTouch, gPathConfig) or talk to the user or wait are its own members.
#include <cstdint>
#include <iosfwd>
#include <stdexcept>
#include <string>
#include <string_view>

#include "rules/codes.h"
#include "rules/documents.h"
#include "rules/due_dates.h"
#include "rules/fiscal.h"
#include "rules/state_registration.h"
#include "rules/words.h"
#include "utils/images.h"
#include "utils/numbers_dates.h"
#include "utils/text.h"
#include "utils/version_info.h"

namespace vt::platform {
class Clock;
class ComboItems;
class MessageUi;
class WindowedControl;
} // namespace vt::platform

namespace vt {

class DialogsPort;

// The default configuration file; only this exact text is redirected to gPathConfig.
inline constexpr std::string_view kConfigPath = "C:\\Quorvelin\\Config.ini";

// A write the platform refused: "Unable to write to <resolved path>".
struct ConfigWriteError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

class TdmUtils : public utils::TextHelpers,
                 public utils::NumberDateHelpers,
                 public utils::VersionInfo,
                 public utils::ImageHelpers,
                 public rules::StateRegistrationRules,
                 public rules::DocumentRules,
                 public rules::WordsRules,
                 public rules::CodesRules,
                 public rules::FiscalRules,
                 public rules::DueDateRules {
public:
  TdmUtils(platform::Clock& clock, platform::MessageUi& ui) : clock_(clock), ui_(ui) {}
  TdmUtils(const TdmUtils&) = delete;
  TdmUtils& operator=(const TdmUtils&) = delete;

  // The dialog factory is created after this module; the application joins them.
  void attachForms(DialogsPort& forms) { forms_ = &forms; }

  // Touch-screen dialogs; never set in this system.
  bool gTouch = false;
  // A per-user configuration file that takes the place of the default one.
  std::string gPathConfig;

  // --- Configuration file (Config.ini) ---
  std::string getFromConfig(std::string_view ASessao, std::string_view AIdent, std::string_view AConfigPath);
  // Always returns the empty text; throws ConfigWriteError when the write is refused.
  std::string setToConfig(std::string_view ASessao, std::string_view AIdent, std::string_view AInformacao,
                          std::string_view AConfigPath);
  void deleteFromConfig(std::string_view ASessao, std::string_view AIdent, std::string_view AConfigPath);
  void delSectionFromConfig(std::string_view ASessao, std::string_view AConfigPath);
  std::string configUsuario();
  bool validaVersaoConfig(int AExec);

  // --- Processes, shell and machine ---
  std::string shellExecuta(std::string_view AArquivo, std::string_view AParametros, bool ARetornaCodigo,
                           int AShowWindowCommand);
  static bool IsRunningProcess(std::string_view exeFileName, int ATipo);
  static int killTask(std::string_view ExeFileName);
  static bool rodandoComoAdmin();
  static bool isWindows64();
  static std::string winVersion();
  static void bringApplicationToFront();
  static bool estaConectado();
  static std::string getIP();
  static std::string pubNomeComputador();
  static std::string sysUserName();
  static bool verificaPing(std::string_view APath);
  static bool verificaVisualCInstalado();
  bool checkEssencials();
  void abrirCalculadora();
  void abrirTecladoVirtual();
  void abrirAjuda(int Ajuda, std::string_view ANomeArq);

  // --- Files and folders ---
  bool criaArquivo(std::string_view AConteudo, std::string_view ANomeArquivo, std::string& AError);
  static void deletarDiretorio(std::string_view ACaminho);
  static void copiarDiretorio(std::string_view ACaminhoOrigem, std::string_view ACaminhoDestino);
  static void limparArquivosDiretorio(std::string_view ADiretorio);
  static double tamanhoArquivo(std::string_view AArquivo);
  static int64_t getFileSize(std::string_view AFilename);
  int downloadArquivo(std::string_view AUrl, std::string_view ADestino, bool AProgresso);
  bool VerificaCopia(std::string_view APathLocal, std::string_view APathRede);
  static std::string extractFileNameFromPath(std::string_view AFilename);
  static std::string extractFileOnlyName(std::string_view AFilename);
  static std::string caminhoDirAbsoluto(std::string_view AInput);
  static std::string blobToHex(std::istream& Stream);
  std::string carregaEtiqueta(std::string_view ANome);
  std::string verificaXmlCdata(std::string_view APathXML, std::string_view AFileXML, bool AProgresso);

  // --- Printers, images and screen ---
  // Empties the combo box and adds each printer the platform lists: a
  // network printer ("\\server\name") as it is; the others by AItemIndex,
  // 0 "\\<computer>\<printer>", 2 the printer alone, any other value
  // "\\<address>\<printer>".
  void listaImpressorasCombo(platform::ComboItems& ACombo, int AItemIndex);
  // Makes Name the default printer, the way CONFIGURACAO / "Forma Padrão
  // SetDefaultPrinter" says ("2": the platform profile's "device" entry; any
  // other value: the print spooler). The platform's error (OsError) passes on.
  void setDefaultPrinter(std::string_view Name);
  // The path of the bitmap written, or empty (see utils::converterImagemSaida).
  std::string converterImagemSaida(std::string_view AOriginal, int AMaxHeight, int AMaxWidth);
  // Moves the mouse cursor to the point (AX, AY) of AParent's client area.
  static void setarMouse(platform::WindowedControl& AParent, int AX, int AY);
  // Selects every tab sheet that holds AComponent, so that it can be seen.
  static void setarPageControlParent(platform::WindowedControl& AComponent);

  // --- The jQuery copy of the suite's web pages ---
  // Writes jquery-1.2.6.min.js into the "js" subfolder of the application
  // folder when it is missing (see jquery_copy.h); a build configured
  // without the library raises JQueryCopyMissing instead.
  void verificaArquivoJQuery();

  // --- Messages ---
  bool exibeMsg(std::string_view AMsgm, std::string_view ATitulo, bool AMsgDlg, bool AYesFocus);

private:
  // The progress protocol of the dialog factory (no effect in this system).
  void progress(const char* step, std::string_view title, int position);

  platform::Clock& clock_;
  platform::MessageUi& ui_;
  DialogsPort* forms_ = nullptr;
};

} // namespace vt
