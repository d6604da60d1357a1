#include <vector>

#include "dmutils/dialogs_port.h"
#include "dmutils/dm_utils.h"
#include "platform/controls.h"
#include "platform/encoding.h"
#include "platform/printers.h"
#include "utils/images.h"

namespace vt {
namespace {

// Each name of the profile's "device" entry is taken in a buffer of 255
// characters: at most 254 and the terminator.
std::string deviceField(const std::string& text) { return platform::firstCharacters(text, 254); }

} // namespace

void TdmUtils::listaImpressorasCombo(platform::ComboItems& ACombo, int AItemIndex) {
  const std::string computer = pubNomeComputador();
  const std::string address = getIP();
  ACombo.clear();
  for (const std::string& printer : platform::printerNames()) {
    if (printer.find("\\\\") != std::string::npos) ACombo.add(printer);
    else if (AItemIndex == 0) ACombo.add("\\\\" + computer + "\\" + printer);
    else if (AItemIndex == 2) ACombo.add(printer);
    else ACombo.add("\\\\" + address + "\\" + printer);
  }
}

void TdmUtils::setDefaultPrinter(std::string_view Name) {
  if (getFromConfig("CONFIGURACAO", "Forma Padrão SetDefaultPrinter", kConfigPath) != "2") {
    platform::setDefaultPrinter(Name);
    return;
  }
  const std::vector<std::string> printers = platform::printerNames();
  // The progress steps carry no caption of their own.
  if (forms_) forms_->formProgress("pbInicia", "", "Copy", 0, 0, static_cast<int>(printers.size()), "");
  bool written = false;
  try {
    for (const std::string& printer : printers) {
      if (!written && printer == Name) {
        const platform::PrinterDevice device = platform::printerDevice(printer);
        const std::string entry =
            deviceField(device.device) + "," + deviceField(device.driver) + "," + deviceField(device.port);
        if (!platform::writePlatformProfile("windows", "device", entry)) throw platform::OsError::last();
        written = true;
      }
      if (forms_) forms_->formProgress("pbPos", "", "Copy", 1, 0, static_cast<int>(printers.size()), "");
    }
  } catch (...) {
    if (forms_) forms_->formProgress("pbFim", "", "Copy", 0, 0, 0, "");
    throw;
  }
  if (forms_) forms_->formProgress("pbFim", "", "Copy", 0, 0, 0, "");
  // A name no printer has changes nothing, and says so as the spooler would.
  if (!written) throw platform::printerNotListedError();
}

std::string TdmUtils::converterImagemSaida(std::string_view AOriginal, int AMaxHeight, int AMaxWidth) {
  return utils::converterImagemSaida(clock_, AOriginal, AMaxHeight, AMaxWidth);
}

void TdmUtils::setarMouse(platform::WindowedControl& AParent, int AX, int AY) {
  platform::moveCursor(AParent.clientToScreen({AX, AY}));
}

void TdmUtils::setarPageControlParent(platform::WindowedControl& AComponent) {
  // The parents up to the first form; a control outside any form gives its
  // whole chain.
  std::vector<platform::WindowedControl*> chain;
  for (platform::WindowedControl* up = AComponent.parent(); up; up = up->parent()) {
    chain.push_back(up);
    if (up->kind() == platform::ControlKind::Form) break;
  }
  platform::WindowedControl* pageControl = nullptr;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    if ((*it)->kind() == platform::ControlKind::PageControl) pageControl = *it;
    // A tab sheet met before any page control has none to be shown in.
    else if ((*it)->kind() == platform::ControlKind::TabSheet && pageControl) pageControl->setActivePage(**it);
  }
}

} // namespace vt
