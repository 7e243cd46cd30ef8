#pragma once
// Copies of earlier output (deflate's length/distance pairs) a word or two at a
// time. The caller guarantees kMatchCopySlack writable bytes after the match:
// the last chunks may spill over them with bytes that are later overwritten.
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace zorv::png {

inline constexpr std::size_t kMatchCopySlack = 64;

template <std::size_t kBytes>
inline void CopyChunk(std::uint8_t* to, const std::uint8_t* from) {
  std::uint8_t chunk[kBytes];
  std::memcpy(chunk, from, kBytes);
  std::memcpy(to, chunk, kBytes);
}

// Copies [from, ...) to [out, end) chunk by chunk; the source runs at least a
// chunk ahead of what the chunk overwrites, so overlapping matches repeat as they should.
template <std::size_t kBytes>
inline void CopyChunks(std::uint8_t* out, const std::uint8_t* from, const std::uint8_t* end) {
  // Most matches are short: two chunks without a test, then a loop.
  CopyChunk<kBytes>(out, from);
  CopyChunk<kBytes>(out + kBytes, from + kBytes);
  out += 2 * kBytes;
  from += 2 * kBytes;
  while (out < end) {
    CopyChunk<kBytes>(out, from);
    out += kBytes;
    from += kBytes;
  }
}

// out[i] = out[i - distance] for i in [0, length); 1 <= distance <= bytes before out.
inline void CopyMatch(std::uint8_t* out, std::size_t distance, std::size_t length) {
  std::uint8_t* const end = out + length;
  if (distance >= 32) {
    CopyChunks<32>(out, out - distance, end);
    return;
  }
  if (distance >= 16) {
    CopyChunks<16>(out, out - distance, end);
    return;
  }
  if (distance >= 8) {
    CopyChunks<8>(out, out - distance, end);
    return;
  }
  if (distance == 1) {
    // A run of one byte (blank image rows): 32 bytes a step.
    const std::uint64_t word = 0x0101010101010101ULL * out[-1];
    do {
      for (std::size_t i = 0; i < 32; i += 8) std::memcpy(out + i, &word, sizeof word);
      out += 32;
    } while (out < end);
    return;
  }
  // A short period repeats with every multiple of it too: once the first
  // (stride - distance) bytes are in place, words can be copied from `stride`
  // bytes back, and that stride is at least a word.
  const std::size_t stride = (8 + distance - 1) / distance * distance;
  const std::size_t head = stride - distance;
  for (std::size_t i = 0; i < head; ++i) out[i] = *(out + i - distance);
  out += head;
  const std::uint8_t* from = out - stride;
  while (out < end) {
    CopyChunk<8>(out, from);
    out += 8;
    from += 8;
  }
}

}  // namespace zorv::png
