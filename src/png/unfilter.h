#pragma once
// Undoing the five row filters of the image data. Each row of stored data is a
// filter-type byte and the filtered bytes.
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "png/byte_buffer.h"
#include "png/pixel_format.h"
#include "png/png_format.h"

namespace zorv::png {

// Each rebuilds one row in place a byte at a time: the reference the kernels
// are tested against. `previous` is the rebuilt row above (zeros for the first
// row), as long as `row`; `bytesPerPixel` is the distance to the left neighbour.
void UnfilterSub(std::span<std::uint8_t> row, std::size_t bytesPerPixel);
void UnfilterUp(std::span<std::uint8_t> row, std::span<const std::uint8_t> previous);
void UnfilterAverage(std::span<std::uint8_t> row, std::span<const std::uint8_t> previous, std::size_t bytesPerPixel);
void UnfilterPaeth(std::span<std::uint8_t> row, std::span<const std::uint8_t> previous, std::size_t bytesPerPixel);

// Picks the filter's kernel by its type byte; a type above 4 leaves the row as stored.
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

// The plain kernels (png/kernels.h): whole rows, the distance fixed at 1, 2,
// 3, 4, 6 or 8 bytes so that the compiler knows it (0: as passed).
namespace plain {
void UnfilterNone(const std::uint8_t* in, std::uint8_t* out, const std::uint8_t* previous, std::size_t n,
                  std::size_t bytesPerPixel);
void UnfilterUp(const std::uint8_t* in, std::uint8_t* out, const std::uint8_t* previous, std::size_t n,
                std::size_t bytesPerPixel);
template <std::size_t Bpp>
void UnfilterSub(const std::uint8_t* in, std::uint8_t* out, const std::uint8_t* previous, std::size_t n,
                 std::size_t bytesPerPixel);
template <std::size_t Bpp>
void UnfilterAverage(const std::uint8_t* in, std::uint8_t* out, const std::uint8_t* previous, std::size_t n,
                     std::size_t bytesPerPixel);
template <std::size_t Bpp>
void UnfilterPaeth(const std::uint8_t* in, std::uint8_t* out, const std::uint8_t* previous, std::size_t n,
                   std::size_t bytesPerPixel);
}  // namespace plain

}  // namespace zorv::png
