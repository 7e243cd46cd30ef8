#pragma once
// Copies of earlier output (deflate's length/distance pairs) eight bytes at a
// time. The caller guarantees kMatchCopySlack writable bytes after the match:
// the last words may spill over them with bytes that are later overwritten.
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace zorv::png {

inline constexpr std::size_t kMatchCopySlack = 16;

inline void CopyWord(std::uint8_t* to, const std::uint8_t* from) {
  std::uint64_t word;
  std::memcpy(&word, from, sizeof word);
  std::memcpy(to, &word, sizeof word);
}

// out[i] = out[i - distance] for i in [0, length); 1 <= distance <= bytes before out.
inline void CopyMatch(std::uint8_t* out, std::size_t distance, std::size_t length) {
  std::uint8_t* const end = out + length;
  if (distance >= 8) {
    // Most matches are short: two words without a test, then a loop.
    const std::uint8_t* from = out - distance;
    CopyWord(out, from);
    CopyWord(out + 8, from + 8);
    out += 16;
    from += 16;
    while (out < end) {
      CopyWord(out, from);
      out += 8;
      from += 8;
    }
    return;
  }
  if (distance == 1) {
    const std::uint64_t word = 0x0101010101010101ULL * out[-1];
    do {
      std::memcpy(out, &word, sizeof word);
      out += 8;
    } while (out < end);
    return;
  }
  // A short period repeats with every multiple of it too: once the first
  // (stride - distance) bytes are in place, whole words can be copied from
  // `stride` bytes back, and that stride is at least a word.
  const std::size_t stride = (8 + distance - 1) / distance * distance;
  const std::size_t head = stride - distance;
  for (std::size_t i = 0; i < head; ++i) out[i] = out[static_cast<std::ptrdiff_t>(i) - static_cast<std::ptrdiff_t>(distance)];
  out += head;
  const std::uint8_t* from = out - stride;
  while (out < end) {
    CopyWord(out, from);
    out += 8;
    from += 8;
  }
}

}  // namespace zorv::png
