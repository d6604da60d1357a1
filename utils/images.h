#pragma once
// The image and layout helpers of the utility module (a facet of TdmUtils):
// proportions and units for layouts, and the conversion of a JPEG, GIF, PNG
// or bitmap file into a bitmap scaled to fit the suite's print layouts.
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/clock.h"
#include "platform/regional.h"

namespace vt::utils {

// An image file whose contents cannot be read as the kind its extension
// names: not an image of that kind, damaged or cut short.
class ImageReadError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

struct ImageSize {
  int width = 0;
  int height = 0;
  bool operator==(const ImageSize&) const = default;
};

// The size an image of `image` is drawn at for the limits: an image smaller
// than both keeps its size; otherwise the height becomes maxHeight and the
// width follows it by the same percentage, but never above maxWidth (the
// proportions are then not kept). The arithmetic is exact integers
// (width × maxHeight ÷ height, truncated) in 64 bits, so no product
// overflows; a limit of 0 or below gives a size without area, which is never
// drawn.
ImageSize bitmapTargetSize(ImageSize image, int maxHeight, int maxWidth);

struct ImageHelpers {
  // Fits a height and a width into a square limit (both at most the limit:
  // unchanged; the larger side becomes the limit and the smaller keeps its
  // percentage of it, truncated; equal sides both become the limit).
  // The percentage is taken in exact integers (smaller × 100 ÷ larger).
  // A negative limit or side has no meaning for a layout: nothing changes.
  static void converteProporcaoAltLarg(int AMaxProporcao, int& ABaseHeight, int& ABaseWidth);

  // Centimetres to pixels at 96 dots per inch (37.8 to the centimetre),
  // truncated towards zero. A value that is not a number gives 0; one beyond
  // the Integer range gives the nearest end of it.
  static int centimetrosParaPixels(double AMilimetro);
};

// converterImagemSaida: reads AOriginal by its extension (exactly ".jpg",
// ".gif", ".bmp" or ".png"; any other gives the empty text at once, nothing
// read or written), draws it scaled (bitmapTargetSize) into a 24-bit bitmap
// and writes it beside the original as <name without points>_<digits of the
// date and time>.bmp, replacing a file of that name; after a pause of one
// second on `clock` it answers that path when the file exists, else the
// empty text. A PNG goes through the temporary bitmap <name without
// points>_temp.bmp, which is deleted again. The file's read error
// (platform::OsError) and the image's (ImageReadError) pass to the caller,
// and then nothing is written.
std::string converterImagemSaida(platform::Clock& clock, std::string_view AOriginal, int AMaxHeight, int AMaxWidth,
                                 const platform::RegionalFormats& formats = platform::userRegionalFormats());

} // namespace vt::utils
