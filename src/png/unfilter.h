#pragma once
// Undoing the five row filters of the image data. Each row of stored data is a
// filter-type byte and the filtered bytes; a filter predicts each byte from the
// byte one pixel to the left, the byte above and the byte above-left, and the
// stored byte is the difference modulo 256.
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "png/byte_buffer.h"
#include "png/pixel_format.h"

namespace zorv::png {

enum FilterType : std::uint8_t { kFilterNone = 0, kFilterSub = 1, kFilterUp = 2, kFilterAverage = 3, kFilterPaeth = 4 };

// The neighbour (left a, above b, upper left c) closest to a + b - c; ties go
// to a, then b.
std::uint8_t PaethPredictor(int a, int b, int c);

// Each rebuilds one row in place; `previous` is the rebuilt row above (zeros
// for the first row), as long as `row`; `bytesPerPixel` is the distance to the
// left neighbour.
void UnfilterSub(std::span<std::uint8_t> row, std::size_t bytesPerPixel);
void UnfilterUp(std::span<std::uint8_t> row, std::span<const std::uint8_t> previous);
void UnfilterAverage(std::span<std::uint8_t> row, std::span<const std::uint8_t> previous, std::size_t bytesPerPixel);
void UnfilterPaeth(std::span<std::uint8_t> row, std::span<const std::uint8_t> previous, std::size_t bytesPerPixel);

// Picks the filter by its type byte; a type above 4 leaves the row as stored.
void UnfilterRow(std::uint8_t filterType, std::span<std::uint8_t> row, std::span<const std::uint8_t> previous,
                 std::size_t bytesPerPixel);

// Turns `Height` stored rows into raw rows without their filter-type bytes, in
// place: the result has (data length - Height) bytes, and bytes past the last
// row are zero. Error 9 when the data holds fewer than Height rows.
// `convertRow`, when given, is handed each raw row, top row first, once the
// row below no longer needs it, while it is still in the cache: a conversion
// of whole rows fused into the same pass, in place or to somewhere else (the
// bytes past the last row are not handed on).
using RowConversion = std::function<void(std::span<std::uint8_t> row)>;
void Unfilter(ByteBuffer& data, const PixelFormat& format, const RowConversion& convertRow = {});

}  // namespace zorv::png
