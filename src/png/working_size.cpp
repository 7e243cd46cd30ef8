#include "png/working_size.h"

#include <algorithm>

namespace zorv::png {

std::optional<std::int64_t> InflatedSizeWithinLimit(const PixelFormat& format, std::int64_t interlacing) {
  const std::int64_t width = format.width;
  const std::int64_t height = format.height;
  // A width or height of 2^31 or more reads as negative: a lying header.
  if (width < 0 || height < 0) return std::nullopt;
  const std::int64_t limit = kLargestWorkingBuffer;
  // Rows and pixels are each checked before they are multiplied, so nothing overflows.
  if (width > 0 && height > limit / width) return std::nullopt;
  const std::int64_t pixels = width * height;
  const std::int64_t rowLength = ScanlineLength(format);
  // Rows are held whole even when there are none of them (line buffers, a
  // row of background), so a row alone must fit as well.
  if (rowLength > limit || 4 * width > limit) return std::nullopt;
  if (height > 0 && rowLength > limit / height) return std::nullopt;
  const std::int64_t stored = height * rowLength;
  const std::int64_t inflated = interlacing == 0 ? stored : interlacing == 1 ? stored + height : 0;

  const std::int64_t bitsPerPixel = BitsPerPixel(format);
  const std::int64_t passBuiltPixel = bitsPerPixel >= 8 ? bitsPerPixel / 8 : 1;
  const std::int64_t largest = std::max({inflated + 101, 4 * pixels, passBuiltPixel * pixels,
                                         height * RowStride(width, 24), height * RowStride(width, 8)});
  if (largest > limit) return std::nullopt;
  return inflated;
}

}  // namespace zorv::png
