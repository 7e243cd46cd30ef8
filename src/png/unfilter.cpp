#include "png/unfilter.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/run_time_error.h"

namespace zorv::png {

std::uint8_t PaethPredictor(int a, int b, int c) {
  const int p = a + b - c;
  const int pa = std::abs(p - a);
  const int pb = std::abs(p - b);
  const int pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return static_cast<std::uint8_t>(a);
  if (pb <= pc) return static_cast<std::uint8_t>(b);
  return static_cast<std::uint8_t>(c);
}

void UnfilterSub(std::span<std::uint8_t> row, std::size_t bytesPerPixel) {
  for (std::size_t x = bytesPerPixel; x < row.size(); ++x) row[x] = static_cast<std::uint8_t>(row[x] + row[x - bytesPerPixel]);
}

void UnfilterUp(std::span<std::uint8_t> row, std::span<const std::uint8_t> previous) {
  for (std::size_t x = 0; x < row.size(); ++x) row[x] = static_cast<std::uint8_t>(row[x] + previous[x]);
}

void UnfilterAverage(std::span<std::uint8_t> row, std::span<const std::uint8_t> previous, std::size_t bytesPerPixel) {
  const std::size_t first = std::min(bytesPerPixel, row.size());
  for (std::size_t x = 0; x < first; ++x) row[x] = static_cast<std::uint8_t>(row[x] + previous[x] / 2);
  for (std::size_t x = first; x < row.size(); ++x) {
    row[x] = static_cast<std::uint8_t>(row[x] + (row[x - bytesPerPixel] + previous[x]) / 2);
  }
}

void UnfilterPaeth(std::span<std::uint8_t> row, std::span<const std::uint8_t> previous, std::size_t bytesPerPixel) {
  const std::size_t first = std::min(bytesPerPixel, row.size());
  // Without a left neighbour the prediction is the byte above.
  for (std::size_t x = 0; x < first; ++x) row[x] = static_cast<std::uint8_t>(row[x] + previous[x]);
  for (std::size_t x = first; x < row.size(); ++x) {
    const int a = row[x - bytesPerPixel];
    const int b = previous[x];
    const int c = previous[x - bytesPerPixel];
    row[x] = static_cast<std::uint8_t>(row[x] + PaethPredictor(a, b, c));
  }
}

void UnfilterRow(std::uint8_t filterType, std::span<std::uint8_t> row, std::span<const std::uint8_t> previous,
                 std::size_t bytesPerPixel) {
  switch (filterType) {
    case kFilterSub: UnfilterSub(row, bytesPerPixel); break;
    case kFilterUp: UnfilterUp(row, previous); break;
    case kFilterAverage: UnfilterAverage(row, previous, bytesPerPixel); break;
    case kFilterPaeth: UnfilterPaeth(row, previous, bytesPerPixel); break;
    default: break;  // type 0, and unknown types, leave the row as stored
  }
}

void Unfilter(std::vector<std::uint8_t>& data, const PixelFormat& format) {
  const std::int64_t height = format.height;
  const std::int64_t stored = ScanlineLength(format);
  const std::int64_t rowLength = stored - 1;
  if (height < 0 || rowLength < 0 || static_cast<std::int64_t>(data.size()) < height * stored) {
    throw RunTimeError(ErrorCode::SubscriptOutOfRange, "image data shorter than its rows");
  }
  const auto bytesPerPixel = static_cast<std::size_t>(BytesPerPixel(format));
  const auto length = static_cast<std::size_t>(rowLength);
  const std::vector<std::uint8_t> zeros(length, 0);

  // Row i moves down from i * stored + 1 to i * rowLength, which never passes
  // its own unread bytes, so the rows are rebuilt where they end up.
  std::uint8_t* base = data.data();
  for (std::int64_t i = 0; i < height; ++i) {
    const std::uint8_t filterType = base[i * stored];
    std::uint8_t* row = base + i * rowLength;
    std::memmove(row, base + i * stored + 1, length);
    const std::uint8_t* previous = i == 0 ? zeros.data() : row - rowLength;
    UnfilterRow(filterType, {row, length}, {previous, length}, bytesPerPixel);
  }
  const std::size_t end = static_cast<std::size_t>(height * rowLength);
  const std::size_t resultLength = data.size() - static_cast<std::size_t>(height);
  std::fill(data.begin() + static_cast<std::ptrdiff_t>(end), data.begin() + static_cast<std::ptrdiff_t>(resultLength), 0);
  data.resize(resultLength);
}

}  // namespace zorv::png
