#pragma once
// One call of the inflater: decodes the blocks of a deflate stream into an
// output area allocated by the caller, which holds expectedSize + 101 bytes.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

#include "png/inflate/inflate_bit_reader.h"
#include "png/inflate/inflate_code_tables.h"

namespace zorv::png {

constexpr std::uint64_t LowBits(std::uint64_t bits, unsigned n) { return bits & ((std::uint64_t{1} << n) - 1); }

struct InflateOutcome {
  int result = 0;                      // 0, -1 or -2 as Inflate returns it
  std::size_t outputSize = 0;          // bytes of the output area that hold the result
  std::string_view tableFailure = {};  // the message to show when code tables could not be built
};

class InflateRun {
 public:
  enum class FastEnd { kEndOfBlock, kNearEnd, kStop };
  // A kernel of the fast loop (png/kernels.h): decodes until the block ends or an end comes near.
  using FastLoop = FastEnd (*)(InflateRun& run, const HuffmanDecodeTable& literalLength,
                               const HuffmanDecodeTable& distance);

  // fixedCodes: the inflater's fixed tables, built here on first use;
  // carefulOnly: every symbol through the guarded loop, matches a byte at a time.
  InflateRun(std::span<const std::uint8_t> input, std::span<std::uint8_t> output, bool largeLength,
             bool carefulOnly, std::shared_ptr<const FixedCodeTables>& fixedCodes);

  // Throws RunTimeError (subscript out of range) on a decoding failure.
  InflateOutcome Run();

  // The fast loop itself (inflate_fast_loop.h), which each kernel compiles for
  // its processor; kWholeMatches: for tables with whole matches
  // (HuffmanDecodeTable::PairMatches); kPairedLiterals: for tables whose
  // literals may be paired (HuffmanDecodeTable::PairLiterals); BaseAndExtra
  // reads a length or distance.
  template <bool kLargeLength, bool kWholeMatches, bool kPairedLiterals, typename BaseAndExtra>
  FastEnd DecodeFastLoop(const HuffmanDecodeTable& literalLength, const HuffmanDecodeTable& distance);
  // The same for a literal/length root table of kRootBits.
  template <bool kLargeLength, unsigned kRootBits, bool kWholeMatches, bool kPairedLiterals, typename BaseAndExtra>
  FastEnd DecodeFastLoopWithRoot(const HuffmanDecodeTable& literalLength, const HuffmanDecodeTable& distance);
  // The fast loop without a branch between literal and match
  // (inflate_branch_free_loop.h), for blocks where BranchFreePays.
  template <bool kPairedLiterals, typename BaseAndExtra>
  FastEnd DecodeBranchFreeLoop(const HuffmanDecodeTable& literalLength, const HuffmanDecodeTable& distance);
  template <unsigned kRootBits, bool kPairedLiterals, typename BaseAndExtra>
  FastEnd DecodeBranchFreeLoopWithRoot(const HuffmanDecodeTable& literalLength, const HuffmanDecodeTable& distance);

 private:
  enum class Flow { kGoOn, kStop };  // kStop: decoding ends, the output is kept as it stands

  Flow StoredBlock();
  bool ReadDynamicTables();
  Flow DecodeSymbols(const HuffmanDecodeTable& literalLength, const HuffmanDecodeTable& distance, bool branchFree);
  Flow DecodeCarefully(const HuffmanDecodeTable& literalLength, const HuffmanDecodeTable& distance);
  Flow CopyCarefully(std::size_t distance, std::size_t length);
  // A byte that would go past the last output index ends decoding; that last byte is dropped.
  Flow StopAtOutputLimit();

  std::span<const std::uint8_t> input_;
  InflateBitReader reader_;
  std::uint8_t* const outBegin_;
  std::uint8_t* const outEnd_;
  std::uint8_t* out_;
  bool largeLength_;
  bool carefulOnly_;
  int result_ = 0;
  std::shared_ptr<const FixedCodeTables>& fixedCodes_;
  std::unique_ptr<DynamicCodeTables> dynamicCodes_;
};

namespace plain {
// The fast loop's plain kernel.
template <bool kLargeLength, bool kWholeMatches, bool kPairedLiterals>
InflateRun::FastEnd FastLoop(InflateRun& run, const HuffmanDecodeTable& literalLength,
                             const HuffmanDecodeTable& distance);
// The plain kernel of the loop without a branch between literal and match.
template <bool kPairedLiterals>
InflateRun::FastEnd BranchFreeLoop(InflateRun& run, const HuffmanDecodeTable& literalLength,
                                   const HuffmanDecodeTable& distance);
}  // namespace plain

}  // namespace zorv::png
