#include "png/png_writer_filter.h"

#include <array>
#include <cstdlib>

namespace zorv::png {
namespace {

enum FilterType : std::uint8_t { kNone = 0, kSub = 1, kUp = 2, kAverage = 3, kPaeth = 4 };
constexpr int kFilterTypes = 5;

// Of left, above and upper left, the one closest to left + above - upper left;
// ties go in that order.
inline int PaethPredictor(int left, int above, int upperLeft) {
  const int toLeft = std::abs(above - upperLeft);
  const int toAbove = std::abs(left - upperLeft);
  const int toUpperLeft = std::abs(left + above - 2 * upperLeft);
  const int nearerOfAboveAndUpperLeft = toAbove <= toUpperLeft ? above : upperLeft;
  return toLeft <= toAbove && toLeft <= toUpperLeft ? left : nearerOfAboveAndUpperLeft;
}

// A filtered byte taken as a signed value, the measure the adaptive choice sums.
inline std::uint32_t Magnitude(std::uint8_t value) { return static_cast<std::uint32_t>(std::abs(static_cast<std::int8_t>(value))); }

// The value each filter subtracts from a byte, given the byte to its left (a),
// above it (b) and above its left neighbour (c); all three are 0 off the image.
template <FilterType kType>
inline int Prediction(int a, int b, int c) {
  if constexpr (kType == kSub) return a;
  if constexpr (kType == kUp) return b;
  if constexpr (kType == kAverage) return (a + b) >> 1;
  if constexpr (kType == kPaeth) return PaethPredictor(a, b, c);
  return 0;
}

// Sum of magnitudes of the filtered row; gives up and returns `giveUpAbove` + 1
// as soon as the sum passes that, checked every 256 bytes to keep the loop simple.
template <FilterType kType>
std::uint64_t Measure(const std::uint8_t* row, const std::uint8_t* above, std::size_t length, std::size_t bpp,
                      std::uint64_t giveUpAbove) {
  std::uint64_t sum = 0;
  const std::size_t head = bpp < length ? bpp : length;
  for (std::size_t i = 0; i < head; ++i)
    sum += Magnitude(static_cast<std::uint8_t>(row[i] - Prediction<kType>(0, above[i], 0)));
  for (std::size_t start = head; start < length; start += 256) {
    const std::size_t end = start + 256 < length ? start + 256 : length;
    std::uint32_t partial = 0;
    for (std::size_t i = start; i < end; ++i)
      partial += Magnitude(static_cast<std::uint8_t>(row[i] - Prediction<kType>(row[i - bpp], above[i], above[i - bpp])));
    sum += partial;
    if (sum > giveUpAbove) return giveUpAbove + 1;
  }
  return sum;
}

template <FilterType kType>
void Write(const std::uint8_t* row, const std::uint8_t* above, std::size_t length, std::size_t bpp, std::uint8_t* out) {
  const std::size_t head = bpp < length ? bpp : length;
  for (std::size_t i = 0; i < head; ++i) out[i] = static_cast<std::uint8_t>(row[i] - Prediction<kType>(0, above[i], 0));
  for (std::size_t i = head; i < length; ++i)
    out[i] = static_cast<std::uint8_t>(row[i] - Prediction<kType>(row[i - bpp], above[i], above[i - bpp]));
}

std::uint64_t MeasureFilter(FilterType type, const std::uint8_t* row, const std::uint8_t* above, std::size_t length,
                            std::size_t bpp, std::uint64_t giveUpAbove) {
  switch (type) {
    case kNone: return Measure<kNone>(row, above, length, bpp, giveUpAbove);
    case kSub: return Measure<kSub>(row, above, length, bpp, giveUpAbove);
    case kUp: return Measure<kUp>(row, above, length, bpp, giveUpAbove);
    case kAverage: return Measure<kAverage>(row, above, length, bpp, giveUpAbove);
    case kPaeth: return Measure<kPaeth>(row, above, length, bpp, giveUpAbove);
  }
  return 0;
}

void WriteFiltered(FilterType type, const std::uint8_t* row, const std::uint8_t* above, std::size_t length,
                   std::size_t bpp, std::uint8_t* out) {
  switch (type) {
    case kNone: return Write<kNone>(row, above, length, bpp, out);
    case kSub: return Write<kSub>(row, above, length, bpp, out);
    case kUp: return Write<kUp>(row, above, length, bpp, out);
    case kAverage: return Write<kAverage>(row, above, length, bpp, out);
    case kPaeth: return Write<kPaeth>(row, above, length, bpp, out);
  }
}

}  // namespace

void AppendFilteredRows(std::vector<std::uint8_t>& out, std::span<const std::uint8_t> rows, std::size_t rowBytes,
                        std::size_t rowCount, std::size_t bytesPerPixel, PngFilterChoice choice) {
  const std::vector<std::uint8_t> zeroRow(rowBytes, 0);
  const std::size_t start = out.size();
  out.resize(start + rowCount * (rowBytes + 1));
  for (std::size_t y = 0; y < rowCount; ++y) {
    const std::uint8_t* row = rows.data() + y * rowBytes;
    const std::uint8_t* above = y == 0 ? zeroRow.data() : row - rowBytes;
    FilterType best = kNone;
    if (choice == PngFilterChoice::Adaptive) {
      // Each filter is first only measured; the winner alone is written out.
      std::uint64_t bestSum = MeasureFilter(kNone, row, above, rowBytes, bytesPerPixel, UINT64_MAX - 1);
      for (int type = kSub; type < kFilterTypes; ++type) {
        const std::uint64_t sum = MeasureFilter(static_cast<FilterType>(type), row, above, rowBytes, bytesPerPixel, bestSum);
        if (sum < bestSum) {
          bestSum = sum;
          best = static_cast<FilterType>(type);
        }
      }
    }
    std::uint8_t* target = out.data() + start + y * (rowBytes + 1);
    target[0] = best;
    WriteFiltered(best, row, above, rowBytes, bytesPerPixel, target + 1);
  }
}

}  // namespace zorv::png
