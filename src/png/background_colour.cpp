#include "png/background_colour.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "bitmap/cbitmap.h"
#include "png/png_file.h"

namespace zorv::png {
namespace {

Colour GreyBackground(std::span<const std::uint8_t> data, std::int64_t bitDepth) {
  if (data.size() != 2) return 0;
  // A level the depth does not have, and a depth without grey levels, give no colour.
  const std::optional<std::uint8_t> grey =
      bitmap::GreyLevel(static_cast<int>(std::clamp<std::int64_t>(bitDepth, 0, 64)), ReadBigEndian16(data, 0));
  return grey ? MakeColour(*grey, *grey, *grey) : 0;
}

// A sample scaled to 0..255, held in a signed 16-bit integer as the format's
// arithmetic does: above 32767 it overflows.
std::optional<int> ScaledSample(std::uint16_t sample, std::int64_t bitDepth) {
  const double range = std::pow(2.0, static_cast<double>(bitDepth)) - 1.0;
  if (range == 0.0) return std::nullopt;
  const double scaled = std::nearbyint(sample / range * 255.0);
  if (!(scaled <= 32767.0)) return std::nullopt;
  return std::min(static_cast<int>(scaled), 255);
}

Colour RgbBackground(std::span<const std::uint8_t> data, std::int64_t bitDepth) {
  if (data.size() != 6) return 0;
  const auto red = ScaledSample(ReadBigEndian16(data, 0), bitDepth);
  const auto green = ScaledSample(ReadBigEndian16(data, 2), bitDepth);
  const auto blue = ScaledSample(ReadBigEndian16(data, 4), bitDepth);
  if (!red || !green || !blue) return 0;
  return MakeColour(*red, *green, *blue);
}

Colour PaletteBackground(std::span<const std::uint8_t> data, std::span<const std::uint8_t> palette) {
  if (data.size() != 1) return 0;
  const std::size_t index = data[0];
  if (index >= palette.size() / 3) return 0;
  return MakeColour(palette[3 * index], palette[3 * index + 1], palette[3 * index + 2]);
}

}  // namespace

Colour ComputeBkgdColor(std::span<const std::uint8_t> bkgdData, std::int64_t bitDepth, std::int64_t colourType,
                        std::span<const std::uint8_t> palette, Colour current) {
  switch (colourType) {
    case kGrey:
    case kGreyAlpha: return GreyBackground(bkgdData, bitDepth);
    case kRgb:
    case kRgbAlpha: return RgbBackground(bkgdData, bitDepth);
    case kPalette: return PaletteBackground(bkgdData, palette);
    default: return current;
  }
}

}  // namespace zorv::png
