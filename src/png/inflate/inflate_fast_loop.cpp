// The fast loops' plain kernels.
#include "png/inflate/inflate_branch_free_loop.h"
#include "png/inflate/inflate_fast_loop.h"

namespace zorv::png::plain {

template <bool kLargeLength, bool kWholeMatches, bool kPairedLiterals>
InflateRun::FastEnd FastLoop(InflateRun& run, const HuffmanDecodeTable& literalLength,
                             const HuffmanDecodeTable& distance) {
  return run.DecodeFastLoop<kLargeLength, kWholeMatches, kPairedLiterals, fast_loop::PlainBaseAndExtra>(literalLength,
                                                                                                      distance);
}

template <bool kPairedLiterals>
InflateRun::FastEnd BranchFreeLoop(InflateRun& run, const HuffmanDecodeTable& literalLength,
                                   const HuffmanDecodeTable& distance) {
  return run.DecodeBranchFreeLoop<kPairedLiterals, fast_loop::PlainBaseAndExtra>(literalLength, distance);
}

using Table = HuffmanDecodeTable;
template InflateRun::FastEnd FastLoop<false, false, false>(InflateRun&, const Table&, const Table&);
template InflateRun::FastEnd FastLoop<false, false, true>(InflateRun&, const Table&, const Table&);
template InflateRun::FastEnd FastLoop<false, true, false>(InflateRun&, const Table&, const Table&);
template InflateRun::FastEnd FastLoop<false, true, true>(InflateRun&, const Table&, const Table&);
template InflateRun::FastEnd FastLoop<true, false, true>(InflateRun&, const Table&, const Table&);
template InflateRun::FastEnd BranchFreeLoop<false>(InflateRun&, const Table&, const Table&);
template InflateRun::FastEnd BranchFreeLoop<true>(InflateRun&, const Table&, const Table&);

}  // namespace zorv::png::plain
