// The Config.ini reader and writer on hostile files: the profile rules of the
// POSIX port (sections, keys, quotes, byte-order marks, UTF-16) reached
// through the utility module's getFromConfig, setToConfig, deleteFromConfig
// and delSectionFromConfig. It stops when a written value does not read
// back or when a write to one key changes what another section's key reads.
#include <cstdint>
#include <string>

#include "dmutils/dm_utils.h"
#include "fuzz/fuzz_support.h"
#include "platform/clock.h"

namespace {

struct Key {
  const char* section;
  const char* ident;
};
// Keys the launcher and the suite read.
constexpr Key kKeys[] = {{"CONEXAO", "AplicativoBasesExterno"}, {"CONEXAO", "CaminhoExterno"},
                         {"CONEXAO", "Caminho dos dados"},      {"CONFIGURACAO", "BancoOnLine"},
                         {"DIV", "VER"},                        {"CONEXAO", "Listar todos BD"}};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const vt::fuzz::Workspace& ws = vt::fuzz::Workspace::get();
  ws.reset();
  vt::fuzz::Workspace::writeFile(ws.drive() / "Quorvelin" / "Config.ini", vt::fuzz::asText(data, size));

  vt::platform::ManualClock clock;
  vt::fuzz::SilentMessageUi ui;
  vt::TdmUtils dmUtils(clock, ui);
  const std::string path(vt::kConfigPath);

  for (const Key& key : kKeys) (void)dmUtils.getFromConfig(key.section, key.ident, path);

  const std::string before = dmUtils.getFromConfig("CONEXAO", "AplicativoBasesExterno", path);
  const std::string stored = "7F3A0B";
  dmUtils.setToConfig("CONFIGURACAO", "BancoOnLine", stored, path);
  if (dmUtils.getFromConfig("CONFIGURACAO", "BancoOnLine", path) != stored)
    vt::fuzz::broken("a value written to Config.ini does not read back");
  if (dmUtils.getFromConfig("CONEXAO", "AplicativoBasesExterno", path) != before)
    vt::fuzz::broken("a write to one section changed a key of another");

  // A key or section may stand twice, so the deletes are only exercised.
  dmUtils.deleteFromConfig("CONFIGURACAO", "BancoOnLine", path);
  dmUtils.delSectionFromConfig("DIV", path);
  return 0;
}
