#include "png/inflate_run.h"

#include <algorithm>
#include <cstring>

#include "png/inflate.h"
#include "png/match_copy.h"
#include "platform/run_time_error.h"

namespace zorv::png {
namespace {

constexpr std::size_t kLongestMatch = 258;
// The fast loop loads whole words, at most three times per step (each load
// reads 8 bytes and moves on by up to 7; a step is up to three literals or one
// match). It keeps this many input bytes away
// from the end, so the careful rules of the input's end never concern it.
constexpr std::size_t kFastInputMargin = 32;
constexpr std::size_t kFastOutputMargin = kLongestMatch + kMatchCopySlack;

[[noreturn]] void DecodingFailure() { throw RunTimeError(ErrorCode::SubscriptOutOfRange); }

constexpr std::uint64_t LowBits(std::uint64_t bits, unsigned n) { return bits & ((std::uint64_t{1} << n) - 1); }

}  // namespace

InflateRun::InflateRun(std::span<const std::uint8_t> input, std::span<std::uint8_t> output, bool largeLength,
                       std::shared_ptr<const FixedCodeTables>& fixedCodes)
    : input_(input),
      reader_(input),
      outBegin_(output.data()),
      outEnd_(output.data() + output.size()),
      out_(output.data()),
      largeLength_(largeLength),
      fixedCodes_(fixedCodes) {}

InflateOutcome InflateRun::Run() {
  for (;;) {
    const bool final = reader_.GetBits(1) != 0;
    const unsigned type = reader_.GetBits(2);
    Flow flow = Flow::kGoOn;
    if (type == 0) {
      flow = StoredBlock();
    } else if (type == 1) {
      if (!fixedCodes_) fixedCodes_ = FixedCodeTables::Build();
      if (!fixedCodes_) return InflateOutcome{result_, 0, "Error in tree creation (Static)"};
      flow = DecodeSymbols(fixedCodes_->literalLength, fixedCodes_->distance);
    } else if (type == 2) {
      if (!ReadDynamicTables()) return InflateOutcome{result_, 0, "Error in tree creation (Dynamic)"};
      flow = DecodeSymbols(dynamicCodes_->literalLength, dynamicCodes_->distance);
    } else {
      result_ = kInflateBadBlock;
      flow = Flow::kStop;
    }
    if (flow == Flow::kStop || final) break;
  }
  return InflateOutcome{result_, static_cast<std::size_t>(out_ - outBegin_), {}};
}

InflateRun::Flow InflateRun::StoredBlock() {
  // The header must leave at least one byte after LEN and NLEN, counted from the
  // position a byte-at-a-time reader would have reached.
  if (reader_.ConsumedBytesForStoredCheck() + 5 > input_.size()) {
    result_ = kInflateBadBlock;
    return Flow::kStop;
  }
  // Whole bytes still in the bit buffer are given back; the bits of a partly read byte are dropped.
  std::uint64_t at = (reader_.BitPosition() + 7) / 8;
  const unsigned length = input_[at] | input_[at + 1] << 8;
  const unsigned lengthComplement = input_[at + 2] | input_[at + 3] << 8;
  at += 4;
  if (length != (~lengthComplement & 0xFFFFu)) result_ = kInflateStoredLengthCheck;
  if (at + length > input_.size() || length > static_cast<std::size_t>(outEnd_ - out_)) {
    result_ = kInflateBadBlock;
    return Flow::kStop;
  }
  std::memcpy(out_, input_.data() + at, length);
  out_ += length;
  reader_.RestartAt(at + length);
  return Flow::kGoOn;
}

bool InflateRun::ReadDynamicTables() {
  const unsigned literalLengthCount = reader_.GetBits(5) + 257;
  const unsigned distanceCount = reader_.GetBits(5) + 1;
  const unsigned codeLengthCount = reader_.GetBits(4) + 4;
  std::array<std::uint8_t, kCodeLengthSymbols> codeLengthLengths{};
  for (unsigned i = 0; i < codeLengthCount; ++i) {
    codeLengthLengths[kCodeLengthOrder[i]] = static_cast<std::uint8_t>(reader_.GetBits(3));
  }
  if (!dynamicCodes_) dynamicCodes_ = std::make_unique<DynamicCodeTables>();
  DynamicCodeTables& tables = *dynamicCodes_;
  if (!tables.codeLengths.Build(codeLengthLengths, kCodeLengthMeanings)) return false;

  std::array<std::uint8_t, kLiteralLengthSymbols + kDistanceSymbols> lengths{};
  const unsigned total = literalLengthCount + distanceCount;
  unsigned i = 0;
  while (i < total) {
    reader_.NeedCode(tables.codeLengths.MaxLength());
    const std::uint32_t e = tables.codeLengths.Lookup(reader_.Bits());
    reader_.Drop(entry::CodeLength(e));
    const unsigned symbol = entry::Value(e);
    if (symbol < 16) {
      lengths[i++] = static_cast<std::uint8_t>(symbol);
      continue;
    }
    std::uint8_t repeated = 0;
    unsigned count = 0;
    if (symbol == 16) {
      if (i == 0) return false;  // nothing to repeat
      repeated = lengths[i - 1];
      count = 3 + reader_.GetBits(2);
    } else if (symbol == 17) {
      count = 3 + reader_.GetBits(3);
    } else {
      count = 11 + reader_.GetBits(7);
    }
    if (i + count > total) return false;
    std::fill_n(lengths.begin() + i, count, repeated);
    i += count;
  }
  const std::span<const std::uint8_t> all(lengths.data(), total);
  if (!tables.literalLength.Build(all.first(literalLengthCount), kLiteralLengthMeanings)) return false;
  return tables.distance.Build(all.subspan(literalLengthCount), kDistanceMeanings);
}

InflateRun::Flow InflateRun::DecodeSymbols(const HuffmanDecodeTable& literalLength,
                                           const HuffmanDecodeTable& distance) {
  const FastEnd fast = largeLength_ ? DecodeFast<true>(literalLength, distance)
                                    : DecodeFast<false>(literalLength, distance);
  if (fast == FastEnd::kEndOfBlock) return Flow::kGoOn;
  if (fast == FastEnd::kStop) return Flow::kStop;
  return DecodeCarefully(literalLength, distance);
}

namespace {

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

// The base of a length or distance entry plus its extra bits, read from the
// buffer as it was before the code and the extra bits were dropped together.
[[gnu::always_inline]] inline std::size_t BaseAndExtra(std::uint32_t e, std::uint64_t before) {
  return entry::Value(e) + LowBits(before >> entry::CodeLength(e), entry::ExtraBits(e));
}

}  // namespace

#if defined(__x86_64__) && defined(__GNUC__)
// Processors with BMI2 shift by a register without the flag dependencies of the
// classic shifts; the fast loop is compiled for them too and chosen at run time.
template <bool kLargeLength>
[[gnu::target("bmi2")]] InflateRun::FastEnd InflateRun::DecodeFastWithBmi2(const HuffmanDecodeTable& literalLength,
                                                                         const HuffmanDecodeTable& distance) {
  return DecodeFastLoop<kLargeLength>(literalLength, distance);
}

bool InflateRun::HasBmi2() {
  static const bool has = __builtin_cpu_supports("bmi2");
  return has;
}
#else
template <bool kLargeLength>
InflateRun::FastEnd InflateRun::DecodeFastWithBmi2(const HuffmanDecodeTable& literalLength,
                                                   const HuffmanDecodeTable& distance) {
  return DecodeFastLoop<kLargeLength>(literalLength, distance);
}

bool InflateRun::HasBmi2() { return false; }
#endif

template <bool kLargeLength>
InflateRun::FastEnd InflateRun::DecodeFast(const HuffmanDecodeTable& literalLength,
                                           const HuffmanDecodeTable& distance) {
  return HasBmi2() ? DecodeFastWithBmi2<kLargeLength>(literalLength, distance)
                   : DecodeFastLoop<kLargeLength>(literalLength, distance);
}

template <bool kLargeLength>
[[gnu::always_inline]] inline InflateRun::FastEnd InflateRun::DecodeFastLoop(
    const HuffmanDecodeTable& literalLengthTable, const HuffmanDecodeTable& distanceTable) {
  const auto literalLength = literalLengthTable.Decoder<kLiteralLengthRootBits>();
  const auto distance = distanceTable.Decoder<kDistanceRootBits>();
  std::uint8_t* const outBegin = outBegin_;
  const std::uint8_t* const inLimit =
      input_.size() > kFastInputMargin ? reader_.End() - kFastInputMargin : input_.data();
  std::uint8_t* const outLimit =
      static_cast<std::size_t>(outEnd_ - out_) > kFastOutputMargin ? outEnd_ - kFastOutputMargin : out_;
  FastBits bits = reader_.Regs();
  std::uint8_t* out = out_;
  if (!(bits.next < inLimit && out < outLimit)) return FastEnd::kNearEnd;

  // Each step starts with at least 56 bits in the buffer and the next code
  // looked up: enough for a code, its extra bits, a distance code and its extra bits.
  FastEnd end = FastEnd::kNearEnd;
  bits = Refilled(bits);
  std::uint32_t e = literalLength.Lookup(bits.buffer);
  for (;;) {
    if (e & entry::kLiteral) {
      // Literals come in runs: up to three per load, as long as 15 bits remain for the next code.
      bits = Dropped(bits, e);
      *out++ = static_cast<std::uint8_t>(entry::Value(e));
      e = literalLength.Lookup(bits.buffer);
      if (e & entry::kLiteral) {
        bits = Dropped(bits, e);
        *out++ = static_cast<std::uint8_t>(entry::Value(e));
        e = literalLength.Lookup(bits.buffer);
        if (e & entry::kLiteral) {
          bits = Dropped(bits, e);
          *out++ = static_cast<std::uint8_t>(entry::Value(e));
          if (!(bits.next < inLimit && out < outLimit)) break;
          bits = Refilled(bits);
          e = literalLength.Lookup(bits.buffer);
          continue;
        }
      }
      bits = Refilled(bits);  // the code looked up stays at the bottom of the buffer
    }
    if (e & entry::kEndOfBlock) [[unlikely]] {
      bits = Dropped(bits, e);
      end = FastEnd::kEndOfBlock;
      break;
    }
    std::uint64_t before = bits.buffer;
    bits = Dropped(bits, e);
    std::size_t length = BaseAndExtra(e, before);
    if constexpr (kLargeLength) {
      if (length == kLongestMatch) {
        length = LowBits(bits.buffer, 16) + 3;
        bits = Refilled(Dropped(bits, 16));
      }
    }
    const std::uint32_t d = distance.Lookup(bits.buffer);
    before = bits.buffer;
    bits = Dropped(bits, d);
    const std::size_t dist = BaseAndExtra(d, before);
    if (dist > static_cast<std::size_t>(out - outBegin) || (kLargeLength && length > kLongestMatch)) [[unlikely]] {
      reader_.Regs() = Settled(bits);
      out_ = out;
      if (CopyCarefully(dist, length) == Flow::kStop) return FastEnd::kStop;
      out = out_;
    } else {
      // The next code is looked up while the match is copied.
      bits = Refilled(bits);
      e = literalLength.Lookup(bits.buffer);
      CopyMatch(out, dist, length);
      out += length;
      if (!(bits.next < inLimit && out < outLimit)) break;
      continue;
    }
    if (!(bits.next < inLimit && out < outLimit)) break;
    bits = Refilled(bits);
    e = literalLength.Lookup(bits.buffer);
  }
  reader_.Regs() = Settled(bits);
  out_ = out;
  return end;
}

InflateRun::Flow InflateRun::DecodeCarefully(const HuffmanDecodeTable& literalLength,
                                             const HuffmanDecodeTable& distance) {
  for (;;) {
    const bool allPastInput = reader_.PastInput();
    reader_.NeedCode(literalLength.MaxLength());
    const std::uint32_t e = literalLength.Lookup(reader_.Bits());
    reader_.Drop(entry::CodeLength(e));
    if (e & entry::kLiteral) {
      if (out_ == outEnd_) return StopAtOutputLimit();
      if (allPastInput) {
        // Only zero bits remain, so the same literal would come again until the
        // output is full.
        std::memset(out_, static_cast<int>(entry::Value(e)), static_cast<std::size_t>(outEnd_ - out_));
        out_ = outEnd_;
        return StopAtOutputLimit();
      }
      *out_++ = static_cast<std::uint8_t>(entry::Value(e));
      continue;
    }
    if (e & entry::kEndOfBlock) return Flow::kGoOn;
    std::size_t length = entry::Value(e) + reader_.GetBits(entry::ExtraBits(e));
    if (largeLength_ && length == kLongestMatch) length = reader_.GetBits(16) + 3;
    reader_.NeedCode(distance.MaxLength());
    const std::uint32_t d = distance.Lookup(reader_.Bits());
    reader_.Drop(entry::CodeLength(d));
    const std::size_t dist = entry::Value(d) + reader_.GetBits(entry::ExtraBits(d));
    if (CopyCarefully(dist, length) == Flow::kStop) return Flow::kStop;
  }
}

InflateRun::Flow InflateRun::CopyCarefully(std::size_t distance, std::size_t length) {
  if (length == 0) return Flow::kGoOn;  // symbols 286 and 287: nothing to copy, nothing to check
  if (out_ == outEnd_) return StopAtOutputLimit();
  if (distance > static_cast<std::size_t>(out_ - outBegin_)) DecodingFailure();
  const std::size_t room = static_cast<std::size_t>(outEnd_ - out_);
  const std::size_t n = std::min(length, room);
  if (room - n >= kMatchCopySlack) {
    CopyMatch(out_, distance, n);
  } else {
    for (std::size_t i = 0; i < n; ++i) out_[i] = *(out_ + i - distance);
  }
  out_ += n;
  if (length > n) return StopAtOutputLimit();
  return Flow::kGoOn;
}

InflateRun::Flow InflateRun::StopAtOutputLimit() {
  out_ = outEnd_ - 1;
  return Flow::kStop;
}

}  // namespace zorv::png
