#include "png/deflate_writer_huffman.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/run_time_error.h"

namespace zorv::png::deflate_writer {
namespace {

// Sum of 2^-length over the used symbols, scaled by 2^15: exactly 2^15 for a complete code.
std::uint64_t KraftSum(const std::vector<std::uint8_t>& lengths) {
  std::uint64_t sum = 0;
  for (auto length : lengths)
    if (length != 0) sum += std::uint64_t{1} << (15 - length);
  return sum;
}

struct LengthCase {
  const char* name;
  std::vector<std::uint32_t> frequencies;
  int maxLength;
};

std::vector<std::uint32_t> Fibonacci(std::size_t count) {
  std::vector<std::uint32_t> f(count, 1);
  for (std::size_t i = 2; i < count; ++i) f[i] = f[i - 1] + f[i - 2];
  return f;
}

class CodeLengthTest : public ::testing::TestWithParam<LengthCase> {};

TEST_P(CodeLengthTest, CompleteWithinTheLimitAndUsedSymbolsCoded) {
  const LengthCase& c = GetParam();
  const auto lengths = BuildCodeLengths(c.frequencies, c.maxLength);
  ASSERT_EQ(lengths.size(), c.frequencies.size());
  EXPECT_EQ(KraftSum(lengths), std::uint64_t{1} << 15);
  EXPECT_LE(*std::max_element(lengths.begin(), lengths.end()), c.maxLength);
  EXPECT_GE(std::count_if(lengths.begin(), lengths.end(), [](auto l) { return l != 0; }), 2);
  for (std::size_t s = 0; s < lengths.size(); ++s) {
    if (c.frequencies[s] != 0) {
      EXPECT_NE(lengths[s], 0) << "symbol " << s;
    }
    // A more frequent symbol never gets a longer code.
    for (std::size_t t = 0; t < lengths.size(); ++t) {
      if (c.frequencies[s] > c.frequencies[t] && c.frequencies[t] != 0) {
        EXPECT_LE(lengths[s], lengths[t]);
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Tables, CodeLengthTest,
    ::testing::Values(LengthCase{"NoneUsed", std::vector<std::uint32_t>(30, 0), 15},
                      LengthCase{"OneUsed", {0, 0, 0, 9, 0}, 15},
                      LengthCase{"OneUsedAtTheEnd", {0, 0, 0, 0, 1}, 7},
                      LengthCase{"Uniform286", std::vector<std::uint32_t>(286, 5), 15},
                      LengthCase{"FibonacciDeeperThan15", Fibonacci(30), 15},
                      LengthCase{"FibonacciDeeperThan7", Fibonacci(19), 7},
                      LengthCase{"HugeCounts", {0xFFFFFFFFu, 0xFFFFFFFFu, 1, 1, 0xFFFFFFFFu}, 15}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CodeLengths, OptimalWhenTheLimitIsNotReached) {
  const std::vector<std::uint32_t> frequencies = {1, 1, 2, 4, 0};
  EXPECT_EQ(BuildCodeLengths(frequencies, 15), (std::vector<std::uint8_t>{3, 3, 2, 1, 0}));
}

TEST(CodeLengths, RefusesATooSmallLimit) {
  EXPECT_THROW(BuildCodeLengths(std::vector<std::uint32_t>(5, 1), 2), RunTimeError);
}

TEST(CanonicalCodes, FollowTheExampleOfTheFormatSentFirstBitFirst) {
  // Lengths (3, 3, 3, 3, 3, 2, 4, 4) give 010, 011, 100, 101, 110, 00, 1110, 1111.
  const std::vector<std::uint8_t> lengths = {3, 3, 3, 3, 3, 2, 4, 4};
  EXPECT_EQ(CanonicalCodes(lengths), (std::vector<std::uint16_t>{0b010, 0b110, 0b001, 0b101, 0b011, 0b00, 0b0111, 0b1111}));
}

}  // namespace
}  // namespace zorv::png::deflate_writer
