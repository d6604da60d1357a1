#include <atomic>
#include <string>

#include "platform/desktop.h"
#include "platform/process.h"

namespace vt::platform {
namespace {
// The process's cursor, as Windows keeps one per thread of a process.
std::atomic<ScreenCursor> processCursor{ScreenCursor::Default};
} // namespace

void setScreenCursor(ScreenCursor cursor) { processCursor = cursor; }

ScreenCursor screenCursor() { return processCursor; }

bool openHelpContext(std::string_view file, int context) {
  return shellOpen("hh.exe", "-mapid " + std::to_string(context) + " \"" + std::string(file) + "\"", kShowNormal) > 32;
}

} // namespace vt::platform
