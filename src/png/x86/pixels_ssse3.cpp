// The pixel conversions and the blending onto a background with SSSE3 byte
// shuffles; what a step cannot take is left to the plain kernels.
#include <immintrin.h>

#include "png/composite.h"
#include "png/pixel_conversion.h"
#include "png/x86/x86_kernels.h"

namespace zorv::png::x86 {
namespace {

// Two pixels in 16-bit lanes, each lane blended with its pixel's alpha.
[[gnu::target("ssse3")]] inline __m128i BlendLanes(__m128i colour, __m128i behind, __m128i full) {
  const __m128i spreadAlpha = _mm_setr_epi8(6, 7, 6, 7, 6, 7, 6, 7, 14, 15, 14, 15, 14, 15, 14, 15);
  const __m128i alpha = _mm_shuffle_epi8(colour, spreadAlpha);
  const __m128i sum =
      _mm_add_epi16(_mm_mullo_epi16(colour, alpha), _mm_mullo_epi16(behind, _mm_sub_epi16(full, alpha)));
  return _mm_srli_epi16(_mm_add_epi16(sum, full), 8);
}

// Four pixels per 16-byte shuffle; a step reads 16 bytes for its 12, so it
// stops while 16 bytes of the row remain. Returns the pixels it converted. (A
// function of its own: with the row's end to follow in the same function the
// loop keeps one more counter.)
[[gnu::target("ssse3"), gnu::noinline]] std::size_t RgbToColoursSteps(const std::uint8_t* rgb, std::size_t width,
                                                                      std::uint32_t* out) {
  const __m128i order = _mm_setr_epi8(2, 1, 0, -1, 5, 4, 3, -1, 8, 7, 6, -1, 11, 10, 9, -1);
  std::size_t x = 0;
  for (; 3 * x + 16 <= 3 * width; x += 4) {
    const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rgb + 3 * x));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), _mm_shuffle_epi8(pixels, order));
  }
  return x;
}

}  // namespace

// Five pixels per 16-byte shuffle. A step's four loads come before its stores:
// a load that overlaps a store just made waits for it, so that happens once
// per 60 bytes rather than once per 15.
[[gnu::target("ssse3")]] void SwapRgbSsse3(std::uint8_t* row, std::size_t n) {
  const __m128i order = _mm_setr_epi8(2, 1, 0, 5, 4, 3, 8, 7, 6, 11, 10, 9, 14, 13, 12, 15);
  std::size_t at = 0;
  for (; at + 61 <= n; at += 60) {
    __m128i pixels[4];
    for (int i = 0; i < 4; ++i) pixels[i] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + at + 15 * i));
    for (int i = 0; i < 4; ++i) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(row + at + 15 * i), _mm_shuffle_epi8(pixels[i], order));
    }
  }
  plain::SwapRgb(row + at, n - at);
}

[[gnu::target("ssse3")]] void RgbToColoursSsse3(const std::uint8_t* rgb, std::size_t width, std::uint32_t* out) {
  const std::size_t x = RgbToColoursSteps(rgb, width, out);
  plain::RgbToColours(rgb + 3 * x, width - x, out + x);
}

// Four RGBA pixels a step onto four background colours.
[[gnu::target("ssse3")]] void BlendToColoursSsse3(const std::uint8_t* rgba, const std::uint32_t* background,
                                                  std::size_t width, std::uint32_t* out) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i full = _mm_set1_epi16(255);
  const __m128i blueFirst = _mm_setr_epi8(2, 1, 0, 3, 6, 5, 4, 7, 10, 9, 8, 11, 14, 13, 12, 15);
  const __m128i colourBytes = _mm_set1_epi32(0x00FFFFFF);
  std::size_t x = 0;
  for (; x + 4 <= width; x += 4) {
    const __m128i pixels =
        _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(rgba + 4 * x)), blueFirst);
    const __m128i behind = _mm_loadu_si128(reinterpret_cast<const __m128i*>(background + x));
    const __m128i low = BlendLanes(_mm_unpacklo_epi8(pixels, zero), _mm_unpacklo_epi8(behind, zero), full);
    const __m128i high = BlendLanes(_mm_unpackhi_epi8(pixels, zero), _mm_unpackhi_epi8(behind, zero), full);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), _mm_and_si128(_mm_packus_epi16(low, high), colourBytes));
  }
  plain::BlendToColours(rgba + 4 * x, background + x, width - x, out + x);
}

// Four pixels a step in 16-bit lanes. A step reads 16 bytes of background and
// writes 16 bytes of output (12 of them pixels), so it stops six pixels before
// the row's end.
[[gnu::target("ssse3")]] void BlendBgraSsse3(const std::uint8_t* bgra, const std::uint8_t* background,
                                             std::uint8_t* out, std::size_t width) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i full = _mm_set1_epi16(255);
  const __m128i spreadBackground = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
  const __m128i packPixels = _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
  std::size_t x = 0;
  for (; x + 6 <= width; x += 4) {
    const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bgra + 4 * x));
    const __m128i behind =
        _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(background + 3 * x)), spreadBackground);
    const __m128i low = BlendLanes(_mm_unpacklo_epi8(pixels, zero), _mm_unpacklo_epi8(behind, zero), full);
    const __m128i high = BlendLanes(_mm_unpackhi_epi8(pixels, zero), _mm_unpackhi_epi8(behind, zero), full);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 3 * x),
                     _mm_shuffle_epi8(_mm_packus_epi16(low, high), packPixels));
  }
  plain::BlendBgra(bgra + 4 * x, background + 3 * x, out + 3 * x, width - x);
}

}  // namespace zorv::png::x86
