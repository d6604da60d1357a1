#include "utils/image_codec.h"

#include <cstring>

#include "utils/images.h"

// The codecs are compiled here, private to this file.
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
#define STBI_ONLY_JPEG
#define STBI_ONLY_PNG
#define STBI_ONLY_BMP
#define STBI_ONLY_GIF
#include <stb/stb_image.h>

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb/stb_image_write.h>

#define STB_IMAGE_RESIZE_STATIC
#define STB_IMAGE_RESIZE_IMPLEMENTATION
#include <stb/stb_image_resize.h>

namespace vt::utils {
namespace {

[[noreturn]] void unreadable(const std::string& path, const std::string& why) {
  throw ImageReadError("Cannot read image \"" + path + "\". " + why);
}

uint32_t le16(std::string_view b, size_t at) {
  return static_cast<uint8_t>(b[at]) | static_cast<uint32_t>(static_cast<uint8_t>(b[at + 1])) << 8;
}
uint32_t le32(std::string_view b, size_t at) { return le16(b, at) | le16(b, at + 2) << 16; }

bool startsWith(std::string_view bytes, std::string_view magic) { return bytes.substr(0, magic.size()) == magic; }

bool hasSignature(std::string_view bytes, ImageKind kind) {
  switch (kind) {
  case ImageKind::Jpeg: return startsWith(bytes, "\xFF\xD8\xFF");
  case ImageKind::Gif: return startsWith(bytes, "GIF87a") || startsWith(bytes, "GIF89a");
  case ImageKind::Bitmap: return startsWith(bytes, "BM");
  case ImageKind::Png: return startsWith(bytes, std::string_view("\x89PNG\r\n\x1A\n", 8));
  }
  return false;
}

// stb_image reads past the end of a bitmap or a GIF as zeros; these walks
// tell a file cut short from a whole one. (JPEG and PNG cut short already
// fail in the decoder.)
bool bitmapComplete(std::string_view b) {
  if (b.size() < 26) return false;
  const uint32_t dataOffset = le32(b, 10);
  const uint32_t headerSize = le32(b, 14);
  int64_t width, height;
  uint32_t bits, compression = 0;
  if (headerSize == 12) {
    width = le16(b, 18), height = le16(b, 20), bits = le16(b, 24);
  } else {
    if (b.size() < 34) return false;
    width = static_cast<int32_t>(le32(b, 18)), height = static_cast<int32_t>(le32(b, 22));
    bits = le16(b, 28), compression = le32(b, 30);
  }
  if (height < 0) height = -height;
  // Only uncompressed rows have a size to check; the decoder refuses the rest.
  if (compression != 0 && compression != 3) return true;
  const int64_t row = (width * bits + 31) / 32 * 4;
  return static_cast<int64_t>(b.size()) >= int64_t{dataOffset} + row * height;
}

bool gifFirstImageComplete(std::string_view b) {
  size_t at = 13;
  if (b.size() < at) return false;
  const auto skipTable = [&](uint8_t flags) {
    if (flags & 0x80) at += 3u << ((flags & 0x07) + 1);
  };
  const auto skipSubBlocks = [&]() {
    while (at < b.size()) {
      const uint8_t length = static_cast<uint8_t>(b[at++]);
      if (length == 0) return true;
      at += length;
    }
    return false;
  };
  skipTable(static_cast<uint8_t>(b[10]));
  while (at < b.size()) {
    const uint8_t block = static_cast<uint8_t>(b[at++]);
    if (block == 0x21) { // an extension: its label, then its sub-blocks
      ++at;
      if (!skipSubBlocks()) return false;
    } else if (block == 0x2C) { // the first image: descriptor, table, code size, data
      if (at + 9 > b.size()) return false;
      const uint8_t flags = static_cast<uint8_t>(b[at + 8]);
      at += 9;
      skipTable(flags);
      ++at;
      return skipSubBlocks();
    } else {
      return false;
    }
  }
  return false;
}

} // namespace

RgbImage decodeImage(std::string_view bytes, ImageKind kind, const std::string& path) {
  if (!hasSignature(bytes, kind)) unreadable(path, "The file is not an image of the kind its name says.");
  if ((kind == ImageKind::Bitmap && !bitmapComplete(bytes)) || (kind == ImageKind::Gif && !gifFirstImageComplete(bytes)))
    unreadable(path, "The image is cut short.");
  int width = 0, height = 0, channels = 0;
  stbi_uc* pixels = stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(bytes.data()), static_cast<int>(bytes.size()),
                                          &width, &height, &channels, 4);
  if (!pixels) unreadable(path, stbi_failure_reason());
  RgbImage image;
  image.width = width;
  image.height = height;
  image.rgb.resize(static_cast<size_t>(width) * height * 3);
  for (size_t i = 0, n = static_cast<size_t>(width) * height; i < n; ++i) {
    const unsigned alpha = pixels[i * 4 + 3];
    for (int c = 0; c < 3; ++c)
      image.rgb[i * 3 + c] = static_cast<uint8_t>((pixels[i * 4 + c] * alpha + 255 * (255 - alpha) + 127) / 255);
  }
  stbi_image_free(pixels);
  return image;
}

RgbImage scaleImage(const RgbImage& image, int width, int height) {
  RgbImage scaled;
  scaled.width = width;
  scaled.height = height;
  scaled.rgb.resize(static_cast<size_t>(width) * height * 3);
  stbir_resize_uint8(image.rgb.data(), image.width, image.height, 0, scaled.rgb.data(), width, height, 0, 3);
  return scaled;
}

std::string encodeBitmap(const RgbImage& image) {
  std::string file;
  stbi_write_bmp_to_func(
      [](void* context, void* data, int size) { static_cast<std::string*>(context)->append(static_cast<char*>(data), size); },
      &file, image.width, image.height, 3, image.rgb.data());
  return file;
}

} // namespace vt::utils
