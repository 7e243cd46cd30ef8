#pragma once
// How much memory the decoding of a header needs at most, so that a header
// claiming an enormous image fails before anything is allocated for it.
#include <cstdint>
#include <optional>

#include "png/pixel_format.h"

namespace zorv::png {

// The largest single buffer of a decoding. The blending and the bitmap hold up
// to two buffers of four bytes per pixel at once, so one picture costs at most
// twice this besides its file, and a header alone can never ask for more.
inline constexpr std::int64_t kLargestWorkingBuffer = std::int64_t{1} << 28;

// The most a raw deflate stream of `compressedBytes` bytes can inflate to: 258
// bytes for every two bits (a length code and a distance code of one bit each).
constexpr std::int64_t LongestInflation(std::int64_t compressedBytes) { return 1032 * compressedBytes + 1032; }

// The expected inflated size (Height stored rows, plus one filter byte per row
// when interlaced, 0 for an unknown interlace method); nothing unless every
// buffer of the decoding (the inflated data, the de-interlaced and padded rows,
// four bytes per pixel for transparency and the bitmap, and any single row,
// even of an image without rows) stays within kLargestWorkingBuffer.
std::optional<std::int64_t> InflatedSizeWithinLimit(const PixelFormat& format, std::int64_t interlacing);

}  // namespace zorv::png
