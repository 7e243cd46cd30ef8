#pragma once
// One pixel of 3 or 4 bytes in the low lanes of an SSE2 register, which every
// x86-64 processor has: what the unfilter kernels of x86/ share.
#include <emmintrin.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace zorv::png::x86 {

// Three bytes are put together in a register: gathered in memory they would be
// read back as a word the processor cannot forward from the smaller writes.
template <std::size_t Bpp>
inline __m128i Load(const std::uint8_t* p) {
  std::uint32_t v;
  if constexpr (Bpp == 4) {
    std::memcpy(&v, p, 4);
  } else {
    v = std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16;
  }
  return _mm_cvtsi32_si128(static_cast<int>(v));
}

template <std::size_t Bpp>
inline void Store(std::uint8_t* p, __m128i bytes) {
  const auto v = static_cast<std::uint32_t>(_mm_cvtsi128_si32(bytes));
  if constexpr (Bpp == 4) {
    std::memcpy(p, &v, 4);
  } else {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
    p[2] = static_cast<std::uint8_t>(v >> 16);
  }
}

inline __m128i Widen(__m128i bytes) { return _mm_unpacklo_epi8(bytes, _mm_setzero_si128()); }

// One Average step on the bytes of a pixel: the stored bytes plus the floor of
// the mean of the left and upper bytes (avg_epu8 rounds up; the floor is one
// less when the sum is odd).
inline __m128i AverageStep(__m128i stored, __m128i left, __m128i above) {
  const __m128i odd = _mm_and_si128(_mm_xor_si128(left, above), _mm_set1_epi8(1));
  return _mm_add_epi8(stored, _mm_sub_epi8(_mm_avg_epu8(left, above), odd));
}

}  // namespace zorv::png::x86
