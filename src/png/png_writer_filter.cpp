#include "png/png_writer_filter.h"

#include <array>
#include <cstdlib>

namespace zorv::png {
namespace {

enum FilterType : std::uint8_t { kNone = 0, kSub = 1, kUp = 2, kAverage = 3, kPaeth = 4 };
constexpr int kFilterTypes = 5;

std::uint8_t PaethPredictor(int left, int above, int upperLeft) {
  const int estimate = left + above - upperLeft;
  const int toLeft = std::abs(estimate - left);
  const int toAbove = std::abs(estimate - above);
  const int toUpperLeft = std::abs(estimate - upperLeft);
  if (toLeft <= toAbove && toLeft <= toUpperLeft) return static_cast<std::uint8_t>(left);
  if (toAbove <= toUpperLeft) return static_cast<std::uint8_t>(above);
  return static_cast<std::uint8_t>(upperLeft);
}

// Writes the filtered row to `out` and returns the sum of its bytes taken as
// signed values, the measure the adaptive choice minimises.
std::uint64_t Filter(FilterType type, const std::uint8_t* row, const std::uint8_t* above, std::size_t length,
                     std::size_t bpp, std::uint8_t* out) {
  std::uint64_t sum = 0;
  auto emit = [&](std::size_t i, int predicted) {
    const auto value = static_cast<std::uint8_t>(row[i] - predicted);
    out[i] = value;
    sum += value < 128 ? value : 256 - value;
  };
  switch (type) {
    case kNone:
      for (std::size_t i = 0; i < length; ++i) emit(i, 0);
      break;
    case kSub:
      for (std::size_t i = 0; i < length; ++i) emit(i, i >= bpp ? row[i - bpp] : 0);
      break;
    case kUp:
      for (std::size_t i = 0; i < length; ++i) emit(i, above[i]);
      break;
    case kAverage:
      for (std::size_t i = 0; i < length; ++i) emit(i, ((i >= bpp ? row[i - bpp] : 0) + above[i]) >> 1);
      break;
    case kPaeth:
      for (std::size_t i = 0; i < bpp && i < length; ++i) emit(i, above[i]);
      for (std::size_t i = bpp; i < length; ++i) emit(i, PaethPredictor(row[i - bpp], above[i], above[i - bpp]));
      break;
  }
  return sum;
}

}  // namespace

void AppendFilteredRows(std::vector<std::uint8_t>& out, std::span<const std::uint8_t> rows, std::size_t rowBytes,
                        std::size_t rowCount, std::size_t bytesPerPixel, PngFilterChoice choice) {
  const std::vector<std::uint8_t> zeroRow(rowBytes, 0);
  std::array<std::vector<std::uint8_t>, kFilterTypes> candidates;
  if (choice == PngFilterChoice::Adaptive)
    for (auto& candidate : candidates) candidate.resize(rowBytes);
  out.reserve(out.size() + rowCount * (rowBytes + 1));
  for (std::size_t y = 0; y < rowCount; ++y) {
    const std::uint8_t* row = rows.data() + y * rowBytes;
    if (choice == PngFilterChoice::None) {
      out.push_back(kNone);
      out.insert(out.end(), row, row + rowBytes);
      continue;
    }
    const std::uint8_t* above = y == 0 ? zeroRow.data() : row - rowBytes;
    int best = kNone;
    std::uint64_t bestSum = UINT64_MAX;
    for (int type = kNone; type < kFilterTypes; ++type) {
      const std::uint64_t sum = Filter(static_cast<FilterType>(type), row, above, rowBytes, bytesPerPixel,
                                       candidates[static_cast<std::size_t>(type)].data());
      if (sum < bestSum) {
        bestSum = sum;
        best = type;
      }
    }
    out.push_back(static_cast<std::uint8_t>(best));
    const auto& chosen = candidates[static_cast<std::size_t>(best)];
    out.insert(out.end(), chosen.begin(), chosen.end());
  }
}

}  // namespace zorv::png
