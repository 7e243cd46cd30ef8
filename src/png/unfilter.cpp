#include "png/unfilter.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/run_time_error.h"
#include "png/unfilter_pixels.h"

namespace zorv::png {
namespace {

// The row kernels read the stored row from `in` and write the rebuilt row to
// `out`, which is either `in` itself or lies before it: each byte is read
// before anything is written over it. `previous` is the rebuilt row above.
// Bpp 0 stands for a distance known only at run time.
template <std::size_t Bpp>
struct Kernels {
  static std::size_t Distance(std::size_t bytesPerPixel) { return Bpp == 0 ? bytesPerPixel : Bpp; }

  static constexpr bool kWholePixels = Bpp == 3 || Bpp == 4;

  static void Sub(const std::uint8_t* in, std::uint8_t* out, std::size_t n, std::size_t bpp) {
#if defined(__SSE2__)
    if constexpr (kWholePixels) {
#if defined(ZORV_UNFILTER_SSE41)
      if (n % Bpp == 0 && pixels::HasSse41()) return pixels::SubSse41<Bpp>(in, out, n);
#endif
      if (n % Bpp == 0) return pixels::Sub<Bpp>(in, out, n);
    }
#endif
    const std::size_t d = Distance(bpp);
    const std::size_t first = std::min(d, n);
    std::memmove(out, in, first);
    for (std::size_t x = first; x < n; ++x) out[x] = static_cast<std::uint8_t>(in[x] + out[x - d]);
  }

  // Sixteen bytes a step, each step's bytes read before they are written (the
  // compiler, not knowing how the rows overlap, would go a byte at a time).
  static void Up(const std::uint8_t* in, std::uint8_t* out, const std::uint8_t* previous, std::size_t n) {
    using Bytes16 [[gnu::vector_size(16)]] = std::uint8_t;
    std::size_t x = 0;
    for (; x + 16 <= n; x += 16) {
      Bytes16 stored, above;
      std::memcpy(&stored, in + x, 16);
      std::memcpy(&above, previous + x, 16);
      stored += above;
      std::memcpy(out + x, &stored, 16);
    }
    for (; x < n; ++x) out[x] = static_cast<std::uint8_t>(in[x] + previous[x]);
  }

  static void Average(const std::uint8_t* in, std::uint8_t* out, const std::uint8_t* previous, std::size_t n,
                      std::size_t bpp) {
#if defined(__SSE2__)
    if constexpr (kWholePixels) {
#if defined(ZORV_UNFILTER_SSE41)
      if (n % Bpp == 0 && pixels::HasSse41()) return pixels::AverageSse41<Bpp>(in, out, previous, n);
#endif
      if (n % Bpp == 0) return pixels::Average<Bpp>(in, out, previous, n);
    }
#endif
    const std::size_t d = Distance(bpp);
    const std::size_t first = std::min(d, n);
    for (std::size_t x = 0; x < first; ++x) out[x] = static_cast<std::uint8_t>(in[x] + previous[x] / 2);
    for (std::size_t x = first; x < n; ++x) {
      out[x] = static_cast<std::uint8_t>(in[x] + ((out[x - d] + previous[x]) >> 1));
    }
  }

  static void Paeth(const std::uint8_t* in, std::uint8_t* out, const std::uint8_t* previous, std::size_t n,
                    std::size_t bpp) {
#if defined(__SSE2__)
    if constexpr (kWholePixels) {
#if defined(ZORV_UNFILTER_SSE41)
      if (n % Bpp == 0 && pixels::HasSse41()) return pixels::PaethSse41<Bpp>(in, out, previous, n);
#endif
      if (n % Bpp == 0) return pixels::Paeth<Bpp>(in, out, previous, n);
    }
#endif
    const std::size_t d = Distance(bpp);
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

  static void Row(std::uint8_t type, const std::uint8_t* in, std::uint8_t* out, const std::uint8_t* previous,
                  std::size_t n, std::size_t bpp) {
    switch (type) {
      case kFilterSub: Sub(in, out, n, bpp); break;
      case kFilterUp: Up(in, out, previous, n); break;
      case kFilterAverage: Average(in, out, previous, n, bpp); break;
      case kFilterPaeth: Paeth(in, out, previous, n, bpp); break;
      default: std::memmove(out, in, n); break;  // type 0, and unknown types, keep the row as stored
    }
  }
};

void RowByDistance(std::uint8_t type, const std::uint8_t* in, std::uint8_t* out, const std::uint8_t* previous,
                   std::size_t n, std::size_t bpp) {
  switch (bpp) {
    case 1: Kernels<1>::Row(type, in, out, previous, n, bpp); break;
    case 2: Kernels<2>::Row(type, in, out, previous, n, bpp); break;
    case 3: Kernels<3>::Row(type, in, out, previous, n, bpp); break;
    case 4: Kernels<4>::Row(type, in, out, previous, n, bpp); break;
    case 6: Kernels<6>::Row(type, in, out, previous, n, bpp); break;
    case 8: Kernels<8>::Row(type, in, out, previous, n, bpp); break;
    default: Kernels<0>::Row(type, in, out, previous, n, bpp); break;
  }
}

}  // namespace

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
  Kernels<0>::Sub(row.data(), row.data(), row.size(), bytesPerPixel);
}

void UnfilterUp(std::span<std::uint8_t> row, std::span<const std::uint8_t> previous) {
  Kernels<0>::Up(row.data(), row.data(), previous.data(), row.size());
}

void UnfilterAverage(std::span<std::uint8_t> row, std::span<const std::uint8_t> previous, std::size_t bytesPerPixel) {
  Kernels<0>::Average(row.data(), row.data(), previous.data(), row.size(), bytesPerPixel);
}

void UnfilterPaeth(std::span<std::uint8_t> row, std::span<const std::uint8_t> previous, std::size_t bytesPerPixel) {
  Kernels<0>::Paeth(row.data(), row.data(), previous.data(), row.size(), bytesPerPixel);
}

void UnfilterRow(std::uint8_t filterType, std::span<std::uint8_t> row, std::span<const std::uint8_t> previous,
                 std::size_t bytesPerPixel) {
  RowByDistance(filterType, row.data(), row.data(), previous.data(), row.size(), bytesPerPixel);
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

  // Row i is rebuilt from i * stored + 1 into i * rowLength, in place: the
  // result never overtakes the stored bytes still to be read.
  std::uint8_t* base = data.data();
  for (std::int64_t i = 0; i < height; ++i) {
    std::uint8_t* row = base + i * rowLength;
    const std::uint8_t* previous = i == 0 ? zeros.data() : row - rowLength;
    RowByDistance(base[i * stored], base + i * stored + 1, row, previous, length, bytesPerPixel);
    if (convertRow && i > 0) convertRow({row - rowLength, length});
  }
  if (convertRow && height > 0) convertRow({base + (height - 1) * rowLength, length});
  const auto end = static_cast<std::ptrdiff_t>(height * rowLength);
  std::fill(data.begin() + end, data.begin() + static_cast<std::ptrdiff_t>(resultLength), 0);
  data.resize(resultLength);
}

}  // namespace zorv::png
