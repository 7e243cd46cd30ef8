#include "png/adler32.h"

#include <algorithm>

namespace zorv::png {

std::uint32_t UpdateAdler32(std::uint32_t adler, std::span<const std::uint8_t> bytes) noexcept {
  constexpr std::uint32_t kModulus = 65521;
  // 5552 is the longest run whose sums cannot overflow 32 bits before the modulo.
  constexpr std::size_t kLongestRun = 5552;
  std::uint32_t a = adler & 0xFFFF;
  std::uint32_t b = adler >> 16;
  std::size_t offset = 0;
  while (offset < bytes.size()) {
    const std::size_t run = std::min(kLongestRun, bytes.size() - offset);
    for (std::size_t i = 0; i < run; ++i) {
      a += bytes[offset + i];
      b += a;
    }
    a %= kModulus;
    b %= kModulus;
    offset += run;
  }
  return b << 16 | a;
}

}  // namespace zorv::png
