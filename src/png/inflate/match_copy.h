#pragma once
// Copies of earlier output (deflate's length/distance pairs) a word or two at a
// time. The caller guarantees kMatchCopySlack writable bytes after the match:
// the last chunks may spill over them with bytes that are later overwritten.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace zorv::png {

inline constexpr std::size_t kMatchCopySlack = 64;

// Chunks travel in vector registers: a byte array would live on the stack and,
// as the output's byte stores may alias it, be read back from memory each time.
template <std::size_t kBytes>
using Chunk [[gnu::vector_size(kBytes)]] = std::uint8_t;

template <std::size_t kBytes>
[[gnu::always_inline]] inline void CopyChunk(std::uint8_t* to, const std::uint8_t* from) {
  Chunk<kBytes> chunk;
  std::memcpy(&chunk, from, kBytes);
  std::memcpy(to, &chunk, kBytes);
}

// Copies [from, ...) to [out, end) chunk by chunk; the source runs at least a
// chunk ahead of what the chunk overwrites, so overlapping matches repeat as they should.
template <std::size_t kBytes>
[[gnu::always_inline]] inline void CopyChunks(std::uint8_t* out, const std::uint8_t* from, const std::uint8_t* end) {
  // Most matches are short: two chunks without a test, then a loop.
  CopyChunk<kBytes>(out, from);
  CopyChunk<kBytes>(out + kBytes, from + kBytes);
  out += 2 * kBytes;
  from += 2 * kBytes;
  while (out < end) {
    CopyChunk<kBytes>(out, from);
    CopyChunk<kBytes>(out + kBytes, from + kBytes);
    out += 2 * kBytes;
    from += 2 * kBytes;
  }
}

// A period of `distance` bytes (1 to 7) widened into a word by shifts, stored 8
// or 16 bytes at a time and moved on by the largest multiple of the period that
// fits, so that every store starts at the same phase.
[[gnu::always_inline]] inline void RepeatShortPeriod(std::uint8_t* out, std::size_t distance, const std::uint8_t* end) {
  // The period is read from within what was just written (a load that spans
  // bytes not yet stored, or several recent stores, waits for them all).
  std::uint64_t word;
  if (distance == 1) {
    word = 0x0101010101010101ULL * out[-1];
  } else {
    // Only the period itself is sure to lie before `out`: the match may start
    // fewer than 8 bytes into the output.
    word = 0;
    switch (distance) {
      case 2: std::memcpy(&word, out - 2, 2); break;
      case 3: std::memcpy(&word, out - 3, 3); break;
      case 4: std::memcpy(&word, out - 4, 4); break;
      case 5: std::memcpy(&word, out - 5, 5); break;
      case 6: std::memcpy(&word, out - 6, 6); break;
      default: std::memcpy(&word, out - 7, 7); break;
    }
    for (std::size_t filled = distance; filled < 8; filled *= 2) word |= word << (8 * filled);
  }
  if (8 % distance == 0) {
    // Periods of 1, 2 and 4 bytes: a word twice is a 16-byte pattern.
    using Words [[gnu::vector_size(16)]] = std::uint64_t;
    const Words pattern = {word, word};
    do {
      std::memcpy(out, &pattern, 16);
      std::memcpy(out + 16, &pattern, 16);
      out += 32;
    } while (out < end);
    return;
  }
  const std::size_t step = 8 - 8 % distance;
  do {
    std::memcpy(out, &word, 8);
    out += step;
  } while (out < end);
}

// out[i] = out[i - distance] for i in [0, length); 1 <= distance <= bytes before out.
[[gnu::always_inline]] inline void CopyMatch(std::uint8_t* out, std::size_t distance, std::size_t length) {
  std::uint8_t* const end = out + length;
  // Every byte a match no longer than its distance copies was written before
  // it, so wide chunks copy it whatever the distance (what they carry past its
  // end only fills the slack): short matches at short distances, common in
  // text and in pictures, take the common path rather than a branch the
  // processor seldom sees taken.
  if (distance >= std::min<std::size_t>(length, 32)) {
    CopyChunks<32>(out, out - distance, end);
  } else if (distance >= 16) {
    CopyChunks<16>(out, out - distance, end);
  } else if (distance >= 8) {
    CopyChunks<8>(out, out - distance, end);
  } else {
    RepeatShortPeriod(out, distance, end);
  }
}

}  // namespace zorv::png
