#include "platform/controls.h"

namespace vt::platform {

// No pointer to move: the console front end and the tools have no screen.
void moveCursor(ScreenPoint) {}

} // namespace vt::platform
