#pragma once
// The pattern every query of the run follows: close, replace the statement
// with one line, open.
#include <string>
#include <string_view>

#include "online/dm_online.h"

namespace vt {

void runQuery(OnlineQuery& query, std::string_view sql);
std::string fieldText(const OnlineQuery& query, std::string_view column);

} // namespace vt
