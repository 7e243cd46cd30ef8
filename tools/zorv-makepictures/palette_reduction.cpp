#include "palette_reduction.h"

#include <algorithm>
#include <array>
#include <unordered_map>

#include "platform/run_time_error.h"

namespace zorv::pictures {
namespace {

struct ColourCount {
  std::array<std::uint8_t, 3> rgb;
  std::uint32_t count;
};

std::uint32_t Key(const Rgba& p) { return std::uint32_t{p.r} << 16 | std::uint32_t{p.g} << 8 | p.b; }

// A box of the colour space holding a run of the colour list.
struct Box {
  std::size_t begin, end;
  int Channel(const std::vector<ColourCount>& colours, int& range) const {
    int best = 0;
    range = -1;
    for (int c = 0; c < 3; ++c) {
      std::uint8_t low = 255, high = 0;
      for (std::size_t i = begin; i < end; ++i) {
        low = std::min(low, colours[i].rgb[c]);
        high = std::max(high, colours[i].rgb[c]);
      }
      if (high - low > range) {
        range = high - low;
        best = c;
      }
    }
    return best;
  }
};

// Median cut: split the box with the widest channel range at the median pixel
// along that channel, until there are `count` boxes or no box can be split.
std::vector<std::array<std::uint8_t, 3>> MedianCut(std::vector<ColourCount> colours, std::size_t count) {
  std::vector<Box> boxes = {{0, colours.size()}};
  while (boxes.size() < count) {
    std::size_t widest = boxes.size();
    int widestRange = 0, widestChannel = 0;
    for (std::size_t b = 0; b < boxes.size(); ++b) {
      if (boxes[b].end - boxes[b].begin < 2) continue;
      int range = 0;
      const int channel = boxes[b].Channel(colours, range);
      if (range > widestRange) {
        widestRange = range;
        widestChannel = channel;
        widest = b;
      }
    }
    if (widest == boxes.size()) break;
    Box box = boxes[widest];
    std::sort(colours.begin() + static_cast<std::ptrdiff_t>(box.begin), colours.begin() + static_cast<std::ptrdiff_t>(box.end),
              [&](const ColourCount& a, const ColourCount& b) { return a.rgb[widestChannel] < b.rgb[widestChannel]; });
    std::uint64_t total = 0, half = 0;
    for (std::size_t i = box.begin; i < box.end; ++i) total += colours[i].count;
    std::size_t split = box.begin + 1;
    for (std::size_t i = box.begin; i < box.end - 1; ++i) {
      half += colours[i].count;
      split = i + 1;
      if (2 * half >= total) break;
    }
    // A cut inside a run of equal values would leave the range unchanged on one
    // side; move it to the nearest change of value.
    auto changesAt = [&](std::size_t i) { return colours[i - 1].rgb[widestChannel] != colours[i].rgb[widestChannel]; };
    std::size_t down = split, up = split;
    while (down > box.begin + 1 && !changesAt(down)) --down;
    while (up < box.end - 1 && !changesAt(up)) ++up;
    split = changesAt(down) && (split - down <= up - split || !changesAt(up)) ? down : up;
    boxes[widest] = {box.begin, split};
    boxes.push_back({split, box.end});
  }
  std::vector<std::array<std::uint8_t, 3>> palette;
  for (const Box& box : boxes) {
    std::array<std::uint64_t, 3> sum{};
    std::uint64_t weight = 0;
    for (std::size_t i = box.begin; i < box.end; ++i) {
      for (int c = 0; c < 3; ++c) sum[c] += std::uint64_t{colours[i].rgb[c]} * colours[i].count;
      weight += colours[i].count;
    }
    palette.push_back({static_cast<std::uint8_t>(sum[0] / weight), static_cast<std::uint8_t>(sum[1] / weight),
                       static_cast<std::uint8_t>(sum[2] / weight)});
  }
  return palette;
}

}  // namespace

IndexedImage ReduceToPalette(const Canvas& canvas, int maxColours) {
  if (maxColours < 2 || maxColours > 256 || canvas.Width() > 65535 || canvas.Height() > 65535)
    throw RunTimeError(ErrorCode::InvalidArgument);
  std::unordered_map<std::uint32_t, std::uint32_t> histogram;
  bool anyTransparent = false;
  for (const Rgba& p : canvas.Pixels()) {
    if (p.a < 128) anyTransparent = true;
    else ++histogram[Key(p)];
  }
  std::vector<ColourCount> colours;
  for (const auto& [key, count] : histogram)
    colours.push_back({{static_cast<std::uint8_t>(key >> 16), static_cast<std::uint8_t>(key >> 8), static_cast<std::uint8_t>(key)}, count});
  // The map's order is not fixed; sorting keeps the output the same from run to run.
  std::sort(colours.begin(), colours.end(), [](const ColourCount& a, const ColourCount& b) { return a.rgb < b.rgb; });

  IndexedImage image;
  image.width = static_cast<std::uint16_t>(canvas.Width());
  image.height = static_cast<std::uint16_t>(canvas.Height());
  if (anyTransparent) {
    image.palette = {0, 0, 0};
    image.transparentIndex = 0;
  }
  const std::size_t opaqueEntries = static_cast<std::size_t>(maxColours) - (anyTransparent ? 1 : 0);
  const auto palette = colours.empty() ? std::vector<std::array<std::uint8_t, 3>>{{0, 0, 0}} : MedianCut(colours, opaqueEntries);
  const std::size_t first = image.palette.size() / 3;
  for (const auto& entry : palette) image.palette.insert(image.palette.end(), entry.begin(), entry.end());

  std::unordered_map<std::uint32_t, std::uint8_t> nearest;
  image.indices.reserve(canvas.Pixels().size());
  for (const Rgba& p : canvas.Pixels()) {
    if (p.a < 128) {
      image.indices.push_back(0);
      continue;
    }
    const auto [it, added] = nearest.try_emplace(Key(p), 0);
    if (added) {
      int bestDistance = 1 << 30;
      for (std::size_t e = 0; e < palette.size(); ++e) {
        const int dr = p.r - palette[e][0], dg = p.g - palette[e][1], db = p.b - palette[e][2];
        const int distance = 2 * dr * dr + 4 * dg * dg + 3 * db * db;
        if (distance < bestDistance) {
          bestDistance = distance;
          it->second = static_cast<std::uint8_t>(first + e);
        }
      }
    }
    image.indices.push_back(it->second);
  }
  return image;
}

}  // namespace zorv::pictures
