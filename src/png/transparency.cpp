#include "png/transparency.h"

#include "platform/run_time_error.h"
#include "png/pixel_format.h"

namespace zorv::png {
namespace {

[[noreturn]] void OutOfRange(const char* what) { throw RunTimeError(ErrorCode::SubscriptOutOfRange, what); }

template <int Bits>
std::size_t IndexAt(const std::uint8_t* row, std::int64_t x) {
  if constexpr (Bits == 8) {
    return row[x];
  } else {
    constexpr int kPerByte = 8 / Bits;
    const int shift = 8 - Bits * (static_cast<int>(x % kPerByte) + 1);
    return (row[x / kPerByte] >> shift) & ((1U << Bits) - 1U);
  }
}

template <int Bits>
void ExpandIndexedRows(std::int64_t width, std::int64_t height, std::span<const std::uint8_t> rows,
                       std::uint8_t* out, std::span<const std::uint8_t> palette,
                       std::span<const std::uint8_t> alphas) {
  const std::int64_t stride = RowStride(width, Bits);
  const std::size_t entries = palette.size() / 3;
  for (std::int64_t y = 0; y < height; ++y) {
    const std::uint8_t* row = rows.data() + y * stride;
    for (std::int64_t x = 0; x < width; ++x, out += 4) {
      const std::size_t index = IndexAt<Bits>(row, x);
      if (index >= entries) OutOfRange("palette index without an entry");
      out[0] = palette[3 * index + 2];
      out[1] = palette[3 * index + 1];
      out[2] = palette[3 * index];
      out[3] = index < alphas.size() ? alphas[index] : 255;
    }
  }
}

}  // namespace

std::vector<std::uint8_t> GreyAlphaTable(std::span<const std::uint8_t> trnsData, std::size_t levels) {
  if (trnsData.size() < 2 || trnsData[1] >= levels) OutOfRange("transparent grey level");
  std::vector<std::uint8_t> alphas(levels, 255);
  alphas[trnsData[1]] = 0;
  return alphas;
}

void IndexedToBgra(std::int64_t width, std::int64_t height, std::int64_t bitsPerPixel,
                   ByteBuffer& buffer, std::span<const std::uint8_t> palette,
                   std::span<const std::uint8_t> alphas) {
  ByteBuffer output(static_cast<std::size_t>(width * 4 * height), 0);
  if (bitsPerPixel == 1 || bitsPerPixel == 4 || bitsPerPixel == 8) {
    if (height > 0 && width > 0 && RowStride(width, bitsPerPixel) * height > static_cast<std::int64_t>(buffer.size())) {
      OutOfRange("index rows missing");
    }
    switch (bitsPerPixel) {
      case 1: ExpandIndexedRows<1>(width, height, buffer, output.data(), palette, alphas); break;
      case 4: ExpandIndexedRows<4>(width, height, buffer, output.data(), palette, alphas); break;
      default: ExpandIndexedRows<8>(width, height, buffer, output.data(), palette, alphas); break;
    }
  }
  buffer = std::move(output);
}

std::array<std::uint8_t, 3> RgbTransparentKey(std::span<const std::uint8_t> trnsData, std::int64_t bitDepth) {
  if (trnsData.size() < 6) OutOfRange("transparent colour");
  const std::size_t byte = bitDepth == 16 ? 0 : 1;
  return {trnsData[4 + byte], trnsData[2 + byte], trnsData[byte]};
}

void RgbKeyToBgra(std::int64_t width, std::int64_t height, ByteBuffer& buffer,
                  const std::array<std::uint8_t, 3>& key) {
  const std::int64_t stride = RowStride(width, 24);
  if (height > 0 && width > 0 && stride * height > static_cast<std::int64_t>(buffer.size())) OutOfRange("rows missing");
  const auto pixels = static_cast<std::size_t>(width * height);
  if (buffer.size() < 4 * pixels) buffer.resize(4 * pixels);
  // From the last pixel backwards: a pixel's four bytes never land on a pixel
  // that is still to be read.
  for (std::int64_t y = height; y-- > 0;) {
    for (std::int64_t x = width; x-- > 0;) {
      const std::uint8_t* in = buffer.data() + y * stride + 3 * x;
      const std::uint8_t blue = in[0];
      const std::uint8_t green = in[1];
      const std::uint8_t red = in[2];
      std::uint8_t* out = buffer.data() + 4 * (y * width + x);
      out[0] = blue;
      out[1] = green;
      out[2] = red;
      out[3] = blue == key[0] && green == key[1] && red == key[2] ? 0 : 255;
    }
  }
  buffer.resize(4 * pixels);
}

}  // namespace zorv::png
