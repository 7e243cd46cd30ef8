// The inflater's fast loops compiled for processors with BMI2, which shift by a
// register without the flag dependencies of the classic shifts, and AVX2,
// which copies long matches 32 bytes at a time.
#include "png/inflate/inflate_branch_free_loop.h"
#include "png/inflate/inflate_fast_loop.h"
#include "png/x86/x86_kernels.h"

namespace zorv::png::x86 {
namespace {

struct Bmi2BaseAndExtra {
  // BZHI keeps the bits below the index in the entry's low byte: code and extra bits.
  [[gnu::always_inline]] static std::size_t Of(std::uint32_t e, std::uint64_t before) {
    std::uint64_t low;
    asm("bzhi %2, %1, %0" : "=r"(low) : "r"(before), "r"(std::uint64_t{e}));
    return entry::Value(e) + (low >> ((e >> 8) & 63));
  }
};

}  // namespace

template <bool kLargeLength, bool kWholeMatches, bool kPairedLiterals>
[[gnu::target("bmi2,avx2")]] InflateRun::FastEnd FastLoopBmi2(InflateRun& run,
                                                             const HuffmanDecodeTable& literalLength,
                                                             const HuffmanDecodeTable& distance) {
  return run.DecodeFastLoop<kLargeLength, kWholeMatches, kPairedLiterals, Bmi2BaseAndExtra>(literalLength, distance);
}

template <bool kPairedLiterals>
[[gnu::target("bmi2,avx2")]] InflateRun::FastEnd BranchFreeLoopBmi2(InflateRun& run,
                                                                   const HuffmanDecodeTable& literalLength,
                                                                   const HuffmanDecodeTable& distance) {
  return run.DecodeBranchFreeLoop<kPairedLiterals, Bmi2BaseAndExtra>(literalLength, distance);
}

using Table = HuffmanDecodeTable;
template InflateRun::FastEnd FastLoopBmi2<false, false, false>(InflateRun&, const Table&, const Table&);
template InflateRun::FastEnd FastLoopBmi2<false, false, true>(InflateRun&, const Table&, const Table&);
template InflateRun::FastEnd FastLoopBmi2<false, true, false>(InflateRun&, const Table&, const Table&);
template InflateRun::FastEnd FastLoopBmi2<false, true, true>(InflateRun&, const Table&, const Table&);
template InflateRun::FastEnd FastLoopBmi2<true, false, true>(InflateRun&, const Table&, const Table&);
template InflateRun::FastEnd BranchFreeLoopBmi2<false>(InflateRun&, const Table&, const Table&);
template InflateRun::FastEnd BranchFreeLoopBmi2<true>(InflateRun&, const Table&, const Table&);

}  // namespace zorv::png::x86
