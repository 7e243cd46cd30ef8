#include "platform/device_bitmap.h"

#include <array>
#include <bit>
#include <cstring>
#include <vector>

namespace zorv {
namespace {

constexpr std::int64_t kLargestBitmapPixels = std::int64_t{1} << 28;

std::uint32_t ColourOf(const RgbQuad& entry) { return PackRgb(entry.rgbRed, entry.rgbGreen, entry.rgbBlue); }

// Turns one row of 1-, 4- or 8-bit indices into colours, packed from the top bit.
template <int Bits>
void ConvertIndexedRow(const std::uint8_t* row, std::uint32_t* out, std::int32_t width,
                       const std::array<std::uint32_t, 256>& table) {
  constexpr int kPerByte = 8 / Bits;
  constexpr unsigned kMask = (1U << Bits) - 1U;
  for (std::int32_t x = 0; x < width; ++x) {
    const unsigned byte = row[x / kPerByte];
    const int shift = 8 - Bits * (x % kPerByte + 1);
    out[x] = table[(byte >> shift) & kMask];
  }
}

// Blue, green, red in memory are the low three bytes of a little-endian word.
// A 3-byte pixel is read as a word too, but for the row's last one, whose
// fourth byte may lie past the rows.
template <int BytesPerPixel>
void ConvertTrueColourRow(const std::uint8_t* row, std::uint32_t* out, std::int32_t width) {
  std::int32_t x = 0;
  if constexpr (std::endian::native == std::endian::little) {
    for (const std::int32_t words = BytesPerPixel == 4 ? width : width - 1; x < words; ++x, row += BytesPerPixel) {
      std::uint32_t pixel;
      std::memcpy(&pixel, row, 4);
      out[x] = pixel & 0xFFFFFFU;
    }
  }
  for (; x < width; ++x, row += BytesPerPixel) out[x] = PackRgb(row[2], row[1], row[0]);
}

}  // namespace

std::optional<Image> CreateDeviceBitmap(const BitmapInfoHeader& header, std::span<const RgbQuad> colours,
                                        std::span<const std::uint8_t> rows) {
  const int bits = header.biBitCount;
  if (header.biSize != sizeof(BitmapInfoHeader) || header.biPlanes != 1 || header.biCompression != 0) return {};
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return {};
  const std::int64_t width = header.biWidth;
  const std::int64_t height = header.biHeight < 0 ? -std::int64_t{header.biHeight} : header.biHeight;
  if (width <= 0 || height <= 0 || width * height > kLargestBitmapPixels) return {};
  const std::int64_t stride = BitmapRowStride(width, bits);
  if (static_cast<std::int64_t>(rows.size()) < stride * height) return {};

  std::array<std::uint32_t, 256> table{};
  if (bits <= 8) {
    const std::size_t entries = std::size_t{1} << bits;
    if (colours.size() < entries) return {};
    for (std::size_t i = 0; i < entries; ++i) table[i] = ColourOf(colours[i]);
  }

  // Each row is converted into a small buffer and appended: the picture's
  // pixels are written once, not zeroed first.
  Image image;
  image.width = static_cast<std::int32_t>(width);
  image.height = static_cast<std::int32_t>(height);
  image.pixels.reserve(static_cast<std::size_t>(width * height));
  std::vector<std::uint32_t> converted(static_cast<std::size_t>(width));
  const bool topDown = header.biHeight < 0;
  for (std::int64_t y = 0; y < height; ++y) {
    const std::uint8_t* row = rows.data() + (topDown ? y : height - 1 - y) * stride;
    std::uint32_t* out = converted.data();
    const auto w = static_cast<std::int32_t>(width);
    switch (bits) {
      case 1: ConvertIndexedRow<1>(row, out, w, table); break;
      case 4: ConvertIndexedRow<4>(row, out, w, table); break;
      case 8: ConvertIndexedRow<8>(row, out, w, table); break;
      case 24: ConvertTrueColourRow<3>(row, out, w); break;
      default: ConvertTrueColourRow<4>(row, out, w); break;
    }
    image.pixels.insert(image.pixels.end(), converted.begin(), converted.end());
  }
  return image;
}

}  // namespace zorv
