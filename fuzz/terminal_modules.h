#pragma once
// The modules a terminal's essential file is read and written with, joined as
// the program joins them, for the targets and the seed writer.
#include "dialogs/forms.h"
#include "dmutils/dm_utils.h"
#include "fuzz/fuzz_support.h"
#include "platform/clock.h"
#include "terminal/utils_db_online.h"

namespace vt::fuzz {

struct TerminalModules {
  TerminalModules() {
    dmUtils.attachForms(dmForms);
    dmForms.attachUtils(dmUtils);
  }
  TerminalModules(const TerminalModules&) = delete;
  TerminalModules& operator=(const TerminalModules&) = delete;

  platform::ManualClock clock;
  SilentMessageUi ui;
  TdmUtils dmUtils{clock, ui};
  TdmForms dmForms;
  TdmUtilsDbOnline dbOnline{dmUtils, dmForms, clock, "C:\\Quorvelin\\", "http://127.0.0.1:9/"};
};

} // namespace vt::fuzz
