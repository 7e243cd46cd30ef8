#include "png/deflate_writer.h"

#include <gtest/gtest.h>

#include "platform/run_time_error.h"
#include "sample_data.h"
#include "zlib_reference.h"

namespace zorv::png {
namespace {

struct Input {
  const char* name;
  std::vector<std::uint8_t> bytes;
};

std::vector<Input> Inputs() {
  return {
      {"Empty", {}},
      {"OneByte", {0x42}},
      {"ThreeBytes", {1, 2, 3}},
      {"Random100k", testing::RandomBytes(100000, 1)},
      {"RandomOneStoredBlock", testing::RandomBytes(65535, 2)},
      {"RandomJustOverOneStoredBlock", testing::RandomBytes(65536, 3)},
      {"Text200k", testing::TextBytes(200000, 4)},
      {"Zeros1M", std::vector<std::uint8_t>(1 << 20, 0)},
      {"Period3", testing::PeriodicBytes(300000, 3)},
      {"Period300", testing::PeriodicBytes(300000, 300)},
      {"Runs", testing::RunBytes(400000, 600, 5)},
      {"NoiseAndZeros", testing::MixedBytes(400000, 6)},
  };
}

struct DeflateCase {
  std::string name;
  std::vector<std::uint8_t> bytes;
  int level;
};

std::vector<DeflateCase> Cases() {
  std::vector<DeflateCase> cases;
  for (auto& input : Inputs())
    for (int level = 0; level <= 9; ++level)
      cases.push_back({std::string(input.name) + "Level" + std::to_string(level), input.bytes, level});
  return cases;
}

class DeflateRoundTrip : public ::testing::TestWithParam<DeflateCase> {};

TEST_P(DeflateRoundTrip, ZlibInflatesTheRawStreamBack) {
  const auto& c = GetParam();
  const auto stream = Deflate(c.bytes, c.level);
  const auto inflated = testing::InflateWithZlib(stream, false);
  ASSERT_TRUE(inflated.has_value());
  EXPECT_TRUE(*inflated == c.bytes);
  // Incompressible input falls back to stored blocks: 5 bytes per 65535 at most, and a few for block headers.
  EXPECT_LE(stream.size(), c.bytes.size() + 5 * (c.bytes.size() / 65535 + 1) + 64);
}

TEST_P(DeflateRoundTrip, ZlibChecksTheHeaderAndAdler32) {
  const auto& c = GetParam();
  const auto stream = ZlibCompress(c.bytes, c.level);
  const auto inflated = testing::InflateWithZlib(stream, true);
  ASSERT_TRUE(inflated.has_value());
  EXPECT_TRUE(*inflated == c.bytes);
}

INSTANTIATE_TEST_SUITE_P(Inputs, DeflateRoundTrip, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return info.param.name; });

struct RatioCase {
  const char* name;
  std::vector<std::uint8_t> bytes;
  std::size_t mostBytes;  // at level 6
};

class DeflateRatio : public ::testing::TestWithParam<RatioCase> {};

// Catches a matcher that finds too little: repetitive input must shrink a lot.
TEST_P(DeflateRatio, RepetitiveInputShrinks) {
  EXPECT_LE(Deflate(GetParam().bytes).size(), GetParam().mostBytes);
}

INSTANTIATE_TEST_SUITE_P(Inputs, DeflateRatio,
                         ::testing::Values(RatioCase{"Zeros1M", std::vector<std::uint8_t>(1 << 20, 0), 2000},
                                           RatioCase{"Period300", testing::PeriodicBytes(300000, 300), 2000},
                                           RatioCase{"Text200k", testing::TextBytes(200000, 4), 70000}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Deflate, RefusesALevelOutsideTheScale) {
  const std::vector<std::uint8_t> bytes = {1, 2, 3};
  for (int level : {-1, 10}) {
    try {
      Deflate(bytes, level);
      ADD_FAILURE() << "level " << level;
    } catch (const RunTimeError& e) {
      EXPECT_EQ(e.Number(), 5);
    }
  }
}

TEST(ZlibCompress, HeaderNamesDeflateWithA32KiBWindowAndPassesItsCheck) {
  for (int level = 0; level <= 9; ++level) {
    const auto stream = ZlibCompress(std::vector<std::uint8_t>{}, level);
    ASSERT_GE(stream.size(), 6u);
    EXPECT_EQ(stream[0], 0x78);
    EXPECT_EQ((stream[0] * 256 + stream[1]) % 31, 0);
    EXPECT_EQ(stream[1] & 0x20, 0) << "no preset dictionary";
  }
}

}  // namespace
}  // namespace zorv::png
