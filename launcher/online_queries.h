#pragma once
// The pattern every query of the run follows: close, replace the statement
// with one line, open.
#include <cstdint>
#include <string>
#include <string_view>

#include "online/dm_online.h"

namespace vt {

void runQuery(OnlineQuery& query, std::string_view sql);
// The same with the statement's parameter "vp1" set to an integer.
void runQuery(OnlineQuery& query, std::string_view sql, std::int64_t vp1);
std::string fieldText(const OnlineQuery& query, std::string_view column);

} // namespace vt
