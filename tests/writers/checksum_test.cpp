#include <gtest/gtest.h>
#include <zlib.h>

#include "png/adler32.h"
#include "png/crc32.h"
#include "sample_data.h"

namespace zorv::png {
namespace {

// Lengths around the eight-byte steps of the CRC and the 5552-byte runs of Adler-32.
class ChecksumTest : public ::testing::TestWithParam<std::size_t> {};

TEST_P(ChecksumTest, MatchesZlib) {
  const auto bytes = testing::RandomBytes(GetParam(), 7);
  EXPECT_EQ(Crc32(bytes), crc32(0, bytes.data(), static_cast<uInt>(bytes.size())));
  EXPECT_EQ(Adler32(bytes), adler32(1, bytes.data(), static_cast<uInt>(bytes.size())));
  // All 0xFF maximises the sums Adler-32 must keep from overflowing.
  const std::vector<std::uint8_t> ones(GetParam(), 0xFF);
  EXPECT_EQ(Adler32(ones), adler32(1, ones.data(), static_cast<uInt>(ones.size())));
}

INSTANTIATE_TEST_SUITE_P(Lengths, ChecksumTest, ::testing::Values(0, 1, 7, 8, 9, 15, 16, 17, 5551, 5552, 5553, 100000));

TEST(Checksum, ContinuesAcrossPieces) {
  const auto bytes = testing::RandomBytes(20000, 3);
  const std::span<const std::uint8_t> all(bytes);
  EXPECT_EQ(UpdateCrc32(Crc32(all.first(12345)), all.subspan(12345)), Crc32(all));
  EXPECT_EQ(UpdateAdler32(Adler32(all.first(12345)), all.subspan(12345)), Adler32(all));
}

TEST(Checksum, KnownValues) {
  const std::string text = "123456789";
  const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
  EXPECT_EQ(Crc32(bytes), 0xCBF43926u);
  EXPECT_EQ(Adler32(bytes), 0x091E01DEu);
}

}  // namespace
}  // namespace zorv::png
