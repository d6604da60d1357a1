#pragma once
// TdmUtils, the suite's shared utility module (instance dmUtils). It joins the
// general operations of utils/ and the business rules of rules/: the pure
// operations come from the facets it derives from, the ones that keep state
// (gTouch, gPathConfig) or talk to the user or wait are its own members.
#include <string>

#include "rules/codes.h"
#include "rules/documents.h"
#include "rules/due_dates.h"
#include "rules/fiscal.h"
#include "rules/state_registration.h"
#include "rules/words.h"
#include "utils/numbers_dates.h"
#include "utils/text.h"
#include "utils/version_info.h"

namespace vt::platform {
class Clock;
class MessageUi;
} // namespace vt::platform

namespace vt {

class TdmForms;

class TdmUtils : public utils::TextHelpers,
                 public utils::NumberDateHelpers,
                 public utils::VersionInfo,
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
  void attachForms(TdmForms& forms) { forms_ = &forms; }

  bool gTouch = false;
  std::string gPathConfig;

private:
  platform::Clock& clock_;
  platform::MessageUi& ui_;
  TdmForms* forms_ = nullptr;
};

} // namespace vt
