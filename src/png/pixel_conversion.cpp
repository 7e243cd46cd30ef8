#include "png/pixel_conversion.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "platform/image.h"
#include "platform/run_time_error.h"
#include "png/kernels.h"

namespace zorv::png {

void Reduce16To8(ByteBuffer& buffer) {
  if (buffer.size() % 2 != 0) throw RunTimeError(ErrorCode::SubscriptOutOfRange, "16-bit samples of odd length");
  const std::size_t half = buffer.size() / 2;
  for (std::size_t i = 0; i < half; ++i) buffer[i] = buffer[2 * i];
  buffer.resize(half);
}

namespace plain {

void SwapRgb(std::uint8_t* row, std::size_t n) {
  for (std::size_t at = 0; at + 2 < n; at += 3) std::swap(row[at], row[at + 2]);
}

void RgbToColours(const std::uint8_t* rgb, std::size_t width, std::uint32_t* out) {
  for (std::size_t x = 0; x < width; ++x) out[x] = PackRgb(rgb[3 * x], rgb[3 * x + 1], rgb[3 * x + 2]);
}

}  // namespace plain

void RgbRowToBgr(std::span<std::uint8_t> row) { Kernels().swapRgb(row.data(), row.size()); }

void RgbToBgr(ByteBuffer& buffer) { RgbRowToBgr(buffer); }

void RgbRowToColours(const std::uint8_t* row, std::size_t width, std::uint32_t* out) {
  Kernels().rgbToColours(row, width, out);
}

// Eight indices come from one word: a load each would double the loads of a
// loop that does little else. (A gather instruction was measured slower still.)
void PaletteRowToColours(const std::uint8_t* indices, std::size_t width, const std::uint32_t* table,
                         std::uint32_t* out) {
  std::size_t x = 0;
  for (; x + 8 <= width; x += 8) {
    std::uint64_t eight;
    std::memcpy(&eight, indices + x, 8);
    if constexpr (std::endian::native == std::endian::big) eight = __builtin_bswap64(eight);
#pragma GCC unroll 8
    for (std::size_t i = 0; i < 8; ++i) out[x + i] = table[(eight >> (8 * i)) & 0xFF];
  }
  for (; x < width; ++x) out[x] = table[indices[x]];
}

void GreyAlphaToBgra(ByteBuffer& buffer) {
  if (buffer.size() % 2 != 0) throw RunTimeError(ErrorCode::SubscriptOutOfRange, "grey and alpha of odd length");
  const std::size_t pairs = buffer.size() / 2;
  buffer.resize(4 * pairs);
  // From the last pair backwards, so that no pair is overwritten before it is read.
  for (std::size_t i = pairs; i-- > 0;) {
    const std::uint8_t grey = buffer[2 * i];
    const std::uint8_t alpha = buffer[2 * i + 1];
    std::uint8_t* out = &buffer[4 * i];
    out[0] = grey;
    out[1] = grey;
    out[2] = grey;
    out[3] = alpha;
  }
}

void PadRows(std::int64_t bitsPerPixel, ByteBuffer& buffer, const PixelFormat& format) {
  if (bitsPerPixel == 32) return;
  const std::int64_t stride = RowStride(format.width, bitsPerPixel);
  const std::int64_t rowLength = ScanlineLength(format) - 1;
  if (stride == rowLength) return;
  const std::int64_t height = format.height;
  if (height > 0 && (rowLength < 0 || height * rowLength > static_cast<std::int64_t>(buffer.size()))) {
    throw RunTimeError(ErrorCode::SubscriptOutOfRange, "rows missing");
  }
  const auto length = static_cast<std::size_t>(std::min(rowLength, stride));
  const auto padding = static_cast<std::size_t>(stride) - length;
  const auto padded = static_cast<std::size_t>(std::max<std::int64_t>(height * stride, 0));
  if (stride > rowLength) {
    // Growing rows move from the last one backwards.
    buffer.resize(std::max(buffer.size(), padded));
    for (std::int64_t y = height; y-- > 0;) {
      std::uint8_t* target = buffer.data() + y * stride;
      std::memmove(target, buffer.data() + y * rowLength, length);
      std::memset(target + length, 0, padding);
    }
  } else {
    for (std::int64_t y = 0; y < height; ++y) std::memmove(buffer.data() + y * stride, buffer.data() + y * rowLength, length);
  }
  buffer.resize(padded);
}

void FlipRows(ByteBuffer& buffer, std::int64_t rowLength) {
  if (rowLength <= 0) throw RunTimeError(ErrorCode::Overflow, "rows of no bytes");
  const auto length = static_cast<std::size_t>(rowLength);
  const std::size_t rows = buffer.size() / length;
  for (std::size_t top = 0, bottom = rows; top + 1 < bottom; ++top, --bottom) {
    std::swap_ranges(buffer.begin() + static_cast<std::ptrdiff_t>(top * length),
                     buffer.begin() + static_cast<std::ptrdiff_t>((top + 1) * length),
                     buffer.begin() + static_cast<std::ptrdiff_t>((bottom - 1) * length));
  }
  std::fill(buffer.begin() + static_cast<std::ptrdiff_t>(rows * length), buffer.end(), 0);
}

namespace {

// One 4-byte pixel with its first and third bytes exchanged.
std::uint32_t SwapFirstAndThird(std::uint32_t pixel) {
  return (pixel & 0xFF00FF00U) | ((pixel >> 16) & 0xFFU) | ((pixel & 0xFFU) << 16);
}

}  // namespace

void RgbaToBgraFlipped(ByteBuffer& buffer, std::int64_t width) {
  if (width <= 0) throw RunTimeError(ErrorCode::Overflow, "rows of no bytes");
  const auto pixels = static_cast<std::size_t>(width);
  const std::size_t length = 4 * pixels;
  const std::size_t rows = buffer.size() / length;
  for (std::size_t top = 0, bottom = rows; top < bottom; ++top, --bottom) {
    std::uint8_t* upper = buffer.data() + top * length;
    std::uint8_t* lower = buffer.data() + (bottom - 1) * length;
    for (std::size_t x = 0; x < pixels; ++x) {
      std::uint32_t a;
      std::uint32_t b;
      std::memcpy(&a, upper + 4 * x, 4);
      std::memcpy(&b, lower + 4 * x, 4);
      a = SwapFirstAndThird(a);
      b = SwapFirstAndThird(b);
      std::memcpy(upper + 4 * x, &b, 4);
      std::memcpy(lower + 4 * x, &a, 4);
    }
  }
  std::fill(buffer.begin() + static_cast<std::ptrdiff_t>(rows * length), buffer.end(), 0);
}

}  // namespace zorv::png
