#pragma once
// How much memory the decoding of a header needs at most, so that a header
// claiming an enormous image fails before anything is allocated for it.
#include <cstdint>
#include <optional>

#include "png/pixel_format.h"

namespace zorv::png {

inline constexpr std::int64_t kLargestWorkingBuffer = std::int64_t{1} << 30;

// The expected inflated size (Height stored rows, plus one filter byte per row
// when interlaced, 0 for an unknown interlace method); nothing unless every
// buffer of the decoding (the inflated data, the de-interlaced and padded rows,
// four bytes per pixel for transparency and the bitmap, and any single row,
// even of an image without rows) stays within 1 GiB.
std::optional<std::int64_t> InflatedSizeWithinLimit(const PixelFormat& format, std::int64_t interlacing);

}  // namespace zorv::png
