#pragma once
// The fast loop for blocks whose literals and matches come mixed about evenly,
// as in text. There the processor cannot guess whether a literal or a match
// comes next, and each wrong guess of the other loop costs more than a step of
// this one, which takes a literal entry and a match alike without a branch: it
// looks up a distance code after a literal too and drops its bits only for a
// match, and it copies 64 bytes either way, of the match or, for a literal,
// from a ramp of bytes whose first is the literal (two literals are written
// over what was copied). Each kernel of the loop (png/kernels.h) compiles it
// for its processor.
#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#include "png/inflate/inflate_fast_loop.h"

namespace zorv::png {
namespace branch_free {

// What a step writes at once: longer matches take a branch of their own.
inline constexpr std::size_t kStepCopy = 64;
static_assert(kStepCopy <= kMatchCopySlack);

// What a step of a single literal copies: from byte `literal` on, the first
// byte is the literal (what follows it is overwritten later).
alignas(64) inline constexpr std::array<std::uint8_t, 256 + kStepCopy> kLiteralRamp = [] {
  std::array<std::uint8_t, 256 + kStepCopy> ramp{};
  for (std::size_t i = 0; i < ramp.size(); ++i) ramp[i] = static_cast<std::uint8_t>(i);
  return ramp;
}();

// The two literals of a literal entry (its bits 16-31) as two bytes in the
// order they are written (after a single literal the second byte is 0, and overwritten).
[[gnu::always_inline]] inline std::uint16_t LiteralBytes(std::uint32_t literals) {
  const auto both = static_cast<std::uint16_t>(literals);
  if constexpr (std::endian::native == std::endian::little) return both;
  return static_cast<std::uint16_t>(both << 8 | both >> 8);
}

}  // namespace branch_free

template <bool kPairedLiterals, typename BaseAndExtra>
[[gnu::always_inline]] inline InflateRun::FastEnd InflateRun::DecodeBranchFreeLoop(
    const HuffmanDecodeTable& literalLength, const HuffmanDecodeTable& distance) {
  if (literalLength.RootBits() == kLiteralLengthRootBits) {
    return DecodeBranchFreeLoopWithRoot<kLiteralLengthRootBits, kPairedLiterals, BaseAndExtra>(literalLength, distance);
  }
  return DecodeBranchFreeLoopWithRoot<kCompactLiteralLengthRootBits, kPairedLiterals, BaseAndExtra>(literalLength,
                                                                                                   distance);
}

template <unsigned kRootBits, bool kPairedLiterals, typename BaseAndExtra>
[[gnu::always_inline]] inline InflateRun::FastEnd InflateRun::DecodeBranchFreeLoopWithRoot(
    const HuffmanDecodeTable& literalLengthTable, const HuffmanDecodeTable& distanceTable) {
  using namespace fast_loop;
  using branch_free::kStepCopy;
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

  // One refill a step, between its two lookups, leaves the next 64 bits of
  // input in the buffer and counts 56 or more of them (the low bits stay as
  // they are). After it a step drops at most a distance code and its extra
  // bits; the next step's literal/length code, even one found through its
  // subtable, its extra bits and the distance root lookup fit what is left.
  constexpr unsigned kLongestDistanceBits = kLongestCode + kDistanceExtra.back();
  constexpr unsigned kLongestLengthBits = kLongestCode + std::ranges::max(kLengthExtra);
  static_assert(64 - kLongestDistanceBits - kLongestLengthBits >= kDistanceRootBits);
  static_assert(56 >= kLongestDistanceBits + kLongestLengthBits);  // what the count tells stays above 0
  FastEnd end = FastEnd::kNearEnd;
  bits = Refilled(bits);
  std::uint32_t e = literalLength.Root(bits.buffer);
  for (;;) {
    if (e & entry::kEndOfBlock) [[unlikely]] {
      if (entry::IsSubtableLink(e)) e = literalLength.Resolve(e, bits.buffer);
      if (e & entry::kEndOfBlock) {
        bits = Dropped(bits, e);
        end = FastEnd::kEndOfBlock;
        break;
      }
      if (e & entry::kLiteral) {
        bits = Refilled(Dropped(bits, e));
        *out++ = entry::Literal(e);
        e = literalLength.Root(bits.buffer);
        if (!(bits.next < inLimit && out < outLimit)) break;
        continue;
      }
    }
    // All ones for a length entry, zero for a literal one: what the step keeps of
    // the match it decodes either way.
    const std::uint64_t isLiteral = (e / entry::kLiteral) & 1;
    const std::uint64_t match = isLiteral - 1;
    const std::size_t literalCount = kPairedLiterals ? entry::LiteralCount(e) & ~match : isLiteral;
    const std::uint32_t literals = e >> 16;  // one or two
    const std::uint16_t literalBytes = branch_free::LiteralBytes(literals);
    std::uint64_t before = bits.buffer;
    bits = Dropped(bits, e);
    const std::size_t length = BaseAndExtra::Of(e, before) & match;
    std::uint32_t d = distance.Root(bits.buffer);
    bits = Refilled(bits);
    if (entry::IsSubtableLink(d) && match != 0) [[unlikely]] d = distance.Resolve(d, bits.buffer);
    before = bits.buffer;
    bits = Dropped(bits, d & static_cast<std::uint32_t>(match));
    const std::size_t dist = BaseAndExtra::Of(d, before);
    e = literalLength.Root(bits.buffer);
    const std::size_t written = static_cast<std::size_t>(out - outBegin);
    // Matches that reach past the start, overlap themselves or outrun a step.
    if ((length > dist) | (length > kStepCopy) | ((dist & match) > written)) [[unlikely]] {
      if (dist > written) {
        reader_.Regs() = Settled(bits);
        out_ = out;
        if (CopyCarefully(dist, length) == Flow::kStop) return FastEnd::kStop;
        out = out_;
      } else {
        CopyMatch(out, dist, length);
        out += length;
      }
      if (!(bits.next < inLimit && out < outLimit)) break;
      continue;
    }
    // A single literal is copied from the ramp; two are written over what was
    // copied. (Addresses as numbers: after a literal, `dist` is no distance;
    // after a match, `literals` is no literal.)
    const std::uintptr_t ramp = reinterpret_cast<std::uintptr_t>(branch_free::kLiteralRamp.data());
    const std::uintptr_t literalSource = kPairedLiterals ? ramp : ramp + literals;
    const auto from = reinterpret_cast<const std::uint8_t*>(((reinterpret_cast<std::uintptr_t>(out) - dist) & match) |
                                                            (literalSource & ~match));
    Chunk<kStepCopy / 2> low;
    Chunk<kStepCopy / 2> high;
    std::memcpy(&low, from, kStepCopy / 2);
    std::memcpy(&high, from + kStepCopy / 2, kStepCopy / 2);
    std::memcpy(out, &low, kStepCopy / 2);
    std::memcpy(out + kStepCopy / 2, &high, kStepCopy / 2);
    if constexpr (kPairedLiterals) {
      std::uint16_t copied;
      std::memcpy(&copied, &low, 2);
      const auto head = static_cast<std::uint16_t>((copied & match) | (literalBytes & ~match));
      std::memcpy(out, &head, 2);
    }
    out += length + literalCount;
    if (!(bits.next < inLimit && out < outLimit)) break;
  }
  reader_.Regs() = Settled(bits);
  out_ = out;
  return end;
}

}  // namespace zorv::png
