#pragma once
// The size rules of stored and converted rows, from the image header and the
// bits per sample that the decoder forces once samples have been converted.
#include <cstdint>

namespace zorv::png {

struct PixelFormat {
  std::int64_t width = 0;
  std::int64_t height = 0;
  std::int64_t bitDepth = 0;         // `Bitdepht`
  std::int64_t colourType = 0;       // `ColorType`
  std::int64_t outBitsPerPixel = 0;  // `OutBitsPerPixel`: 0, or the depth forced after a conversion
};

// Samples per pixel of a colour type: grey 1, RGB 3, palette 1, grey + alpha 2,
// RGBA 4; 0 for any other type.
std::int64_t SamplesPerPixel(std::int64_t colourType);

// Bits of one pixel: the forced depth when it is set and differs from the
// header's, else the header's depth, times the samples per pixel.
std::int64_t BitsPerPixel(const PixelFormat& format);

// The distance to the pixel on the left in bytes; 1 for pixels under 8 bits.
std::int64_t BytesPerPixel(const PixelFormat& format);

// A stored row including its filter-type byte.
std::int64_t ScanlineLength(const PixelFormat& format);

// Bytes of a bitmap row of `width` pixels of `bitsPerPixel` bits: whole 32-bit words.
std::int64_t RowStride(std::int64_t width, std::int64_t bitsPerPixel);

}  // namespace zorv::png
