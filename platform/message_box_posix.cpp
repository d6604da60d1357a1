#include <iostream>

#include "platform/message_box.h"

namespace vt::platform {

std::unique_ptr<MessageUi> makeNativeMessageUi() { return std::make_unique<ConsoleMessageUi>(std::cin, std::cout); }

} // namespace vt::platform
