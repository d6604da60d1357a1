#include "utils/images.h"

#include <chrono>
#include <climits>
#include <cmath>
#include <cstdint>
#include <vector>

#include "platform/files.h"
#include "platform/os_error.h"
#include "platform/process.h"
#include "utils/image_codec.h"
#include "utils/numbers_dates.h"
#include "utils/text.h"

namespace vt::utils {
namespace {

using namespace std::chrono_literals;

// No bitmap above this much pixel data is drawn (about 9400 × 9400 at 24
// bits): a limit typed by mistake must not exhaust the memory of a 32-bit
// terminal program.
constexpr int64_t kLargestBitmapBytes = int64_t{256} << 20;

size_t fileNameStart(std::string_view path) {
  const size_t cut = path.find_last_of("\\/:");
  return cut == std::string_view::npos ? 0 : cut + 1;
}

std::string withoutPoints(std::string_view name) {
  std::string out;
  for (char c : name)
    if (c != '.') out += c;
  return out;
}

// The temporary bitmap could not be deleted: the shell's "del", then "del /f".
void deleteStubbornFile(const std::string& path) {
  if (platform::deleteFile(path) || !platform::fileExists(path)) return;
  platform::shellOpen("cmd.exe", "/c del \"" + path + "\"", platform::kShowHidden);
  if (!platform::fileExists(path)) return;
  platform::shellOpen("cmd.exe", "/c del /f \"" + path + "\"", platform::kShowHidden);
}

} // namespace

ImageSize bitmapTargetSize(ImageSize image, int maxHeight, int maxWidth) {
  if (image.height < maxHeight && image.width < maxWidth) return image;
  if (image.height <= 0) return {0, maxHeight};
  const int64_t scaled = int64_t{image.width} * maxHeight / image.height;
  const int64_t width = scaled > maxWidth ? maxWidth : scaled;
  return {static_cast<int>(width), maxHeight};
}

void ImageHelpers::converteProporcaoAltLarg(int AMaxProporcao, int& ABaseHeight, int& ABaseWidth) {
  if (AMaxProporcao < 0 || ABaseHeight < 0 || ABaseWidth < 0) return;
  if (ABaseHeight <= AMaxProporcao && ABaseWidth <= AMaxProporcao) return;
  // Here the larger side is above a limit of 0 or more, so it divides.
  if (ABaseWidth < ABaseHeight) {
    const int64_t percent = int64_t{ABaseWidth} * 100 / ABaseHeight;
    ABaseHeight = AMaxProporcao;
    ABaseWidth = static_cast<int>(percent * ABaseHeight / 100);
  } else if (ABaseHeight < ABaseWidth) {
    const int64_t percent = int64_t{ABaseHeight} * 100 / ABaseWidth;
    ABaseWidth = AMaxProporcao;
    ABaseHeight = static_cast<int>(percent * ABaseWidth / 100);
  } else {
    ABaseHeight = AMaxProporcao;
    ABaseWidth = AMaxProporcao;
  }
}

int ImageHelpers::centimetrosParaPixels(double AMilimetro) {
  // 378 / 10 rather than the binary 37.8, which lies a little below 37.8:
  // twenty-five centimetres are 945 pixels, not 944.
  const double pixels = std::trunc(AMilimetro * 378.0 / 10.0);
  if (std::isnan(pixels)) return 0;
  if (pixels >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (pixels <= static_cast<double>(INT_MIN)) return INT_MIN;
  return static_cast<int>(pixels);
}

std::string converterImagemSaida(platform::Clock& clock, std::string_view AOriginal, int AMaxHeight, int AMaxWidth,
                                 const platform::RegionalFormats& formats) {
  const std::string original(AOriginal);
  const size_t nameStart = fileNameStart(original);
  const std::string folder = original.substr(0, nameStart);
  const std::string name = original.substr(nameStart);
  const size_t dot = name.find_last_of('.');
  const std::string extension = dot == std::string::npos ? std::string() : name.substr(dot);

  ImageKind kind;
  if (extension == ".jpg") kind = ImageKind::Jpeg;
  else if (extension == ".gif") kind = ImageKind::Gif;
  else if (extension == ".bmp") kind = ImageKind::Bitmap;
  else if (extension == ".png") kind = ImageKind::Png;
  else return {}; // the extension names no kind this conversion reads: nothing to draw, nothing to wait for

  RgbImage image = decodeImage(platform::readWholeFile(original), kind, original);
  if (kind == ImageKind::Png) {
    // The PNG's pixels go through a bitmap file of their own first. A folder
    // that refuses it refuses the result too; the pixels stay as read.
    const std::string temporary = folder + withoutPoints(name) + "_temp.bmp";
    try {
      platform::writeFileReplacing(temporary, encodeBitmap(image));
      image = decodeImage(platform::readWholeFile(temporary), ImageKind::Bitmap, temporary);
    } catch (const platform::OsError&) {
    }
    deleteStubbornFile(temporary);
  }

  const ImageSize target = bitmapTargetSize({image.width, image.height}, AMaxHeight, AMaxWidth);
  const std::string stamp = TextHelpers::soNumericos(dateTimeToText(nowDateTime(clock), formats));
  const std::string output = folder + withoutPoints(name) + "_" + stamp + ".bmp";
  if (platform::fileExists(output)) platform::deleteFile(output);

  const int64_t rowBytes = (int64_t{target.width} * 3 + 3) / 4 * 4;
  if (target.width > 0 && target.height > 0 && rowBytes * target.height <= kLargestBitmapBytes) {
    try {
      const bool sameSize = target.width == image.width && target.height == image.height;
      platform::writeFileReplacing(output, encodeBitmap(sameSize ? image : scaleImage(image, target.width, target.height)));
    } catch (const platform::OsError&) {
      // Not written: the empty answer below tells it.
    }
  }
  clock.pause(1s);
  return platform::fileExists(output) ? output : std::string();
}

} // namespace vt::utils
