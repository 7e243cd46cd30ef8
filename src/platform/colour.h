#pragma once
#include <cstdint>

namespace zorv {

// A colour as red + 256 x green + 65536 x blue (0x00BBGGRR), each 0 to 255.
using Colour = std::int32_t;

constexpr Colour MakeColour(int red, int green, int blue) { return red | (green << 8) | (blue << 16); }
constexpr int RedOf(Colour c) { return c & 0xFF; }
constexpr int GreenOf(Colour c) { return (c >> 8) & 0xFF; }
constexpr int BlueOf(Colour c) { return (c >> 16) & 0xFF; }

}  // namespace zorv
