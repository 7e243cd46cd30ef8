// RGBA rows blended onto device colours eight pixels a step with AVX2.
#include <immintrin.h>

#include "png/x86/x86_kernels.h"

namespace zorv::png::x86 {
namespace {

// Four pixels in 16-bit lanes, two in each half of the register, each lane
// blended with its pixel's alpha.
[[gnu::target("avx2")]] inline __m256i BlendLanes(__m256i colour, __m256i behind, __m256i full) {
  const __m256i spreadAlpha = _mm256_setr_epi8(6, 7, 6, 7, 6, 7, 6, 7, 14, 15, 14, 15, 14, 15, 14, 15, 6, 7, 6, 7, 6,
                                               7, 6, 7, 14, 15, 14, 15, 14, 15, 14, 15);
  const __m256i alpha = _mm256_shuffle_epi8(colour, spreadAlpha);
  const __m256i sum =
      _mm256_add_epi16(_mm256_mullo_epi16(colour, alpha), _mm256_mullo_epi16(behind, _mm256_sub_epi16(full, alpha)));
  return _mm256_srli_epi16(_mm256_add_epi16(sum, full), 8);
}

}  // namespace

// The same lanes as BlendToColoursSsse3 in each half of the register; the
// last pixels go through it.
[[gnu::target("avx2")]] void BlendToColoursAvx2(const std::uint8_t* rgba, const std::uint32_t* background,
                                                std::size_t width, std::uint32_t* out) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i full = _mm256_set1_epi16(255);
  const __m256i blueFirst = _mm256_setr_epi8(2, 1, 0, 3, 6, 5, 4, 7, 10, 9, 8, 11, 14, 13, 12, 15, 2, 1, 0, 3, 6, 5,
                                             4, 7, 10, 9, 8, 11, 14, 13, 12, 15);
  const __m256i colourBytes = _mm256_set1_epi32(0x00FFFFFF);
  std::size_t x = 0;
  for (; x + 8 <= width; x += 8) {
    const __m256i pixels =
        _mm256_shuffle_epi8(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(rgba + 4 * x)), blueFirst);
    const __m256i behind = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(background + x));
    const __m256i low = BlendLanes(_mm256_unpacklo_epi8(pixels, zero), _mm256_unpacklo_epi8(behind, zero), full);
    const __m256i high = BlendLanes(_mm256_unpackhi_epi8(pixels, zero), _mm256_unpackhi_epi8(behind, zero), full);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + x),
                        _mm256_and_si256(_mm256_packus_epi16(low, high), colourBytes));
  }
  BlendToColoursSsse3(rgba + 4 * x, background + x, width - x, out + x);
}

}  // namespace zorv::png::x86
