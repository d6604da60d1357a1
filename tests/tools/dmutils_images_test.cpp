// The image operations of dmutils: a real image file converted into a
// bitmap (with the real one-second wait), the in-out sizes of the square fit
// as out-parameters, centimetres to pixels, and the read error as an error line.
#include <gtest/gtest.h>

#include <string>

#include <nlohmann/json.hpp>

#include "tests/fixtures/image_files.h"
#include "tests/support/temp_drive.h"
#include "tools/dmutils/registry.h"

namespace vt::tools {
namespace {

using nlohmann::json;

json ask(const OpRegistry& registry, const std::string& op, const json& args) {
  return json::parse(registry.answer(json{{"op", op}, {"args", args}}.dump()));
}

TEST(DmutilsImages, ConvertsAnImageFileIntoABitmapBesideIt) {
  OpRegistry registry;
  registerAllOps(registry);
  test::TempDrive drive;
  drive.write("alto.gif", test::makeImage(test::ImageFormat::Gif, 100, 500));
  const json answer = ask(registry, "converterImagemSaida", {drive.path("alto.gif"), 300, 300});
  ASSERT_TRUE(answer.contains("result")) << answer.dump();
  const std::string path = answer["result"];
  ASSERT_EQ(path.rfind(drive.path("altogif_"), 0), 0u) << path;
  const test::DecodedImage bitmap = test::decodeImageBytes(drive.read(path));
  ASSERT_TRUE(bitmap.ok);
  EXPECT_EQ(bitmap.width, 60);
  EXPECT_EQ(bitmap.height, 300);

  EXPECT_EQ(ask(registry, "converterImagemSaida", {drive.path("alto.GIF"), 300, 300}),
            (json{{"op", "converterImagemSaida"}, {"result", ""}}));
  drive.write("cortada.png", "\x89PNG\r\n\x1A\n");
  const json error = ask(registry, "converterImagemSaida", {drive.path("cortada.png"), 300, 300});
  ASSERT_TRUE(error.contains("error")) << error.dump();
  EXPECT_NE(error["error"].get<std::string>().find("cortada.png"), std::string::npos);
}

TEST(DmutilsImages, ProportionsAndCentimetres) {
  OpRegistry registry;
  registerAllOps(registry);
  EXPECT_EQ(ask(registry, "converteProporcaoAltLarg", {300, 1000, 500}),
            (json{{"op", "converteProporcaoAltLarg"}, {"result", nullptr}, {"out", {{"ABaseHeight", 300}, {"ABaseWidth", 150}}}}));
  EXPECT_EQ(ask(registry, "converteProporcaoAltLarg", {300, 400, 400})["out"], (json{{"ABaseHeight", 300}, {"ABaseWidth", 300}}));
  EXPECT_EQ(ask(registry, "centimetrosParaPixels", {2.5}), (json{{"op", "centimetrosParaPixels"}, {"result", 94}}));
  EXPECT_EQ(ask(registry, "centimetrosParaPixels", {25}), (json{{"op", "centimetrosParaPixels"}, {"result", 945}}));
  for (const json& bad : {json{300, 1000}, json{300, "1000", 500}, json{"2,5"}}) {
    SCOPED_TRACE(bad.dump());
    const json answer = ask(registry, bad.size() == 1 ? "centimetrosParaPixels" : "converteProporcaoAltLarg", bad);
    ASSERT_TRUE(answer.contains("error"));
    EXPECT_EQ(answer["error"].get<std::string>().rfind("wrong arguments: ", 0), 0u);
  }
}

} // namespace
} // namespace vt::tools
