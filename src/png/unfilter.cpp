#include "png/unfilter.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/run_time_error.h"
#include "png/kernels.h"
#include "png/unfilter_bytes.h"

namespace zorv::png {
namespace plain {
namespace {

template <std::size_t Bpp>
std::size_t Distance(std::size_t bytesPerPixel) {
  return Bpp == 0 ? bytesPerPixel : Bpp;
}

}  // namespace

void UnfilterNone(const std::uint8_t* in, std::uint8_t* out, const std::uint8_t*, std::size_t n, std::size_t) {
  std::memmove(out, in, n);
}

// Sixteen bytes a step, each step's bytes read before they are written (the
// compiler, not knowing how the rows overlap, would go a byte at a time).
void UnfilterUp(const std::uint8_t* in, std::uint8_t* out, const std::uint8_t* previous, std::size_t n, std::size_t) {
  using Bytes16 [[gnu::vector_size(16)]] = std::uint8_t;
  std::size_t x = 0;
  for (; x + 16 <= n; x += 16) {
    Bytes16 stored, above;
    std::memcpy(&stored, in + x, 16);
    std::memcpy(&above, previous + x, 16);
    stored += above;
    std::memcpy(out + x, &stored, 16);
  }
  bytes::Up(in, out, previous, x, n);
}

template <std::size_t Bpp>
void UnfilterSub(const std::uint8_t* in, std::uint8_t* out, const std::uint8_t*, std::size_t n,
                 std::size_t bytesPerPixel) {
  const std::size_t d = Distance<Bpp>(bytesPerPixel);
  const std::size_t first = std::min(d, n);
  std::memmove(out, in, first);
  for (std::size_t x = first; x < n; ++x) out[x] = static_cast<std::uint8_t>(in[x] + out[x - d]);
}

template <std::size_t Bpp>
void UnfilterAverage(const std::uint8_t* in, std::uint8_t* out, const std::uint8_t* previous, std::size_t n,
                     std::size_t bytesPerPixel) {
  const std::size_t d = Distance<Bpp>(bytesPerPixel);
  const std::size_t first = std::min(d, n);
  for (std::size_t x = 0; x < first; ++x) out[x] = static_cast<std::uint8_t>(in[x] + previous[x] / 2);
  for (std::size_t x = first; x < n; ++x) out[x] = static_cast<std::uint8_t>(in[x] + ((out[x - d] + previous[x]) >> 1));
}

template <std::size_t Bpp>
void UnfilterPaeth(const std::uint8_t* in, std::uint8_t* out, const std::uint8_t* previous, std::size_t n,
                   std::size_t bytesPerPixel) {
  const std::size_t d = Distance<Bpp>(bytesPerPixel);
  const std::size_t first = std::min(d, n);
  // Without a left neighbour the prediction is the byte above.
  for (std::size_t x = 0; x < first; ++x) out[x] = static_cast<std::uint8_t>(in[x] + previous[x]);
  for (std::size_t x = first; x < n; ++x) {
    const int a = out[x - d];
    const int b = previous[x];
    const int c = previous[x - d];
    // |p - a|, |p - b|, |p - c| for p = a + b - c, without branches.
    const int pa = std::abs(b - c);
    const int pb = std::abs(a - c);
    const int pc = std::abs(a + b - 2 * c);
    const int bOrC = pb <= pc ? b : c;
    out[x] = static_cast<std::uint8_t>(in[x] + (pa <= pb && pa <= pc ? a : bOrC));
  }
}

#define ZORV_PLAIN_UNFILTER(Bpp)                                                                                   \
  template void UnfilterSub<Bpp>(const std::uint8_t*, std::uint8_t*, const std::uint8_t*, std::size_t, std::size_t); \
  template void UnfilterAverage<Bpp>(const std::uint8_t*, std::uint8_t*, const std::uint8_t*, std::size_t,          \
                                     std::size_t);                                                                  \
  template void UnfilterPaeth<Bpp>(const std::uint8_t*, std::uint8_t*, const std::uint8_t*, std::size_t, std::size_t);
ZORV_PLAIN_UNFILTER(0)
ZORV_PLAIN_UNFILTER(1)
ZORV_PLAIN_UNFILTER(2)
ZORV_PLAIN_UNFILTER(3)
ZORV_PLAIN_UNFILTER(4)
ZORV_PLAIN_UNFILTER(6)
ZORV_PLAIN_UNFILTER(8)
#undef ZORV_PLAIN_UNFILTER

}  // namespace plain

void UnfilterSub(std::span<std::uint8_t> row, std::size_t bytesPerPixel) {
  bytes::Sub(row.data(), row.data(), 0, row.size(), bytesPerPixel);
}

void UnfilterUp(std::span<std::uint8_t> row, std::span<const std::uint8_t> previous) {
  bytes::Up(row.data(), row.data(), previous.data(), 0, row.size());
}

void UnfilterAverage(std::span<std::uint8_t> row, std::span<const std::uint8_t> previous, std::size_t bytesPerPixel) {
  bytes::Average(row.data(), row.data(), previous.data(), 0, row.size(), bytesPerPixel);
}

void UnfilterPaeth(std::span<std::uint8_t> row, std::span<const std::uint8_t> previous, std::size_t bytesPerPixel) {
  bytes::Paeth(row.data(), row.data(), previous.data(), 0, row.size(), bytesPerPixel);
}

namespace {

// Type 0, and unknown types, keep the row as stored.
UnfilterKernel KernelOf(const UnfilterKernels& kernels, std::uint8_t filterType) {
  return kernels[filterType < kFilterTypes ? filterType : std::uint8_t{kFilterNone}];
}

}  // namespace

void UnfilterRow(std::uint8_t filterType, std::span<std::uint8_t> row, std::span<const std::uint8_t> previous,
                 std::size_t bytesPerPixel) {
  KernelOf(Kernels().Unfilter(bytesPerPixel), filterType)(row.data(), row.data(), previous.data(), row.size(),
                                                          bytesPerPixel);
}

void Unfilter(ByteBuffer& data, const PixelFormat& format, const RowConversion& convertRow) {
  const std::int64_t height = format.height;
  const std::int64_t stored = ScanlineLength(format);
  const std::int64_t rowLength = stored - 1;
  if (height < 0 || rowLength < 0 || static_cast<std::int64_t>(data.size()) < height * stored) {
    throw RunTimeError(ErrorCode::SubscriptOutOfRange, "image data shorter than its rows");
  }
  const std::size_t resultLength = data.size() - static_cast<std::size_t>(height);
  if (rowLength == 0) {
    // Rows of no pixels: only the filter bytes go, and what follows them is zero.
    data.assign(resultLength, 0);
    return;
  }
  const auto bytesPerPixel = static_cast<std::size_t>(BytesPerPixel(format));
  const auto length = static_cast<std::size_t>(rowLength);
  const std::vector<std::uint8_t> zeros(length, 0);
  const UnfilterKernels& kernels = Kernels().Unfilter(bytesPerPixel);

  // Row i is rebuilt from i * stored + 1 into i * rowLength, in place: the
  // result never overtakes the stored bytes still to be read.
  std::uint8_t* base = data.data();
  for (std::int64_t i = 0; i < height; ++i) {
    std::uint8_t* row = base + i * rowLength;
    const std::uint8_t* previous = i == 0 ? zeros.data() : row - rowLength;
    KernelOf(kernels, base[i * stored])(base + i * stored + 1, row, previous, length, bytesPerPixel);
    if (convertRow && i > 0) convertRow({row - rowLength, length});
  }
  if (convertRow && height > 0) convertRow({base + (height - 1) * rowLength, length});
  const auto end = static_cast<std::ptrdiff_t>(height * rowLength);
  std::fill(data.begin() + end, data.begin() + static_cast<std::ptrdiff_t>(resultLength), 0);
  data.resize(resultLength);
}

}  // namespace zorv::png
