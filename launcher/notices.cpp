#include "launcher/notices.h"

#include "dmutils/dm_utils.h"

namespace vt {

void alertUser(TdmUtils& dmUtils, std::string_view message) { dmUtils.exibeMsg(message, "Atenção", false, true); }

} // namespace vt
