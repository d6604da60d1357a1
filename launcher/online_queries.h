#pragma once
// The pattern every query of the run follows: close, replace the statement
// with one line, open.
#include <cstdint>
#include <string>
#include <string_view>

#include "launcher/step_outcome.h"
#include "online/dm_online.h"

namespace vt {

class VantorimRun;

void runQuery(OnlineQuery& query, std::string_view sql);
// The same with one integer parameter of the statement set ("vp1" unless named).
void runQuery(OnlineQuery& query, std::string_view sql, std::int64_t value, std::string_view param = "vp1");
std::string fieldText(const OnlineQuery& query, std::string_view column);

// "Confere se tabela <table> no banco online está acessível": the table is
// looked for on the open session (qryOneLine). When it is not there, the
// abort with "A tabela <table> no banco online não está acessível", the
// message, and the extra disconnect after the message.
StepOutcome tableReadable(VantorimRun& run, std::string_view table, std::string message);

} // namespace vt
