#pragma once
// The bit input of the inflater: a 64-bit buffer, least significant bit first.
//
// Its end-of-input rules are part of what the inflater promises:
// - Bits read for a Huffman code may run past the input; the missing bits read
//   as 0 and nothing fails there.
// - Bits read as a plain value (block headers, extra bits) must all exist:
//   one past the input is a failure, even 0 bits once the position is beyond it.
// - A stored block's header check uses the byte position the input would have
//   reached had it been read a byte at a time, each code lookup asking for the
//   longest code of its table (`ConsumedBytesForStoredCheck`).
// The fast decoding loop works on a copy of the fields (`Registers`) and keeps
// clear of the last input bytes, where only the careful operations run.
#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <span>

#include "platform/run_time_error.h"

namespace zorv::png {

inline std::uint64_t LoadLittleEndian64(const std::uint8_t* p) {
  std::uint64_t v;
  std::memcpy(&v, p, sizeof v);
  if constexpr (std::endian::native == std::endian::big) v = __builtin_bswap64(v);
  return v;
}

class InflateBitReader {
 public:
  // The state the fast loop keeps in registers.
  struct Registers {
    std::uint64_t buffer = 0;  // valid bits at the bottom; above them only copies of later input bits
    unsigned count = 0;        // number of valid bits
    const std::uint8_t* next;  // next input byte not yet in the buffer
  };

  explicit InflateBitReader(std::span<const std::uint8_t> input)
      : begin_(input.data()), end_(input.data() + input.size()), totalBits_(std::uint64_t{input.size()} * 8) {
    regs_.next = begin_;
  }

  Registers& Regs() { return regs_; }
  const std::uint8_t* End() const { return end_; }

  // A plain value of n bits (0..16); throws when any of them lies past the input.
  std::uint32_t GetBits(unsigned n) {
    if (regs_.count < n) Refill();
    const std::uint64_t position = BitPosition();
    if (position + n > totalBits_) throw RunTimeError(ErrorCode::SubscriptOutOfRange);
    highWater_ = std::max(highWater_, position + n);
    const auto value = static_cast<std::uint32_t>(regs_.buffer & ((std::uint64_t{1} << n) - 1));
    Drop(n);
    return value;
  }

  // Makes sure a code of up to maxLength bits can be looked up at the bottom of
  // Bits(); past the input the buffer is filled with zero bits.
  void NeedCode(unsigned maxLength) {
    Refill();
    highWater_ = std::max(highWater_, std::min(totalBits_, BitPosition() + maxLength));
  }

  std::uint64_t Bits() const { return regs_.buffer; }
  void Drop(unsigned n) {
    regs_.buffer >>= n;
    regs_.count -= n;
  }

  // Bits taken from the stream so far, zero bits read past its end included.
  std::uint64_t BitPosition() const {
    return (static_cast<std::uint64_t>(regs_.next - begin_) + zeroBytes_) * 8 - regs_.count;
  }

  // True when every bit still to come lies past the end of the input.
  bool PastInput() const { return BitPosition() >= totalBits_; }

  // The input byte position that a stored block's header is checked against.
  std::uint64_t ConsumedBytesForStoredCheck() const { return (std::max(highWater_, BitPosition()) + 7) / 8; }

  // Starts over at a byte boundary with an empty buffer (after a stored block).
  void RestartAt(std::uint64_t bytePosition) {
    regs_ = Registers{0, 0, begin_ + bytePosition};
    zeroBytes_ = 0;
    highWater_ = bytePosition * 8;
  }

 private:
  // Tops the buffer up a byte at a time, with zero bytes past the input.
  void Refill() {
    if (regs_.count < 64) regs_.buffer &= (std::uint64_t{1} << regs_.count) - 1;
    while (regs_.count <= 56) {
      std::uint64_t byte = 0;
      if (regs_.next < end_) {
        byte = *regs_.next++;
      } else {
        ++zeroBytes_;
      }
      regs_.buffer |= byte << regs_.count;
      regs_.count += 8;
    }
  }

  const std::uint8_t* begin_;
  const std::uint8_t* end_;
  std::uint64_t totalBits_;
  Registers regs_;
  std::uint64_t zeroBytes_ = 0;  // zero bytes added past the end of the input
  std::uint64_t highWater_ = 0;  // furthest bit position a byte-at-a-time reader would have loaded
};

}  // namespace zorv::png
