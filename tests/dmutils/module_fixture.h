#pragma once
// The utility module and the dialog factory joined as the application joins
// them, on a scripted message front end and a manual clock.
#include "dialogs/forms.h"
#include "dmutils/dm_utils.h"
#include "platform/clock.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/temp_drive.h"

namespace vt::test {

struct ModuleFixture {
  TempDrive drive;
  ScriptedMessageUi ui;
  platform::ManualClock clock;
  TdmUtils dmUtils{clock, ui};
  TdmForms dmForms;
  ModuleFixture() {
    dmUtils.attachForms(dmForms);
    dmForms.attachUtils(dmUtils);
  }
};

} // namespace vt::test
