// The colour tables of the indexed descriptions: black and white, the image's
// palette, or a grey ramp.
#include <algorithm>
#include <cmath>

#include "bitmap/cbitmap.h"
#include "platform/run_time_error.h"

namespace zorv::bitmap {
namespace {

constexpr RgbQuad kBlack{0, 0, 0, 0};
constexpr RgbQuad kWhite{255, 255, 255, 0};

RgbQuad Grey(std::uint8_t level) { return RgbQuad{level, level, level, 0}; }

// Entry i takes palette triple i (red, green, blue); entries past the palette are black.
template <std::size_t Entries>
void FillFromPalette(std::array<RgbQuad, Entries>& table, std::span<const std::uint8_t> palette) {
  for (std::size_t i = 0; i < Entries; ++i) {
    const std::size_t at = 3 * i;
    table[i] = at + 2 < palette.size() ? RgbQuad{palette[at + 2], palette[at + 1], palette[at], 0} : kBlack;
  }
}

std::int32_t GreyStep(std::int32_t levels) {
  return static_cast<std::int32_t>(std::nearbyint(255.0 / static_cast<double>(levels - 1)));
}

}  // namespace

std::int32_t GreyLevelCount(int depth) {
  if (depth < 1 || depth > 16) return 0;
  return depth == 16 ? 256 : std::int32_t{1} << depth;
}

std::optional<std::uint8_t> GreyLevel(int depth, std::int64_t index) {
  const std::int32_t levels = GreyLevelCount(depth);
  if (index < 0 || index >= levels) return std::nullopt;
  return static_cast<std::uint8_t>(index * GreyStep(levels));
}

void CBitmap::SetMonoColours(int mode) {
  switch (mode) {
    case 0: info1_.colours = {kWhite, kBlack}; break;
    case 1: info1_.colours = {kBlack, kWhite}; break;
    default: info1_.colours = {kBlack, kBlack}; break;
  }
}

void CBitmap::SetMonoPalette(std::span<const std::uint8_t> palette) {
  if (palette.size() != 6) {
    SetMonoColours(1);
    return;
  }
  FillFromPalette(info1_.colours, palette);
}

void CBitmap::SetPalette16(std::span<const std::uint8_t> palette) { FillFromPalette(info4_.colours, palette); }

void CBitmap::SetPalette256(std::span<const std::uint8_t> palette) { FillFromPalette(info8_.colours, palette); }

std::vector<std::uint8_t> CBitmap::GreyRamp(int depth, bool narrowRowsAsBytes) {
  const std::int32_t levels = GreyLevelCount(depth);
  if (levels == 0) throw RunTimeError(ErrorCode::Overflow);
  std::vector<std::uint8_t> ramp(static_cast<std::size_t>(levels) * 3);
  for (std::int32_t i = 0; i < levels; ++i) std::fill_n(&ramp[3 * static_cast<std::size_t>(i)], 3, *GreyLevel(depth, i));

  const auto writeEntries = [&](std::span<RgbQuad> table) {
    for (std::size_t i = 0; i < table.size(); ++i) table[i] = Grey(ramp[3 * i]);
  };
  if (depth == 1 && narrowRowsAsBytes) writeEntries(std::span(info8_.colours).first(2));
  if (depth == 2) writeEntries(std::span(info8_.colours).first(4));
  if (depth == 4 && narrowRowsAsBytes) writeEntries(std::span(info8_.colours).first(16));
  if (depth == 4 && !narrowRowsAsBytes) writeEntries(info4_.colours);
  if (depth == 8) writeEntries(info8_.colours);
  return ramp;
}

}  // namespace zorv::bitmap
