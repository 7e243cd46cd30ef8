#pragma once
// The colour a bKGD chunk names, as red + 256 x green + 65536 x blue.
#include <cstdint>
#include <span>

#include "platform/colour.h"

namespace zorv::png {

// Evaluated against the header and palette as they stand when the chunk is
// read. Grey: a level of the grey ramp of the bit depth; RGB: each 16-bit
// sample scaled from the depth's range to 0..255; palette: the entry's colour.
// Anything that does not fit (wrong length, level or index out of range,
// a scaled sample above 32767) gives 0; other colour types keep `current`.
Colour ComputeBkgdColor(std::span<const std::uint8_t> bkgdData, std::int64_t bitDepth, std::int64_t colourType,
                        std::span<const std::uint8_t> palette, Colour current);

}  // namespace zorv::png
