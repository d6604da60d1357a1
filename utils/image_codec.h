#pragma once
// Image files in and out, on stb_image, stb_image_write and stb_image_resize:
// the four kinds the utility module reads, read only as the kind asked for
// and refused when cut short; 24-bit bitmaps out.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vt::utils {

enum class ImageKind { Jpeg, Gif, Bitmap, Png };

// Pixels as red, green and blue bytes, rows from the top.
struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;
};

// The image of the file's bytes. Transparent pixels are laid on white, as
// the image would print on paper. ImageReadError (naming `path`) when the
// bytes are not a complete image of that kind.
RgbImage decodeImage(std::string_view bytes, ImageKind kind, const std::string& path);
// The image drawn stretched into width × height (both above 0).
RgbImage scaleImage(const RgbImage& image, int width, int height);
// A 24-bit uncompressed bitmap file.
std::string encodeBitmap(const RgbImage& image);

} // namespace vt::utils
