// Sub, Average and Paeth for rows of 3- and 4-byte pixels, four pixels a block
// with SSSE3 shuffles and SSE4.1 blends.
#include <immintrin.h>

#include "png/unfilter_bytes.h"
#include "png/x86/pixel_lanes.h"
#include "png/x86/x86_kernels.h"

namespace zorv::png::x86 {
namespace {

// Four pixels' bytes, packed at the front of `bytes` (12 or 16), written
// without touching the bytes after them.
template <std::size_t Bpp>
[[gnu::target("sse4.1")]] inline void StoreFourPixels(std::uint8_t* p, __m128i bytes) {
  if constexpr (Bpp == 4) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), bytes);
  } else {
    _mm_storel_epi64(reinterpret_cast<__m128i*>(p), bytes);
    const auto high = static_cast<std::uint32_t>(_mm_extract_epi32(bytes, 2));
    std::memcpy(p + 8, &high, 4);
  }
}

// Four pixels read at once, each spread to a 4-byte slot (a 3-byte pixel's
// fourth byte is 0); StoreFourSlots writes them back packed.
template <std::size_t Bpp>
[[gnu::target("sse4.1")]] inline __m128i LoadFourSlots(const std::uint8_t* p) {
  const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  if constexpr (Bpp == 4) return bytes;
  return _mm_shuffle_epi8(bytes, _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1));
}
template <std::size_t Bpp>
[[gnu::target("sse4.1")]] inline void StoreFourSlots(std::uint8_t* p, __m128i slots) {
  if constexpr (Bpp == 4) return StoreFourPixels<4>(p, slots);
  StoreFourPixels<3>(p, _mm_shuffle_epi8(slots, _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1)));
}

// One Paeth step on 16-bit lanes: the rebuilt pixel from its stored bytes, the
// pixel above b, the one rebuilt to its left a and the one above that c. What
// depends on a is eight operations long (SSE4.1 blends, lanes kept 16 bits wide).
[[gnu::target("sse4.1")]] inline __m128i PaethStep(__m128i stored, __m128i a, __m128i b, __m128i c) {
  const __m128i bc = _mm_sub_epi16(b, c);
  const __m128i pa = _mm_abs_epi16(bc);
  // |p - a| = |b - c|, |p - b| = |a - c|, |p - c| = |(b - c) + (a - c)|.
  const __m128i ac = _mm_sub_epi16(a, c);
  const __m128i pb = _mm_abs_epi16(ac);
  const __m128i pc = _mm_abs_epi16(_mm_add_epi16(bc, ac));
  // Ties go to a, then b.
  const __m128i bOrC = _mm_blendv_epi8(b, c, _mm_cmpgt_epi16(pb, pc));
  const __m128i predicted = _mm_blendv_epi8(a, bOrC, _mm_cmpgt_epi16(pa, _mm_min_epi16(pb, pc)));
  return _mm_and_si128(_mm_add_epi16(stored, predicted), _mm_set1_epi16(0xFF));
}

}  // namespace

// Sub as a prefix sum: a step takes four pixels, adds each pixel to the ones
// after it within the register (two shifted adds), then adds the last pixel
// rebuilt before them to all four; only that last add waits for the step
// before. A step writes only its own pixels (12 or 16 bytes).
template <std::size_t Bpp>
[[gnu::target("sse4.1")]] void UnfilterSubSse41(const std::uint8_t* in, std::uint8_t* out, const std::uint8_t*,
                                                std::size_t n, std::size_t) {
  static_assert(Bpp == 3 || Bpp == 4);
  constexpr std::size_t kStep = 4 * Bpp;
  const __m128i lastPixel = Bpp == 4 ? _mm_setr_epi8(12, 13, 14, 15, 12, 13, 14, 15, 12, 13, 14, 15, 12, 13, 14, 15)
                                     : _mm_setr_epi8(9, 10, 11, 9, 10, 11, 9, 10, 11, 9, 10, 11, -1, -1, -1, -1);
  __m128i left = _mm_setzero_si128();  // the last pixel rebuilt, in every pixel's place
  std::size_t x = 0;
  for (; x + 16 <= n; x += kStep) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + x));
    v = _mm_add_epi8(v, _mm_slli_si128(v, Bpp));
    v = _mm_add_epi8(v, _mm_slli_si128(v, 2 * Bpp));
    v = _mm_add_epi8(v, left);
    StoreFourPixels<Bpp>(out + x, v);
    left = _mm_shuffle_epi8(v, lastPixel);
  }
  bytes::Sub(in, out, x, n, Bpp);
}

// Average four pixels a block, read at once and spread to 4-byte slots, the
// block written once all of it was read (as UnfilterPaethSse41 does).
template <std::size_t Bpp>
[[gnu::target("sse4.1")]] void UnfilterAverageSse41(const std::uint8_t* in, std::uint8_t* out,
                                                    const std::uint8_t* previous, std::size_t n, std::size_t) {
  static_assert(Bpp == 3 || Bpp == 4);
  __m128i left = _mm_setzero_si128();  // the pixel rebuilt last, in the low slot
  std::size_t x = 0;
  for (; x + 16 <= n; x += 4 * Bpp) {
    const __m128i stored = LoadFourSlots<Bpp>(in + x);
    const __m128i above = LoadFourSlots<Bpp>(previous + x);
    const __m128i p0 = AverageStep(stored, left, above);
    const __m128i p1 = AverageStep(_mm_srli_si128(stored, 4), p0, _mm_srli_si128(above, 4));
    const __m128i p2 = AverageStep(_mm_srli_si128(stored, 8), p1, _mm_srli_si128(above, 8));
    left = AverageStep(_mm_srli_si128(stored, 12), p2, _mm_srli_si128(above, 12));
    const __m128i block = _mm_unpacklo_epi64(_mm_unpacklo_epi32(p0, p1), _mm_unpacklo_epi32(p2, left));
    StoreFourSlots<Bpp>(out + x, block);
  }
  // The left pixel's bytes past its own may be any: each step looks at its own bytes only.
  left = _mm_and_si128(left, _mm_setr_epi32(Bpp == 4 ? -1 : 0xFFFFFF, 0, 0, 0));
  for (; x + Bpp <= n; x += Bpp) {
    left = AverageStep(Load<Bpp>(in + x), left, Load<Bpp>(previous + x));
    Store<Bpp>(out + x, left);
  }
  bytes::Average(in, out, previous, x, n, Bpp);
}

// Paeth four pixels a block: the block's stored bytes and the bytes above are
// read at once and spread to 4-byte slots, the pixels are rebuilt one after
// the other in the low lanes, and the block is written once all of it was read.
template <std::size_t Bpp>
[[gnu::target("sse4.1")]] void UnfilterPaethSse41(const std::uint8_t* in, std::uint8_t* out,
                                                  const std::uint8_t* previous, std::size_t n, std::size_t) {
  static_assert(Bpp == 3 || Bpp == 4);
  const __m128i zero = _mm_setzero_si128();
  __m128i a = zero;  // left, upper left: 16-bit lanes (only the low four matter)
  __m128i c = zero;
  std::size_t x = 0;
  for (; x + 16 <= n; x += 4 * Bpp) {
    const __m128i stored = LoadFourSlots<Bpp>(in + x);
    const __m128i above = LoadFourSlots<Bpp>(previous + x);
    const __m128i storedLow = _mm_unpacklo_epi8(stored, zero), storedHigh = _mm_unpackhi_epi8(stored, zero);
    const __m128i aboveLow = _mm_unpacklo_epi8(above, zero), aboveHigh = _mm_unpackhi_epi8(above, zero);
    const __m128i b1 = _mm_srli_si128(aboveLow, 8), b3 = _mm_srli_si128(aboveHigh, 8);
    const __m128i p0 = PaethStep(storedLow, a, aboveLow, c);
    const __m128i p1 = PaethStep(_mm_srli_si128(storedLow, 8), p0, b1, aboveLow);
    const __m128i p2 = PaethStep(storedHigh, p1, aboveHigh, b1);
    a = PaethStep(_mm_srli_si128(storedHigh, 8), p2, b3, aboveHigh);
    c = b3;
    const __m128i block = _mm_packus_epi16(_mm_unpacklo_epi64(p0, p1), _mm_unpacklo_epi64(p2, a));
    StoreFourSlots<Bpp>(out + x, block);
  }
  for (; x + Bpp <= n; x += Bpp) {
    const __m128i b = Widen(Load<Bpp>(previous + x));
    a = PaethStep(Widen(Load<Bpp>(in + x)), a, b, c);
    Store<Bpp>(out + x, _mm_packus_epi16(a, a));
    c = b;
  }
  bytes::Paeth(in, out, previous, x, n, Bpp);
}

template void UnfilterSubSse41<3>(const std::uint8_t*, std::uint8_t*, const std::uint8_t*, std::size_t, std::size_t);
template void UnfilterSubSse41<4>(const std::uint8_t*, std::uint8_t*, const std::uint8_t*, std::size_t, std::size_t);
template void UnfilterAverageSse41<3>(const std::uint8_t*, std::uint8_t*, const std::uint8_t*, std::size_t,
                                      std::size_t);
template void UnfilterAverageSse41<4>(const std::uint8_t*, std::uint8_t*, const std::uint8_t*, std::size_t,
                                      std::size_t);
template void UnfilterPaethSse41<3>(const std::uint8_t*, std::uint8_t*, const std::uint8_t*, std::size_t, std::size_t);
template void UnfilterPaethSse41<4>(const std::uint8_t*, std::uint8_t*, const std::uint8_t*, std::size_t, std::size_t);

}  // namespace zorv::png::x86
