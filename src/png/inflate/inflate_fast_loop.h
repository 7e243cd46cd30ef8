#pragma once
// The fast decoding loop of InflateRun: symbols of a compressed block while
// both the input and the output are far from their ends. Each kernel of the
// loop (png/kernels.h) compiles it for its processor.
#include <bit>
#include <cstdint>
#include <cstring>

#include "png/inflate/inflate_run.h"
#include "png/inflate/match_copy.h"

namespace zorv::png {
namespace fast_loop {

// Between two checks of the limits the loop loads whole words at most three
// times (each load reads 8 bytes and moves on by up to 7; the longest stretch
// is a literal entry or two with the refill after the first, then a match with
// the long form of length 258 and the refills before it and at the distance). It
// keeps this many input bytes away from the end, so the rules of the input's
// end (zero bits for codes, the stored-block check) never concern it.
constexpr std::size_t kFastInputMargin = 32;
// How far ahead of the output the lines to be written are asked for (a
// prefetch never faults, past the end of the output or not; the address is
// computed as a number, not as a pointer into the output).
constexpr std::size_t kWriteAhead = 4096;
// A step may store two literal entries (two bytes each) before its match and
// checks the limits only after the match: the margin holds them too.
constexpr std::size_t kLiteralBytesBeforeMatch = 4;
constexpr std::size_t kFastOutputMargin = kLiteralBytesBeforeMatch + kLongestMatch + kMatchCopySlack;

// The fast loop's bit state, passed by value so that it stays in registers
// (the loop's byte stores may alias anything whose address was taken). Only
// the low 6 bits of `count` are meaningful: a whole table entry is subtracted
// from it, its low bits being the bits to drop, which spares a mask per symbol.
using FastBits = InflateBitReader::Registers;

[[gnu::always_inline]] inline FastBits Refilled(FastBits b) {
  b.buffer |= LoadLittleEndian64(b.next) << (b.count & 63);
  b.next += (63 - (b.count & 63)) >> 3;
  b.count |= 56;
  return b;
}

// Drops the bits an entry stands for (its low 6 bits).
[[gnu::always_inline]] inline FastBits Dropped(FastBits b, std::uint32_t e) {
  b.buffer >>= (e & 63);
  b.count -= e;
  return b;
}

[[gnu::always_inline]] inline InflateBitReader::Registers Settled(FastBits b) {
  b.count &= 63;
  return b;
}

// Stores the literal or two of a literal entry. Where the entry may hold two,
// two bytes are written either way: after a single literal the second is
// overwritten by what comes next. Where it holds one, the output moves on by
// one whatever the entry: the stores and match copies that follow need not
// wait for the entry to know where they go.
template <bool kPairedLiterals>
[[gnu::always_inline]] inline std::uint8_t* PutLiterals(std::uint8_t* out, std::uint32_t e) {
  if constexpr (!kPairedLiterals) {
    *out = entry::Literal(e);
    return out + 1;
  }
  const auto both = static_cast<std::uint16_t>(e >> 16);
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(out, &both, 2);
  } else {
    out[0] = static_cast<std::uint8_t>(both);
    out[1] = static_cast<std::uint8_t>(both >> 8);
  }
  return out + entry::LiteralCount(e);
}

// The base of a length or distance entry plus its extra bits, read from the
// buffer as it was before the code and the extra bits were dropped together.
// (Bits 8-13 of the entry are its code length, as a shift count reads them.)
// A processor's kernel may bring its own (x86/inflate_fast_loop_bmi2.cpp).
struct PlainBaseAndExtra {
  [[gnu::always_inline]] static std::size_t Of(std::uint32_t e, std::uint64_t before) {
    return entry::Value(e) + (LowBits(before, e & 63) >> ((e >> 8) & 63));
  }
};

// The distance of a whole-match entry as a distance entry whose code is
// everything before the distance's extra bits, for BaseAndExtra to read.
[[gnu::always_inline]] inline std::uint32_t WholeMatchDistance(std::uint32_t e) {
  const std::uint32_t meaning = kDistanceMeanings[entry::MatchDistanceSymbol(e)];
  const std::uint32_t allBits = e & 63;
  return (meaning & ~std::uint32_t{63}) | allBits | (allBits - entry::ExtraBits(meaning)) << 8;
}

}  // namespace fast_loop

template <bool kLargeLength, bool kWholeMatches, bool kPairedLiterals, typename BaseAndExtra>
[[gnu::always_inline]] inline InflateRun::FastEnd InflateRun::DecodeFastLoop(
    const HuffmanDecodeTable& literalLength, const HuffmanDecodeTable& distance) {
  static_assert(!(kLargeLength && kWholeMatches));
  // The root size is a constant within the loop (a mask and shift counts).
  if (literalLength.RootBits() == kLiteralLengthRootBits) {
    return DecodeFastLoopWithRoot<kLargeLength, kLiteralLengthRootBits, kWholeMatches, kPairedLiterals, BaseAndExtra>(
        literalLength, distance);
  }
  return DecodeFastLoopWithRoot<kLargeLength, kCompactLiteralLengthRootBits, kWholeMatches, kPairedLiterals,
                                BaseAndExtra>(literalLength, distance);
}

template <bool kLargeLength, unsigned kRootBits, bool kWholeMatches, bool kPairedLiterals, typename BaseAndExtra>
[[gnu::always_inline]] inline InflateRun::FastEnd InflateRun::DecodeFastLoopWithRoot(
    const HuffmanDecodeTable& literalLengthTable, const HuffmanDecodeTable& distanceTable) {
  using namespace fast_loop;
  const auto literalLength = literalLengthTable.Decoder<kRootBits>();
  const auto distance = distanceTable.Decoder<kDistanceRootBits>();
  std::uint8_t* const outBegin = outBegin_;
  const std::uint8_t* const inLimit =
      input_.size() > kFastInputMargin ? reader_.End() - kFastInputMargin : input_.data();
  std::uint8_t* const outLimit =
      static_cast<std::size_t>(outEnd_ - out_) > kFastOutputMargin ? outEnd_ - kFastOutputMargin : out_;
  FastBits bits = reader_.Regs();
  std::uint8_t* out = out_;
  if (!(bits.next < inLimit && out < outLimit)) return FastEnd::kNearEnd;

  // Each step starts with at least kStepBits in the buffer and the next code
  // looked up; a refill brings the buffer to 56 bits or more. A step takes:
  // - a literal entry, then the lookup of the next code, while the buffer is
  //   refilled; two more literal entries still leave kStepBits;
  // - or a length code and its extra bits, then the root bits of a distance
  //   code, looked up while the buffer is refilled; the distance code and its
  //   extra bits still leave kStepBits.
  // - or a whole match: the buffer is refilled first, and the entry's bits (at
  //   most the root bits and a distance's extra bits) still leave kStepBits.
  // So no lookup waits for a refill, and a match needs one refill, not two.
  constexpr unsigned kStepBits = 56 - (kLongestCode + 13);
  static_assert(kStepBits - kRootBits >= kRootBits);
  static_assert(56 - 2 * kRootBits >= kStepBits);
  static_assert(kStepBits >= kLongestCode + 5 + kDistanceRootBits);
  static_assert(kStepBits >= kLongestCode);  // a code that needs its subtable
  static_assert(56 - (kRootBits + kDistanceExtra.back()) >= kStepBits);
  FastEnd end = FastEnd::kNearEnd;
  bits = Refilled(bits);
  // Literals are taken from root entries alone: a link to a subtable is no
  // literal, so the chain of literals needs no test for it.
  std::uint32_t e = literalLength.Root(bits.buffer);
  for (;;) {
    if (e & entry::kLiteral) {
      bits = Dropped(bits, e);
      out = PutLiterals<kPairedLiterals>(out, e);
      e = literalLength.Root(bits.buffer);
      bits = Refilled(bits);
      if (e & entry::kLiteral) {
        bits = Dropped(bits, e);
        out = PutLiterals<kPairedLiterals>(out, e);
        e = literalLength.Root(bits.buffer);
        if (e & entry::kLiteral) {
          bits = Dropped(bits, e);
          out = PutLiterals<kPairedLiterals>(out, e);
          e = literalLength.Root(bits.buffer);
          if (!(bits.next < inLimit && out < outLimit)) break;
          continue;
        }
      }
    }
    if (e & entry::kEndOfBlock) [[unlikely]] {
      if (entry::IsSubtableLink(e)) {
        e = literalLength.Resolve(e, bits.buffer);
        if (e & entry::kLiteral) {
          bits = Refilled(Dropped(bits, e));
          out = PutLiterals<kPairedLiterals>(out, e);
          e = literalLength.Root(bits.buffer);
          if (!(bits.next < inLimit && out < outLimit)) break;
          continue;
        }
      }
      if (e & entry::kEndOfBlock) {
        bits = Dropped(bits, e);
        end = FastEnd::kEndOfBlock;
        break;
      }
    }
    std::size_t length = 0;
    std::size_t dist = 0;
    if (kWholeMatches && (e & entry::kWholeMatch)) {
      // The entry as a value the compiler cannot see through: else it masks
      // the entry to its low 6 bits once for the drops of both kinds of match,
      // ahead of the test, and the mask lengthens both decode chains by a
      // cycle (a shift by the entry itself masks it for nothing).
      asm("" : "+r"(e));
      // The refill does not wait for the entry: the next lookup waits only for its drop.
      bits = Refilled(bits);
      const std::uint64_t before = bits.buffer;
      bits = Dropped(bits, e);
      length = entry::MatchLength(e);
      dist = BaseAndExtra::Of(WholeMatchDistance(e), before);
    } else {
      std::uint64_t before = bits.buffer;
      bits = Dropped(bits, e);
      length = BaseAndExtra::Of(e, before);
      if constexpr (kLargeLength) {
        if (length == kLongestMatch) {
          bits = Refilled(bits);
          length = LowBits(bits.buffer, 16) + 3;
          bits = Dropped(bits, 16);
        }
      }
      std::uint32_t d = distance.Root(bits.buffer);
      bits = Refilled(bits);  // the low bits stay as they are
      if (entry::IsSubtableLink(d)) [[unlikely]] d = distance.Resolve(d, bits.buffer);
      before = bits.buffer;
      bits = Dropped(bits, d);
      dist = BaseAndExtra::Of(d, before);
    }
    if (dist > static_cast<std::size_t>(out - outBegin) || (kLargeLength && length > kLongestMatch)) [[unlikely]] {
      reader_.Regs() = Settled(bits);
      out_ = out;
      if (CopyCarefully(dist, length) == Flow::kStop) return FastEnd::kStop;
      out = out_;
      if (!(bits.next < inLimit && out < outLimit)) break;
      e = literalLength.Root(bits.buffer);
      continue;
    }
    // The next code is looked up while the match is copied.
    e = literalLength.Root(bits.buffer);
    // The output is rarely in the cache (often not yet in memory at all):
    // asking for its lines some way ahead keeps long matches from waiting for
    // each line they write.
    __builtin_prefetch(reinterpret_cast<const void*>(reinterpret_cast<std::uintptr_t>(out) + kWriteAhead), 1);
    CopyMatch(out, dist, length);
    out += length;
    if (!(bits.next < inLimit && out < outLimit)) break;
  }
  reader_.Regs() = Settled(bits);
  out_ = out;
  return end;
}

}  // namespace zorv::png
