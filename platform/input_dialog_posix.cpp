#include <iostream>

#include "platform/input_dialog.h"

namespace vt::platform {

std::unique_ptr<InputUi> makeNativeInputUi() { return std::make_unique<ConsoleInputUi>(std::cin, std::cout); }

} // namespace vt::platform
