#pragma once
// The PNG file format as the chunk reader sees it: the signature, big-endian
// numbers, the image header and the fields of the ancillary chunks it keeps.
#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "png/png_format.h"

namespace zorv::png {

// True when the bytes are exactly the 8-byte PNG signature.
bool IsPngSignature(std::span<const std::uint8_t> bytes);

// The big-endian number at `offset`, bytes past the end read as zero.
std::uint32_t ReadBigEndian32(std::span<const std::uint8_t> bytes, std::size_t offset);
std::uint16_t ReadBigEndian16(std::span<const std::uint8_t> bytes, std::size_t offset);

struct ImageHeader {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t bitDepth = 0;
  std::int32_t colourType = 0;
  std::int32_t compression = 0;
  std::int32_t filter = 0;
  std::int32_t interlacing = 0;
};

// The 13 header bytes of an IHDR chunk, taken as they stand; a shorter chunk
// reads its missing bytes as zero.
ImageHeader ReadHeader(std::span<const std::uint8_t> data);

// A tIME chunk as day.month.year hour:minute:second, every field but the year
// with at least two digits. Error 9 when the chunk is shorter than 7 bytes.
std::string FormatModiTime(std::span<const std::uint8_t> data);

// The index just before the first zero byte at or after `start`; the last index
// when there is none or `start` is past the end (-1 for empty data).
std::int64_t FindZero(std::span<const std::uint8_t> data, std::size_t start);

}  // namespace zorv::png
