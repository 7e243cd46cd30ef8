#include "png/inflate/inflate_run.h"

#include <algorithm>
#include <cstring>

#include "png/inflate/inflate.h"
#include "png/inflate/match_copy.h"
#include "platform/run_time_error.h"
#include "png/kernels.h"

namespace zorv::png {
namespace {

[[noreturn]] void DecodingFailure() { throw RunTimeError(ErrorCode::SubscriptOutOfRange); }

}  // namespace

InflateRun::InflateRun(std::span<const std::uint8_t> input, std::span<std::uint8_t> output, bool largeLength,
                       bool carefulOnly, std::shared_ptr<const FixedCodeTables>& fixedCodes)
    : input_(input),
      reader_(input),
      outBegin_(output.data()),
      outEnd_(output.data() + output.size()),
      out_(output.data()),
      largeLength_(largeLength),
      carefulOnly_(carefulOnly),
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
      flow = DecodeSymbols(fixedCodes_->literalLength, fixedCodes_->distance, false);
    } else if (type == 2) {
      if (!ReadDynamicTables()) return InflateOutcome{result_, 0, "Error in tree creation (Dynamic)"};
      flow = DecodeSymbols(dynamicCodes_->literalLength, dynamicCodes_->distance, dynamicCodes_->branchFree);
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

  std::array<std::uint8_t, kLiteralLengthSymbols + kDistanceSymbols> lengths;  // the first `total` are written
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
  const auto literals = all.first(kEndOfBlockSymbol);
  const LiteralTableShape shape = ShapeLiteralTable(literals);
  if (!tables.literalLength.Build(all.first(literalLengthCount), kLiteralLengthMeanings, shape.rootBits)) return false;
  if (shape.pairLiterals) tables.literalLength.PairLiterals(literals);
  const auto lengthCodes = all.subspan(kEndOfBlockSymbol + 1, literalLengthCount - kEndOfBlockSymbol - 1);
  const auto distanceCodes = all.subspan(literalLengthCount);
  if (!tables.distance.Build(distanceCodes, kDistanceMeanings)) return false;
  tables.branchFree = !largeLength_ && BranchFreePays(lengthCodes);
  if (!largeLength_ && !tables.branchFree &&
      WholeMatchesPay(lengthCodes, distanceCodes, tables.literalLength.RootBits())) {
    tables.literalLength.PairMatches(tables.distance, distanceCodes);
  }
  return true;
}

InflateRun::Flow InflateRun::DecodeSymbols(const HuffmanDecodeTable& literalLength, const HuffmanDecodeTable& distance,
                                           bool branchFree) {
  if (carefulOnly_) return DecodeCarefully(literalLength, distance);
  const FastLoopKernel& loop = Kernels().fastLoop;
  const bool paired = literalLength.HasPairedLiterals();
  const InflateRun::FastLoop chosen =
      branchFree                        ? (paired ? loop.branchFreePairedLiterals : loop.branchFreeSingleLiterals)
      : largeLength_                    ? loop.largeLength
      : literalLength.HasWholeMatches() ? (paired ? loop.wholeMatchesPairedLiterals : loop.wholeMatchesSingleLiterals)
                                        : (paired ? loop.pairedLiterals : loop.singleLiterals);
  const FastEnd fast = chosen(*this, literalLength, distance);
  if (fast == FastEnd::kEndOfBlock) return Flow::kGoOn;
  if (fast == FastEnd::kStop) return Flow::kStop;
  return DecodeCarefully(literalLength, distance);
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
        std::memset(out_, entry::Literal(e), static_cast<std::size_t>(outEnd_ - out_));
        out_ = outEnd_;
        return StopAtOutputLimit();
      }
      *out_++ = entry::Literal(e);
      continue;
    }
    if (e & entry::kEndOfBlock) return Flow::kGoOn;
    std::size_t length = 0;
    if (e & entry::kWholeMatch) {
      // The length's extra bits are part of the entry; they are read as plain bits all the same.
      reader_.GetBits(entry::MatchLengthExtraBits(e));
      length = entry::MatchLength(e);
    } else {
      length = entry::Value(e) + reader_.GetBits(entry::ExtraBits(e));
    }
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
  if (room - n >= kMatchCopySlack && !carefulOnly_) {
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
