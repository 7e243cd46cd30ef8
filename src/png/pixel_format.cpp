#include "png/pixel_format.h"

#include "platform/device_bitmap.h"
#include "png/png_format.h"

namespace zorv::png {

std::int64_t SamplesPerPixel(std::int64_t colourType) {
  switch (colourType) {
    case kGrey: return 1;
    case kRgb: return 3;
    case kPalette: return 1;
    case kGreyAlpha: return 2;
    case kRgbAlpha: return 4;
    default: return 0;
  }
}

std::int64_t BitsPerPixel(const PixelFormat& format) {
  const bool forced = format.outBitsPerPixel != 0 && format.outBitsPerPixel != format.bitDepth;
  return (forced ? format.outBitsPerPixel : format.bitDepth) * SamplesPerPixel(format.colourType);
}

std::int64_t BytesPerPixel(const PixelFormat& format) {
  const std::int64_t bytes = BitsPerPixel(format) / 8;
  return bytes == 0 ? 1 : bytes;
}

std::int64_t ScanlineLength(const PixelFormat& format) { return (format.width * BitsPerPixel(format) + 7) / 8 + 1; }

std::int64_t RowStride(std::int64_t width, std::int64_t bitsPerPixel) { return BitmapRowStride(width, bitsPerPixel); }

}  // namespace zorv::png
