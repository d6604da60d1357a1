#pragma once
// The terminal-data module on a fresh install root, with its report table
// prepared as the run prepares it and its run-log lines recorded.
#include <string>
#include <string_view>
#include <vector>

#include "dmutils/dm_utils.h"
#include "terminal/utils_db_online.h"
#include "tests/dmutils/module_fixture.h"

namespace vt::test {

struct TerminalFixture : ModuleFixture {
  std::string installRoot = drive.installRoot();
  TdmUtilsDbOnline dbOnline{dmUtils, dmForms, clock, installRoot, "http://127.0.0.1:9/"};
  std::vector<std::string> log;

  TerminalFixture() {
    dbOnline.setLogSink([this](std::string_view entry) { log.emplace_back(entry); });
    dbOnline.cdsDados.CreateDataSet();
  }

  std::string storedText() { return dmUtils.getFromConfig("CONFIGURACAO", "BancoOnLine", kConfigPath); }
  void setStoredText(std::string_view text) { dmUtils.setToConfig("CONFIGURACAO", "BancoOnLine", text, kConfigPath); }
};

} // namespace vt::test
