#include "richtext/hex_decoder.h"

#include <gtest/gtest.h>

#include <random>

namespace zorv::richtext {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Digit by digit, the obvious way.
Bytes SlowDecode(std::string_view text) {
  Bytes out;
  int high = -1;
  for (char c : text) {
    int value = -1;
    if (c >= '0' && c <= '9') value = c - '0';
    if (c >= 'a' && c <= 'f') value = c - 'a' + 10;
    if (c >= 'A' && c <= 'F') value = c - 'A' + 10;
    if (value < 0) continue;
    if (high < 0) {
      high = value;
    } else {
      out.push_back(static_cast<std::uint8_t>(high * 16 + value));
      high = -1;
    }
  }
  return out;
}

struct HexCase {
  const char* text;
  Bytes bytes;
  std::size_t read;
};

void PrintTo(const HexCase& c, std::ostream* os) { *os << c.read; }

class DecodesHex : public ::testing::TestWithParam<HexCase> {};

TEST_P(DecodesHex, UpToABackslashOrBrace) {
  Bytes out;
  HexDecoder decoder(out);
  EXPECT_EQ(decoder.Decode(GetParam().text), GetParam().read);
  EXPECT_EQ(out, GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Digits, DecodesHex,
    ::testing::Values(HexCase{"", {}, 0}, HexCase{"\\bin", {}, 0}, HexCase{"0a0B\r\nFf}", {0x0a, 0x0b, 0xff}, 8},
                      HexCase{"0123456789abcdefABCDEF0123456789", {0x01, 0x23, 0x45, 0x67, 0x89, 0xab, 0xcd, 0xef,
                                                                  0xab, 0xcd, 0xef, 0x01, 0x23, 0x45, 0x67, 0x89}, 32},
                      HexCase{"0123456789abcdeg0123456789abcdef", {0x01, 0x23, 0x45, 0x67, 0x89, 0xab, 0xcd, 0xe0,
                                                                  0x12, 0x34, 0x56, 0x78, 0x9a, 0xbc, 0xde}, 32},
                      HexCase{"0 1\t2\xff" "3{45", {0x01, 0x23}, 7}));

TEST(HexDecoder, KeepsAnOddDigitForTheNextStretch) {
  Bytes out;
  HexDecoder decoder(out);
  decoder.Decode("0a1");
  decoder.Decode("b2c3d4e5f60718293a4b5c6d7e8f9");
  EXPECT_EQ(out, SlowDecode("0a1b2c3d4e5f60718293a4b5c6d7e8f9"));
}

TEST(HexDecoder, AgreesWithDigitByDigitDecodingOnMixedText) {
  std::mt19937 random(7);
  const std::string alphabet = "0123456789abcdefABCDEF0123456789abcdef \r\n\tgG\x80\xc1\xff";
  for (int round = 0; round < 200; ++round) {
    std::string text;
    const std::size_t length = random() % 300;
    for (std::size_t i = 0; i < length; ++i) {
      // Mostly clean digits, as real picture data is, with a stray byte now and then.
      text += random() % 8 == 0 ? alphabet[random() % alphabet.size()] : alphabet[random() % 16];
    }
    Bytes out;
    HexDecoder decoder(out);
    ASSERT_EQ(decoder.Decode(text), text.size());
    ASSERT_EQ(out, SlowDecode(text)) << text;
  }
}

}  // namespace
}  // namespace zorv::richtext
