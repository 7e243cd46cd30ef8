// A new picture takes the memory of the one it replaces where that holds it
// without keeping much more than it needs; every pixel takes the colour.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "platform/image.h"

namespace zorv {
namespace {

TEST(Image, TakesTheMemoryOfStorageThatHoldsItWithoutWaste) {
  struct Case {
    std::size_t stored;    // values in the storage handed in
    std::size_t capacity;  // of the 2 x 2 picture made in it
  };
  // (Memory freed may come back at the same place, so what tells is how much the picture holds.)
  const Case cases[] = {{0, 4}, {3, 4}, {4, 4}, {9, 9}, {10, 4}, {1000, 4}};
  for (const Case& c : cases) {
    std::vector<std::uint32_t> storage(c.stored, 7);
    const Image image(2, 2, 0xABCDEF, std::move(storage));
    EXPECT_EQ(image.pixels.capacity(), c.capacity) << c.stored;
    EXPECT_EQ(image.pixels, std::vector<std::uint32_t>(4, 0xABCDEF)) << c.stored;
  }
}

}  // namespace
}  // namespace zorv
