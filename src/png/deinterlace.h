#pragma once
// Rebuilding an image stored in the seven passes of the Adam7 interlace, and
// spreading 2-bit samples to a byte each.
#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "png/byte_buffer.h"
#include "png/pixel_format.h"

namespace zorv::png {

// The 1-based columns of an 8-pixel block that each pass covers.
inline constexpr std::array<std::string_view, 7> kPassColumns = {"1", "5", "15", "37", "1357", "2468", "12345678"};

// Bytes of one line of a pass (without its filter-type byte), for an image
// `width` pixels wide at `bitsPerPixel`.
std::int64_t PassLineLength(std::int64_t width, std::int64_t bitsPerPixel, std::string_view passColumns);

// The number of lines of a pass (1..7) for an image `height` rows high.
std::int64_t PassLineCount(int pass, std::int64_t height);

// The samples of one byte, the first from the highest bits.
std::array<std::uint8_t, 8> SplitByte1(std::uint8_t byte);
std::array<std::uint8_t, 4> SplitByte2(std::uint8_t byte);
std::array<std::uint8_t, 2> SplitByte4(std::uint8_t byte);

// The first `count` samples of a line of 1-, 2- or 4-bit samples, a byte each;
// `count` zero bytes for any other sample width.
ByteBuffer ExpandSamples(std::span<const std::uint8_t> line, std::int64_t bitsPerSample,
                                        std::int64_t count);

// Turns inflated interlaced data into Height rows of Width x P bytes, top row
// first, unpadded: P is the pixel's whole bytes, or 1 for pixels under 8 bits,
// each sample then keeping its own unscaled value. Lines are unfiltered pass by
// pass, each pass's first line against zeros. Error 9 when the data ends early.
ByteBuffer Deinterlace(std::span<const std::uint8_t> data, const PixelFormat& format);

// Spreads raw rows of 2-bit samples (`storedLength` = ScanlineLength) to rows
// of one byte per sample, padded to 4 bytes.
void Unpack2Bit(std::int64_t width, std::int64_t height, ByteBuffer& buffer, std::int64_t storedLength);

}  // namespace zorv::png
