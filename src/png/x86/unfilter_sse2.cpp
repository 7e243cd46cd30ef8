// Sub, Average and Paeth for rows of 3- and 4-byte pixels, a whole pixel per
// step in the lanes of one SSE2 register. The left neighbour is the pixel just
// rebuilt, so the steps run in order; what is saved is the per-byte work.
// Bytes after the last whole pixel (depths that are no whole bytes) go a byte at a time.
#include "png/unfilter_bytes.h"
#include "png/x86/pixel_lanes.h"
#include "png/x86/x86_kernels.h"

namespace zorv::png::x86 {
namespace {

inline __m128i Abs16(__m128i v) { return _mm_max_epi16(v, _mm_sub_epi16(_mm_setzero_si128(), v)); }
inline __m128i Select(__m128i mask, __m128i ifSet, __m128i otherwise) {
  return _mm_or_si128(_mm_and_si128(mask, ifSet), _mm_andnot_si128(mask, otherwise));
}

}  // namespace

template <std::size_t Bpp>
void UnfilterSubSse2(const std::uint8_t* in, std::uint8_t* out, const std::uint8_t*, std::size_t n, std::size_t) {
  __m128i left = _mm_setzero_si128();
  std::size_t x = 0;
  for (; x + Bpp <= n; x += Bpp) {
    left = _mm_add_epi8(Load<Bpp>(in + x), left);
    Store<Bpp>(out + x, left);
  }
  bytes::Sub(in, out, x, n, Bpp);
}

template <std::size_t Bpp>
void UnfilterAverageSse2(const std::uint8_t* in, std::uint8_t* out, const std::uint8_t* previous, std::size_t n,
                         std::size_t) {
  __m128i left = _mm_setzero_si128();
  std::size_t x = 0;
  for (; x + Bpp <= n; x += Bpp) {
    left = AverageStep(Load<Bpp>(in + x), left, Load<Bpp>(previous + x));
    Store<Bpp>(out + x, left);
  }
  bytes::Average(in, out, previous, x, n, Bpp);
}

template <std::size_t Bpp>
void UnfilterPaethSse2(const std::uint8_t* in, std::uint8_t* out, const std::uint8_t* previous, std::size_t n,
                       std::size_t) {
  __m128i a = _mm_setzero_si128();  // left, upper left: 16-bit lanes
  __m128i c = _mm_setzero_si128();
  std::size_t x = 0;
  for (; x + Bpp <= n; x += Bpp) {
    const __m128i b = Widen(Load<Bpp>(previous + x));
    // |p - a| = |b - c|, |p - b| = |a - c|, |p - c| = |(b - c) + (a - c)|.
    const __m128i bc = _mm_sub_epi16(b, c);
    const __m128i ac = _mm_sub_epi16(a, c);
    const __m128i pa = Abs16(bc);
    const __m128i pb = Abs16(ac);
    const __m128i pc = Abs16(_mm_add_epi16(bc, ac));
    const __m128i smallest = _mm_min_epi16(pa, _mm_min_epi16(pb, pc));
    // Ties go to a, then b.
    const __m128i predicted = Select(_mm_cmpeq_epi16(smallest, pa), a, Select(_mm_cmpeq_epi16(smallest, pb), b, c));
    const __m128i rebuilt = _mm_add_epi8(Load<Bpp>(in + x), _mm_packus_epi16(predicted, predicted));
    Store<Bpp>(out + x, rebuilt);
    a = Widen(rebuilt);
    c = b;
  }
  bytes::Paeth(in, out, previous, x, n, Bpp);
}

template void UnfilterSubSse2<3>(const std::uint8_t*, std::uint8_t*, const std::uint8_t*, std::size_t, std::size_t);
template void UnfilterSubSse2<4>(const std::uint8_t*, std::uint8_t*, const std::uint8_t*, std::size_t, std::size_t);
template void UnfilterAverageSse2<3>(const std::uint8_t*, std::uint8_t*, const std::uint8_t*, std::size_t, std::size_t);
template void UnfilterAverageSse2<4>(const std::uint8_t*, std::uint8_t*, const std::uint8_t*, std::size_t, std::size_t);
template void UnfilterPaethSse2<3>(const std::uint8_t*, std::uint8_t*, const std::uint8_t*, std::size_t, std::size_t);
template void UnfilterPaethSse2<4>(const std::uint8_t*, std::uint8_t*, const std::uint8_t*, std::size_t, std::size_t);

}  // namespace zorv::png::x86
