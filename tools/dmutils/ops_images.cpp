// dmutils operations of the image and layout helpers: the bitmap conversion
// of an image file (on the real clock: its one-second wait is real), the
// square fit of a height and a width, and centimetres to pixels.
#include "platform/clock.h"
#include "tools/dmutils/registry.h"
#include "utils/images.h"

namespace vt::tools {

using nlohmann::json;
using utils::ImageHelpers;

void registerImageOps(OpRegistry& registry) {
  // [path, AMaxHeight, AMaxWidth]: the bitmap's path, or "" when none was written.
  registry.add("converterImagemSaida", [](const json& args) {
    expectArgs(args, 3);
    const std::string path = argString(args, 0);
    const int maxHeight = argInt32(args, 1);
    const int maxWidth = argInt32(args, 2);
    platform::SystemClock clock;
    return result(utils::converterImagemSaida(clock, path, maxHeight, maxWidth));
  });
  // [AMaxProporcao, ABaseHeight, ABaseWidth]: the in-out sizes under "out".
  registry.add("converteProporcaoAltLarg", [](const json& args) {
    expectArgs(args, 3);
    const int limit = argInt32(args, 0);
    int height = argInt32(args, 1);
    int width = argInt32(args, 2);
    ImageHelpers::converteProporcaoAltLarg(limit, height, width);
    json reply = result(nullptr);
    reply["out"] = json{{"ABaseHeight", height}, {"ABaseWidth", width}};
    return reply;
  });
  registry.add("centimetrosParaPixels", [](const json& args) {
    expectArgs(args, 1);
    return result(ImageHelpers::centimetrosParaPixels(argDouble(args, 0)));
  });
}

} // namespace vt::tools
