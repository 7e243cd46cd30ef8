#pragma once
// Conversions of whole working buffers towards the rows a device bitmap takes:
// sample width, byte order, row padding and row order. Each rewrites the
// buffer in place, growing or shrinking it as its result needs.
#include <cstdint>
#include <span>
#include <vector>

#include "png/byte_buffer.h"
#include "png/pixel_format.h"

namespace zorv::png {

// Keeps the first byte of every pair: the high byte of 16-bit samples. Error 9
// for an odd length.
void Reduce16To8(ByteBuffer& buffer);

// Swaps the first and third byte of every 3-byte group; a trailing shorter
// group stays as it is.
void RgbToBgr(ByteBuffer& buffer);

// RgbToBgr on one row of whole 3-byte groups.
void RgbRowToBgr(std::span<std::uint8_t> row);

// One row of `width` 8-bit RGB pixels as device colours (0x00RRGGBB), written to `out`.
void RgbRowToColours(const std::uint8_t* row, std::size_t width, std::uint32_t* out);

// One row of `width` 8-bit palette indices as device colours, each looked up in
// `table` (256 device colours), written to `out`.
void PaletteRowToColours(const std::uint8_t* indices, std::size_t width, const std::uint32_t* table,
                         std::uint32_t* out);

// Each grey, alpha pair becomes grey, grey, grey, alpha. Error 9 for an odd length.
void GreyAlphaToBgra(ByteBuffer& buffer);

// Height rows of ScanlineLength - 1 bytes become rows of RowStride(Width,
// bitsPerPixel) bytes with zero padding; nothing changes for 32 bits per pixel
// or when the rows are already that long. Error 9 when rows are missing.
void PadRows(std::int64_t bitsPerPixel, ByteBuffer& buffer, const PixelFormat& format);

// The rows of `rowLength` bytes in reverse order; bytes after the last whole
// row become zero. Error 6 for rows of no bytes.
void FlipRows(ByteBuffer& buffer, std::int64_t rowLength);

// Swaps the first and third byte of every 4-byte pixel, then FlipRows with
// rows of 4 x `width` bytes, in one pass.
void RgbaToBgraFlipped(ByteBuffer& buffer, std::int64_t width);

// The plain kernels of RgbRowToBgr and RgbRowToColours (png/kernels.h).
namespace plain {
void SwapRgb(std::uint8_t* row, std::size_t n);
void RgbToColours(const std::uint8_t* rgb, std::size_t width, std::uint32_t* out);
}  // namespace plain

}  // namespace zorv::png
