// Sub, Average and Paeth for rows of 3- and 4-byte pixels, a whole pixel per
// step in the lanes of one NEON register. The left neighbour is the pixel just
// rebuilt, so the steps run in order; what is saved is the per-byte work.
// Bytes after the last whole pixel (depths that are no whole bytes) go a byte at a time.
#include <arm_neon.h>

#include <cstring>

#include "png/arm/neon_kernels.h"
#include "png/unfilter_bytes.h"

namespace zorv::png::arm {
namespace {

template <std::size_t Bpp>
inline uint8x8_t Load(const std::uint8_t* p) {
  std::uint32_t v = 0;
  std::memcpy(&v, p, Bpp);
  return vreinterpret_u8_u32(vdup_n_u32(v));
}

template <std::size_t Bpp>
inline void Store(std::uint8_t* p, uint8x8_t bytes) {
  const std::uint32_t v = vget_lane_u32(vreinterpret_u32_u8(bytes), 0);
  std::memcpy(p, &v, Bpp);
}

}  // namespace

template <std::size_t Bpp>
void UnfilterSubNeon(const std::uint8_t* in, std::uint8_t* out, const std::uint8_t*, std::size_t n, std::size_t) {
  uint8x8_t left = vdup_n_u8(0);
  std::size_t x = 0;
  for (; x + Bpp <= n; x += Bpp) {
    left = vadd_u8(Load<Bpp>(in + x), left);
    Store<Bpp>(out + x, left);
  }
  bytes::Sub(in, out, x, n, Bpp);
}

// vhadd halves the sum without losing its ninth bit: the floor of the mean.
template <std::size_t Bpp>
void UnfilterAverageNeon(const std::uint8_t* in, std::uint8_t* out, const std::uint8_t* previous, std::size_t n,
                         std::size_t) {
  uint8x8_t left = vdup_n_u8(0);
  std::size_t x = 0;
  for (; x + Bpp <= n; x += Bpp) {
    left = vadd_u8(Load<Bpp>(in + x), vhadd_u8(left, Load<Bpp>(previous + x)));
    Store<Bpp>(out + x, left);
  }
  bytes::Average(in, out, previous, x, n, Bpp);
}

// |p - a| = |b - c| and |p - b| = |a - c| fit a byte; |p - c| = |(b - c) + (a - c)|
// is taken in 16 bits and saturated back, which keeps its order against the
// other two (neither is above 255).
template <std::size_t Bpp>
void UnfilterPaethNeon(const std::uint8_t* in, std::uint8_t* out, const std::uint8_t* previous, std::size_t n,
                       std::size_t) {
  uint8x8_t a = vdup_n_u8(0);  // left, upper left
  uint8x8_t c = vdup_n_u8(0);
  std::size_t x = 0;
  for (; x + Bpp <= n; x += Bpp) {
    const uint8x8_t b = Load<Bpp>(previous + x);
    const uint8x8_t pa = vabd_u8(b, c);
    const uint8x8_t pb = vabd_u8(a, c);
    const int16x8_t sum = vaddq_s16(vreinterpretq_s16_u16(vsubl_u8(b, c)), vreinterpretq_s16_u16(vsubl_u8(a, c)));
    const uint8x8_t pc = vqmovn_u16(vreinterpretq_u16_s16(vabsq_s16(sum)));
    const uint8x8_t smallest = vmin_u8(pa, vmin_u8(pb, pc));
    // Ties go to a, then b.
    const uint8x8_t predicted = vbsl_u8(vceq_u8(smallest, pa), a, vbsl_u8(vceq_u8(smallest, pb), b, c));
    a = vadd_u8(Load<Bpp>(in + x), predicted);
    Store<Bpp>(out + x, a);
    c = b;
  }
  bytes::Paeth(in, out, previous, x, n, Bpp);
}

template void UnfilterSubNeon<3>(const std::uint8_t*, std::uint8_t*, const std::uint8_t*, std::size_t, std::size_t);
template void UnfilterSubNeon<4>(const std::uint8_t*, std::uint8_t*, const std::uint8_t*, std::size_t, std::size_t);
template void UnfilterAverageNeon<3>(const std::uint8_t*, std::uint8_t*, const std::uint8_t*, std::size_t, std::size_t);
template void UnfilterAverageNeon<4>(const std::uint8_t*, std::uint8_t*, const std::uint8_t*, std::size_t, std::size_t);
template void UnfilterPaethNeon<3>(const std::uint8_t*, std::uint8_t*, const std::uint8_t*, std::size_t, std::size_t);
template void UnfilterPaethNeon<4>(const std::uint8_t*, std::uint8_t*, const std::uint8_t*, std::size_t, std::size_t);

}  // namespace zorv::png::arm
