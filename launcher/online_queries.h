#pragma once
// The pattern every query of the run follows: close, replace the statement
// with one line, open.
#include <cstdint>
#include <string>
#include <string_view>

#include "online/dm_online.h"

namespace vt {

void runQuery(OnlineQuery& query, std::string_view sql);
// The same with one integer parameter of the statement set ("vp1" unless named).
void runQuery(OnlineQuery& query, std::string_view sql, std::int64_t value, std::string_view param = "vp1");
std::string fieldText(const OnlineQuery& query, std::string_view column);

} // namespace vt
