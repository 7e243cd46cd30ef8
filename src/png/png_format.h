#pragma once
// The numbers of the PNG format that the decoder, the picture encoder and the
// tests share: the signature, the chunk layout, colour types, filter types and
// interlace methods.
#include <array>
#include <cstddef>
#include <cstdint>

namespace zorv::png {

inline constexpr std::array<std::uint8_t, 8> kPngSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

// A chunk: length (4, big-endian), type (4), data (length), CRC (4) of the type and data.
inline constexpr std::size_t kChunkHeaderSize = 8;
inline constexpr std::size_t kCrcSize = 4;

enum ColourType : std::uint8_t { kGrey = 0, kRgb = 2, kPalette = 3, kGreyAlpha = 4, kRgbAlpha = 6 };

// A filter predicts each byte from the byte one pixel to the left, the byte
// above and the byte above-left; the stored byte is the difference modulo 256.
enum FilterType : std::uint8_t { kFilterNone = 0, kFilterSub = 1, kFilterUp = 2, kFilterAverage = 3, kFilterPaeth = 4 };
inline constexpr std::size_t kFilterTypes = 5;

enum InterlaceMethod : std::uint8_t { kNotInterlaced = 0, kAdam7 = 1 };

}  // namespace zorv::png
