// The layout arithmetic of the image helpers: the target size of a converted
// image, the square fit of a height and a width, and centimetres to pixels.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "utils/images.h"

namespace vt::utils {
namespace {

TEST(BitmapTargetSize, SmallImagesKeepTheirSizeAndOthersTakeTheHeightLimit) {
  struct Case {
    ImageSize image;
    int maxHeight, maxWidth;
    ImageSize expected;
  };
  const Case cases[] = {
      {{200, 100}, 300, 300, {200, 100}},   // smaller on both sides
      {{299, 299}, 300, 300, {299, 299}},
      {{300, 100}, 300, 300, {300, 300}},   // as wide as the limit: the height becomes 300, the width is capped
      {{100, 500}, 300, 300, {60, 300}},    // tall: width follows the height's percentage
      {{1000, 100}, 300, 300, {300, 300}},  // wide: 3000 capped at 300, proportions not kept
      {{400, 300}, 150, 800, {200, 150}},   // scaled down, within the width
      {{7, 3}, 100, 1000, {7, 3}},
      {{1000, 30}, 10, 5000, {333, 10}},    // truncated
      {{200, 100}, 0, 300, {0, 0}},         // no area: never drawn
      {{200, 100}, -5, 300, {-10, -5}},
      {{200, 100}, 300, 0, {0, 300}},
      {{INT_MAX, 2}, 2, INT_MAX, {INT_MAX, 2}}, // the product needs 64 bits
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.image.width << "x" << c.image.height << " in " << c.maxHeight << "/"
                                    << c.maxWidth);
    EXPECT_EQ(bitmapTargetSize(c.image, c.maxHeight, c.maxWidth), c.expected);
  }
}

TEST(ConverteProporcaoAltLarg, FitsHeightAndWidthIntoTheSquareLimit) {
  struct Case {
    int limit, height, width;
    int expectedHeight, expectedWidth;
  };
  const Case cases[] = {
      {300, 1000, 500, 300, 150}, // the example: width smaller than height
      {300, 500, 1000, 150, 300}, // roles exchanged
      {300, 200, 300, 200, 300},  // both within: unchanged
      {300, 400, 400, 300, 300},  // equal and above: both become the limit
      {300, 301, 300, 300, 297},  // 300*100/301 = 99 %, of 300
      {300, 50, 29, 50, 29},      // within
      {100, 50, 290, 17, 100},    // 50*100/290 = 17 %
      {100, 290, 168, 100, 57},   // 168*100/290 = 57.93 -> 57 % (exact integers, never 57.99999)
      {0, 10, 5, 0, 0},           // a limit of 0
      {300, 0, 500, 0, 300},      // a side of 0: its percentage is 0
      {-1, 0, -5, 0, -5},         // a negative limit changes nothing (no division by zero)
      {300, -400, 900, -400, 900},// a negative side changes nothing
      {INT_MAX - 1, INT_MAX, INT_MAX, INT_MAX - 1, INT_MAX - 1},
      {10, INT_MAX, 1, 10, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.limit << ": " << c.height << " x " << c.width);
    int height = c.height, width = c.width;
    ImageHelpers::converteProporcaoAltLarg(c.limit, height, width);
    EXPECT_EQ(height, c.expectedHeight);
    EXPECT_EQ(width, c.expectedWidth);
  }
}

TEST(CentimetrosParaPixels, TimesThirtySevenPointEightTruncatedTowardsZero) {
  struct Case {
    double centimetres;
    int pixels;
  };
  const Case cases[] = {
      {1.0, 37},   {10.0, 378}, {2.5, 94},        {0.5, 18},   {0.1, 3},         {0.0, 0},
      {-1.0, -37}, {-0.5, -18}, {100.0, 3780},    {21.0, 793}, {29.7, 1122}, {25.0, 945}, {50.0, 1890},
      {1e12, INT_MAX},          {-1e12, INT_MIN}, {std::numeric_limits<double>::infinity(), INT_MAX},
      {std::nan(""), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.centimetres);
    EXPECT_EQ(ImageHelpers::centimetrosParaPixels(c.centimetres), c.pixels);
  }
}

} // namespace
} // namespace vt::utils
