// Picture-sized buffers come back from the blocks freed before them: a decoder
// that takes one picture after another writes into memory it has written
// before, and keeping never holds more than two blocks.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <zlib.h>

#include <cstddef>
#include <vector>

#include "png/byte_buffer.h"
#include "png/inflate/inflate.h"
#include "png/recycled_blocks.h"

namespace zorv::png {
namespace {

constexpr std::size_t kMiB = std::size_t{1} << 20;

// Lets every kept block go: a request larger than all of them frees them, and
// a block over the limit is never kept.
void LetAllGo() {
  recycled_blocks::Give(recycled_blocks::Take(recycled_blocks::kLargestKeptBlock + 1));
  ASSERT_EQ(recycled_blocks::KeptBytes(), 0u);
}

long PageFaultsSoFar() {
  rusage usage{};
  getrusage(RUSAGE_THREAD, &usage);
  return usage.ru_minflt;
}

// Runs first, while the allocator's heap is still small: without the kept
// block the second call's output would be memory the process never touched.
TEST(RecycledBlocks, ASecondInflateWritesIntoPagesTheFirstFaultedIn) {
  LetAllGo();
  // Smaller than a huge page, so that each page it takes is a fault of its own.
  const std::vector<std::uint8_t> rows(3 * kMiB / 2, 7);
  uLongf packedSize = compressBound(rows.size());
  std::vector<std::uint8_t> packed(packedSize);
  ASSERT_EQ(compress(packed.data(), &packedSize, rows.data(), rows.size()), Z_OK);
  const std::span<const std::uint8_t> stream(packed.data() + 2, packedSize - 2);
  Inflater inflater;
  long faults[2];
  for (long& fault : faults) {
    const long before = PageFaultsSoFar();
    ByteBuffer output;
    inflater.Inflate(stream, output, static_cast<std::int32_t>(rows.size()), false);
    ASSERT_EQ(output.size(), rows.size());
    fault = PageFaultsSoFar() - before;
  }
  EXPECT_GE(faults[0], 300) << "the first call writes 384 fresh pages";
  EXPECT_LT(faults[1], faults[0] / 4);
}

struct KeeperCase {
  const char* what;
  std::vector<std::size_t> given;  // MiB, taken fresh and given back in this order
  std::size_t keptBefore;          // MiB, once all are given back
  std::size_t requested;           // MiB
  int servedBy;                    // index into `given`, or -1 for a fresh block
  std::size_t keptAfter;           // MiB
};

TEST(RecycledBlocks, EachRequestGetsTheSmallestKeptBlockThatHoldsIt) {
  const KeeperCase cases[] = {
      {"the same size again", {1}, 1, 1, 0, 0},
      {"a smaller request", {2}, 2, 1, 0, 0},
      {"the smaller of two that fit", {3, 2}, 5, 1, 1, 3},
      {"the only one that fits", {1, 3}, 4, 2, 1, 1},
      {"larger than all: all let go", {1, 2}, 3, 3, -1, 0},
      {"a third block pushes out the smallest", {1, 2, 3}, 5, 1, 1, 3},
      {"a block smaller than both kept is not kept", {2, 3, 1}, 5, 1, 0, 3},
      {"a block over the limit is not kept", {65}, 0, 1, -1, 0},
  };
  for (const KeeperCase& c : cases) {
    SCOPED_TRACE(c.what);
    LetAllGo();
    std::vector<void*> blocks;
    for (std::size_t mib : c.given) blocks.push_back(recycled_blocks::Take(mib * kMiB));
    for (void* block : blocks) recycled_blocks::Give(block);
    EXPECT_EQ(recycled_blocks::KeptBytes(), c.keptBefore * kMiB);
    void* served = recycled_blocks::Take(c.requested * kMiB);
    // (A fresh block may lie where a block let go lay.)
    if (c.servedBy >= 0) {
      EXPECT_EQ(served, blocks[c.servedBy]);
    }
    EXPECT_EQ(recycled_blocks::KeptBytes(), c.keptAfter * kMiB);
    recycled_blocks::Give(served);
  }
}

TEST(RecycledBlocks, ByteBuffersOfAPictureSizeShareThemSmallOnesDoNot) {
  LetAllGo();
  const std::uint8_t* first = nullptr;
  {
    ByteBuffer large(recycled_blocks::kSmallestKeptBlock);
    first = large.data();
    ByteBuffer small(recycled_blocks::kSmallestKeptBlock - 1);
  }
  EXPECT_EQ(recycled_blocks::KeptBytes(), recycled_blocks::kSmallestKeptBlock);
  ByteBuffer again(recycled_blocks::kSmallestKeptBlock / 2 * 2);
  EXPECT_EQ(again.data(), first);
}

}  // namespace
}  // namespace zorv::png
