// converterImagemSaida on real image files of the four kinds, made in the
// test, and the bitmaps it writes read back with stb_image.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <set>
#include <stdexcept>
#include <string>

#include "tests/dmutils/module_fixture.h"
#include "tests/fixtures/image_files.h"

namespace vt {
namespace {

using namespace std::chrono_literals;
using test::ImageFormat;

// Each conversion starts at 10/12/2026 09:30:00 on the test's clock (its
// one-second wait moves the clock on).
constexpr const char* kStamp = "10122026093000";

class ImageConversion : public ::testing::Test {
protected:
  test::ModuleFixture f;

  std::string convert(const std::string& file, int maxHeight, int maxWidth) {
    f.clock.set({2026, 12, 10, 9, 30, 0, 0, 5});
    return f.dmUtils.converterImagemSaida(f.drive.path(file), maxHeight, maxWidth);
  }

  std::set<std::string> filesInRoot() const {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(f.drive.host()))
      names.insert(entry.path().filename().string());
    return names;
  }
};

TEST_F(ImageConversion, EachKindIsDrawnAtItsTargetSizeIntoABitmapBesideIt) {
  struct Case {
    ImageFormat format;
    const char* file;
    int width, height, maxHeight, maxWidth;
    int expectedWidth, expectedHeight;
  };
  const Case cases[] = {
      {ImageFormat::Png, "logo.png", 200, 100, 300, 300, 200, 100},      // smaller than both limits
      {ImageFormat::Jpeg, "foto.jpg", 200, 100, 300, 300, 200, 100},
      {ImageFormat::Gif, "alto.gif", 100, 500, 300, 300, 60, 300},       // tall: scaled down
      {ImageFormat::Bitmap, "largo.bmp", 1000, 100, 300, 300, 300, 300}, // wide: height to 300, width capped
      {ImageFormat::Png, "cupom.v2.png", 120, 600, 200, 200, 40, 200},
      {ImageFormat::Jpeg, "faixa.jpg", 800, 200, 100, 1000, 400, 100},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    f.drive.write(c.file, test::makeImage(c.format, c.width, c.height));
    const size_t pausesBefore = f.clock.pauses().size();

    const std::string result = convert(c.file, c.maxHeight, c.maxWidth);

    std::string stem = c.file;
    std::erase(stem, '.');
    const std::string expected = f.drive.path(stem + "_" + kStamp + ".bmp");
    EXPECT_EQ(result, expected);
    ASSERT_TRUE(f.drive.exists(stem + "_" + kStamp + ".bmp"));
    const std::string written = f.drive.read(stem + "_" + kStamp + ".bmp");
    EXPECT_EQ(written.substr(0, 2), "BM");
    const test::DecodedImage bitmap = test::decodeImageBytes(written);
    ASSERT_TRUE(bitmap.ok);
    EXPECT_EQ(bitmap.width, c.expectedWidth);
    EXPECT_EQ(bitmap.height, c.expectedHeight);
    // The picture is drawn, not a blank sheet: red grows to the right, green downwards.
    const uint32_t topLeft = bitmap.rgbAt(0, 0), bottomRight = bitmap.rgbAt(bitmap.width - 1, bitmap.height - 1);
    EXPECT_LT(topLeft >> 16, 60u);
    EXPECT_GT(bottomRight >> 16, 190u);
    EXPECT_LT((topLeft >> 8) & 0xFF, 60u);
    EXPECT_GT((bottomRight >> 8) & 0xFF, 190u);
    // One wait of a second, and the original stays.
    ASSERT_EQ(f.clock.pauses().size(), pausesBefore + 1);
    EXPECT_EQ(f.clock.pauses().back(), 1000ms);
    EXPECT_TRUE(f.drive.exists(c.file));
  }
  // No temporary bitmap of the PNG round trip is left behind.
  for (const std::string& name : filesInRoot()) EXPECT_EQ(name.find("_temp.bmp"), std::string::npos) << name;
}

TEST_F(ImageConversion, TransparentPixelsOfAPngAreLaidOnWhite) {
  f.drive.write("selo.png", test::makeImage(ImageFormat::PngWithAlpha, 40, 20));
  const std::string result = convert("selo.png", 300, 300);
  ASSERT_FALSE(result.empty());
  const test::DecodedImage bitmap = test::decodeImageBytes(f.drive.read(result));
  ASSERT_TRUE(bitmap.ok);
  EXPECT_EQ(bitmap.rgbAt(0, 0), 0xFFFFFFu);
  EXPECT_EQ(bitmap.rgbAt(39, 19), 0xFFFF80u);
  EXPECT_FALSE(f.drive.exists("selopng_temp.bmp"));
}

TEST_F(ImageConversion, AnotherExtensionGivesTheEmptyTextAndTouchesNothing) {
  for (const char* file : {"foto.JPG", "foto.Png", "foto.jpeg", "foto", "foto.png.txt"}) {
    SCOPED_TRACE(file);
    f.drive.write(file, test::makeImage(ImageFormat::Jpeg, 20, 10));
    const auto before = filesInRoot();
    EXPECT_EQ(convert(file, 300, 300), "");
    EXPECT_EQ(filesInRoot(), before);
  }
  EXPECT_TRUE(f.clock.pauses().empty());
}

TEST_F(ImageConversion, AnUnreadableImageRaisesItsReadErrorAndWritesNothing) {
  const std::string png = test::makeImage(ImageFormat::Png, 64, 48);
  const std::string jpeg = test::makeImage(ImageFormat::Jpeg, 64, 48);
  const std::string bitmap = test::makeImage(ImageFormat::Bitmap, 64, 48);
  const std::string gif = test::makeImage(ImageFormat::Gif, 64, 48);
  struct Case {
    const char* file;
    std::string bytes;
  };
  const Case cases[] = {
      {"cortada.png", png.substr(0, png.size() / 2)},
      {"cortada.jpg", jpeg.substr(0, jpeg.size() * 9 / 10)},
      {"cortado.bmp", bitmap.substr(0, bitmap.size() - 100)},
      {"cortado.gif", gif.substr(0, gif.size() / 2)},
      {"sem-dados.gif", gif.substr(0, 13)},
      {"png-de-nome-jpg.jpg", png},
      {"texto.bmp", "isto não é uma imagem"},
      {"vazio.png", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    f.drive.write(c.file, c.bytes);
    std::string stem = c.file;
    std::erase(stem, '.');
    // An earlier conversion's output of the same name stays as it was.
    const std::string earlier = stem + "_" + kStamp + ".bmp";
    f.drive.write(earlier, "anterior");
    const auto before = filesInRoot();
    EXPECT_THROW(convert(c.file, 300, 300), utils::ImageReadError);
    EXPECT_EQ(filesInRoot(), before);
    EXPECT_EQ(f.drive.read(earlier), "anterior");
  }
  // A missing file is the platform's read error.
  EXPECT_THROW(convert("nao-existe.png", 300, 300), std::runtime_error);
  EXPECT_TRUE(f.clock.pauses().empty());
}

TEST_F(ImageConversion, AnEarlierFileOfTheOutputNameIsReplaced) {
  f.drive.write("logo.gif", test::makeImage(ImageFormat::Gif, 30, 20));
  f.drive.write(std::string("logogif_") + kStamp + ".bmp", "anterior");
  const std::string result = convert("logo.gif", 300, 300);
  ASSERT_EQ(result, f.drive.path(std::string("logogif_") + kStamp + ".bmp"));
  const test::DecodedImage bitmap = test::decodeImageBytes(f.drive.read(result));
  ASSERT_TRUE(bitmap.ok);
  EXPECT_EQ(bitmap.width, 30);
  EXPECT_EQ(bitmap.height, 20);
}

TEST_F(ImageConversion, LimitsWithoutAreaWriteNoBitmapAndGiveTheEmptyText) {
  f.drive.write("logo.png", test::makeImage(ImageFormat::Png, 200, 100));
  const std::string output = std::string("logopng_") + kStamp + ".bmp";
  struct Case {
    int maxHeight, maxWidth;
  };
  for (const Case c : {Case{0, 300}, Case{300, 0}, Case{0, 0}, Case{-5, -5}, Case{-1, 300}}) {
    SCOPED_TRACE(testing::Message() << c.maxHeight << "/" << c.maxWidth);
    f.drive.write(output, "anterior");
    EXPECT_EQ(convert("logo.png", c.maxHeight, c.maxWidth), "");
    // The output name was cleared for a bitmap that could not be drawn.
    EXPECT_FALSE(f.drive.exists(output));
    EXPECT_FALSE(f.drive.exists("logopng_temp.bmp"));
  }
  // Still the one-second wait each time: the contract's answer comes after it.
  EXPECT_EQ(f.clock.pauses().size(), 5u);
}

TEST_F(ImageConversion, AFolderThatRefusesTheBitmapGivesTheEmptyText) {
  // A name in a folder that does not exist cannot be read either; the write
  // is refused when the output name is taken by a folder.
  f.drive.write("logo.jpg", test::makeImage(ImageFormat::Jpeg, 20, 10));
  std::filesystem::create_directories(f.drive.host(std::string("logojpg_") + kStamp + ".bmp"));
  EXPECT_EQ(convert("logo.jpg", 300, 300), "");
  EXPECT_EQ(f.clock.pauses().size(), 1u);
}

} // namespace
} // namespace vt
