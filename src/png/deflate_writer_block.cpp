#include "png/deflate_writer_block.h"

#include <algorithm>
#include <array>
#include <vector>

#include "png/deflate_writer_alphabet.h"
#include "png/deflate_writer_huffman.h"

namespace zorv::png::deflate_writer {
namespace {

constexpr std::size_t kMaxStoredLength = 65535;

struct SymbolCounts {
  std::array<std::uint32_t, kLiteralLengthSymbols> literalLength{};
  std::array<std::uint32_t, kDistanceSymbols> distance{};
  std::uint64_t extraBits = 0;  // the same in fixed and dynamic blocks
};

SymbolCounts CountSymbols(std::span<const Token> tokens) {
  SymbolCounts counts;
  for (const Token& token : tokens) {
    if (token.distance == 0) {
      ++counts.literalLength[token.lengthOrLiteral];
      continue;
    }
    const int lengthCode = LengthCode(token.lengthOrLiteral);
    const int distanceCode = DistanceCode(token.distance);
    ++counts.literalLength[static_cast<std::size_t>(257 + lengthCode)];
    ++counts.distance[static_cast<std::size_t>(distanceCode)];
    counts.extraBits += kLengthExtraBits[static_cast<std::size_t>(lengthCode)] +
                        kDistanceExtraBits[static_cast<std::size_t>(distanceCode)];
  }
  counts.literalLength[kEndOfBlock] = 1;
  return counts;
}

struct Code {
  std::vector<std::uint8_t> lengths;
  std::vector<std::uint16_t> codes;
};

Code MakeCode(std::vector<std::uint8_t> lengths) {
  Code code;
  code.codes = CanonicalCodes(lengths);
  code.lengths = std::move(lengths);
  return code;
}

const Code& FixedLiteralLengthCode() {
  static const Code code = [] {
    std::vector<std::uint8_t> lengths(288);
    std::fill(lengths.begin(), lengths.begin() + 144, 8);
    std::fill(lengths.begin() + 144, lengths.begin() + 256, 9);
    std::fill(lengths.begin() + 256, lengths.begin() + 280, 7);
    std::fill(lengths.begin() + 280, lengths.end(), 8);
    return MakeCode(std::move(lengths));
  }();
  return code;
}

const Code& FixedDistanceCode() {
  static const Code code = MakeCode(std::vector<std::uint8_t>(32, 5));
  return code;
}

template <std::size_t N>
std::uint64_t CodedBits(const std::array<std::uint32_t, N>& counts, const std::vector<std::uint8_t>& lengths) {
  std::uint64_t bits = 0;
  for (std::size_t s = 0; s < N; ++s) bits += std::uint64_t{counts[s]} * lengths[s];
  return bits;
}

// One symbol of the code-length alphabet with its repeat count in extra bits.
struct LengthRun {
  std::uint8_t symbol;
  std::uint8_t extra;
};

// Run-length codes the literal/length and distance code lengths as one list
// (RFC 1951 section 3.2.7): 16 repeats the previous length 3..6 times, 17 and 18
// give 3..10 and 11..138 zeros.
std::vector<LengthRun> RunLengthCode(const std::vector<std::uint8_t>& lengths) {
  std::vector<LengthRun> runs;
  std::size_t i = 0;
  while (i < lengths.size()) {
    const std::uint8_t value = lengths[i];
    std::size_t run = 1;
    while (i + run < lengths.size() && lengths[i + run] == value) ++run;
    i += run;
    if (value == 0) {
      while (run >= 11) {
        const std::size_t take = std::min<std::size_t>(run, 138);
        runs.push_back({18, static_cast<std::uint8_t>(take - 11)});
        run -= take;
      }
      if (run >= 3) {
        runs.push_back({17, static_cast<std::uint8_t>(run - 3)});
        run = 0;
      }
    } else {
      runs.push_back({value, 0});
      --run;
      while (run >= 3) {
        const std::size_t take = std::min<std::size_t>(run, 6);
        runs.push_back({16, static_cast<std::uint8_t>(take - 3)});
        run -= take;
      }
    }
    for (; run > 0; --run) runs.push_back({value, 0});
  }
  return runs;
}

int RunExtraBits(int symbol) { return symbol == 16 ? 2 : symbol == 17 ? 3 : symbol == 18 ? 7 : 0; }

// Everything a dynamic block sends before its data.
struct DynamicHeader {
  Code literalLength;
  Code distance;
  Code codeLength;
  int literalLengthCount;  // HLIT + 257
  int distanceCount;       // HDIST + 1
  int codeLengthCount;     // HCLEN + 4
  std::vector<LengthRun> runs;
  std::uint64_t bits;
};

DynamicHeader PlanDynamicHeader(const SymbolCounts& counts) {
  DynamicHeader header{MakeCode(BuildCodeLengths(counts.literalLength, kMaxCodeLength)),
                       MakeCode(BuildCodeLengths(counts.distance, kMaxCodeLength)),
                       {}, 257, 1, 4, {}, 0};
  const auto& litLengths = header.literalLength.lengths;
  const auto& distLengths = header.distance.lengths;
  header.literalLengthCount = kLiteralLengthSymbols;
  while (header.literalLengthCount > 257 && litLengths[static_cast<std::size_t>(header.literalLengthCount - 1)] == 0)
    --header.literalLengthCount;
  header.distanceCount = kDistanceSymbols;
  while (header.distanceCount > 1 && distLengths[static_cast<std::size_t>(header.distanceCount - 1)] == 0)
    --header.distanceCount;

  std::vector<std::uint8_t> all(litLengths.begin(), litLengths.begin() + header.literalLengthCount);
  all.insert(all.end(), distLengths.begin(), distLengths.begin() + header.distanceCount);
  header.runs = RunLengthCode(all);

  std::array<std::uint32_t, kCodeLengthSymbols> runCounts{};
  for (const LengthRun& run : header.runs) ++runCounts[run.symbol];
  header.codeLength = MakeCode(BuildCodeLengths(runCounts, kMaxCodeLengthCodeLength));
  header.codeLengthCount = kCodeLengthSymbols;
  while (header.codeLengthCount > 4 &&
         header.codeLength.lengths[kCodeLengthOrder[static_cast<std::size_t>(header.codeLengthCount - 1)]] == 0)
    --header.codeLengthCount;

  header.bits = 5 + 5 + 4 + 3 * static_cast<std::uint64_t>(header.codeLengthCount);
  for (const LengthRun& run : header.runs)
    header.bits += header.codeLength.lengths[run.symbol] + static_cast<std::uint64_t>(RunExtraBits(run.symbol));
  return header;
}

void WriteDynamicHeader(BitWriter& out, const DynamicHeader& header) {
  out.Put(static_cast<std::uint32_t>(header.literalLengthCount - 257), 5);
  out.Put(static_cast<std::uint32_t>(header.distanceCount - 1), 5);
  out.Put(static_cast<std::uint32_t>(header.codeLengthCount - 4), 4);
  for (int i = 0; i < header.codeLengthCount; ++i)
    out.Put(header.codeLength.lengths[kCodeLengthOrder[static_cast<std::size_t>(i)]], 3);
  for (const LengthRun& run : header.runs) {
    out.Put(header.codeLength.codes[run.symbol], header.codeLength.lengths[run.symbol]);
    if (const int extra = RunExtraBits(run.symbol); extra > 0) out.Put(run.extra, extra);
  }
}

void WriteTokens(BitWriter& out, std::span<const Token> tokens, const Code& literalLength, const Code& distance) {
  for (const Token& token : tokens) {
    if (token.distance == 0) {
      out.Put(literalLength.codes[token.lengthOrLiteral], literalLength.lengths[token.lengthOrLiteral]);
      continue;
    }
    const auto lengthCode = static_cast<std::size_t>(LengthCode(token.lengthOrLiteral));
    const std::size_t symbol = 257 + lengthCode;
    out.Put(literalLength.codes[symbol], literalLength.lengths[symbol]);
    if (kLengthExtraBits[lengthCode] > 0)
      out.Put(static_cast<std::uint32_t>(token.lengthOrLiteral - kLengthBase[lengthCode]), kLengthExtraBits[lengthCode]);
    const auto distanceCode = static_cast<std::size_t>(DistanceCode(token.distance));
    out.Put(distance.codes[distanceCode], distance.lengths[distanceCode]);
    if (kDistanceExtraBits[distanceCode] > 0)
      out.Put(static_cast<std::uint32_t>(token.distance - kDistanceBase[distanceCode]), kDistanceExtraBits[distanceCode]);
  }
  out.Put(literalLength.codes[kEndOfBlock], literalLength.lengths[kEndOfBlock]);
}

}  // namespace

void WriteStoredBlocks(BitWriter& out, std::span<const std::uint8_t> raw, bool final) {
  std::size_t offset = 0;
  do {
    const std::size_t length = std::min(kMaxStoredLength, raw.size() - offset);
    const bool last = offset + length == raw.size();
    out.Put(final && last ? 1 : 0, 1);
    out.Put(0, 2);
    out.AlignToByte();
    out.Put(static_cast<std::uint32_t>(length), 16);
    out.Put(static_cast<std::uint32_t>(~length & 0xFFFF), 16);
    out.AlignToByte();
    out.PutBytes(raw.data() + offset, length);
    offset += length;
  } while (offset < raw.size());
}

void WriteBlock(BitWriter& out, std::span<const Token> tokens, std::span<const std::uint8_t> raw, bool final) {
  const SymbolCounts counts = CountSymbols(tokens);
  const DynamicHeader dynamic = PlanDynamicHeader(counts);
  const Code& fixedLiteralLength = FixedLiteralLengthCode();
  const Code& fixedDistance = FixedDistanceCode();

  const std::uint64_t dynamicBits = 3 + dynamic.bits + CodedBits(counts.literalLength, dynamic.literalLength.lengths) +
                                    CodedBits(counts.distance, dynamic.distance.lengths) + counts.extraBits;
  const std::uint64_t fixedBits = 3 + CodedBits(counts.literalLength, fixedLiteralLength.lengths) +
                                  CodedBits(counts.distance, fixedDistance.lengths) + counts.extraBits;
  const std::uint64_t storedBlocks = std::max<std::uint64_t>(1, (raw.size() + kMaxStoredLength - 1) / kMaxStoredLength);
  // Each stored block: 3 header bits padded to a byte (counted as 8), LEN and NLEN, then the bytes.
  const std::uint64_t storedBits = storedBlocks * (8 + 32) + 8 * std::uint64_t{raw.size()};

  if (storedBits < dynamicBits && storedBits < fixedBits) {
    WriteStoredBlocks(out, raw, final);
  } else if (fixedBits <= dynamicBits) {
    out.Put(final ? 1 : 0, 1);
    out.Put(1, 2);
    WriteTokens(out, tokens, fixedLiteralLength, fixedDistance);
  } else {
    out.Put(final ? 1 : 0, 1);
    out.Put(2, 2);
    WriteDynamicHeader(out, dynamic);
    WriteTokens(out, tokens, dynamic.literalLength, dynamic.distance);
  }
}

}  // namespace zorv::png::deflate_writer
