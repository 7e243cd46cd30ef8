// The RGB conversions sixteen pixels a step: NEON loads three-byte pixels
// apart into one register per colour and stores them back interleaved.
#include <arm_neon.h>

#include <bit>

#include "png/arm/neon_kernels.h"
#include "png/pixel_conversion.h"

namespace zorv::png::arm {

void SwapRgbNeon(std::uint8_t* row, std::size_t n) {
  std::size_t at = 0;
  for (; at + 48 <= n; at += 48) {
    const uint8x16x3_t rgb = vld3q_u8(row + at);
    vst3q_u8(row + at, uint8x16x3_t{{rgb.val[2], rgb.val[1], rgb.val[0]}});
  }
  plain::SwapRgb(row + at, n - at);
}

// A device colour 0x00RRGGBB is blue, green, red, 0 in memory.
void RgbToColoursNeon(const std::uint8_t* rgb, std::size_t width, std::uint32_t* out) {
  static_assert(std::endian::native == std::endian::little);
  std::size_t x = 0;
  for (; x + 16 <= width; x += 16) {
    const uint8x16x3_t pixels = vld3q_u8(rgb + 3 * x);
    vst4q_u8(reinterpret_cast<std::uint8_t*>(out + x),
             uint8x16x4_t{{pixels.val[2], pixels.val[1], pixels.val[0], vdupq_n_u8(0)}});
  }
  plain::RgbToColours(rgb + 3 * x, width - x, out + x);
}

}  // namespace zorv::png::arm
