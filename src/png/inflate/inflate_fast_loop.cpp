// The fast loop's plain kernel.
#include "png/inflate/inflate_fast_loop.h"

namespace zorv::png::plain {

template <bool kLargeLength, bool kWholeMatches>
InflateRun::FastEnd FastLoop(InflateRun& run, const HuffmanDecodeTable& literalLength,
                             const HuffmanDecodeTable& distance) {
  return run.DecodeFastLoop<kLargeLength, kWholeMatches, fast_loop::PlainBaseAndExtra>(literalLength, distance);
}

template InflateRun::FastEnd FastLoop<false, false>(InflateRun&, const HuffmanDecodeTable&, const HuffmanDecodeTable&);
template InflateRun::FastEnd FastLoop<true, false>(InflateRun&, const HuffmanDecodeTable&, const HuffmanDecodeTable&);
template InflateRun::FastEnd FastLoop<false, true>(InflateRun&, const HuffmanDecodeTable&, const HuffmanDecodeTable&);

}  // namespace zorv::png::plain
