// Whole matches: each entry is the length code, its extra bits and the
// distance code that the tables without them decode from the same bits, and
// nothing that fits is left out; and the choice of the blocks that get them.
// The shape of literal/length tables: root size and paired literals, and
// whether a table says it holds paired literals (its decoding loop hangs on it).
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <span>
#include <vector>

#include "png/inflate/deflate_alphabet.h"
#include "png/inflate/huffman_decode_table.h"
#include "png/inflate/inflate_code_tables.h"
#include "png/random_code.h"

namespace zorv::png {
namespace {

using CodeLengths = std::vector<std::uint8_t>;

TEST(WholeMatches, AreTheCodesTheTablesWithoutThemDecode) {
  std::mt19937 random(1206);
  int whole = 0;
  for (int round = 0; round < 80; ++round) {
    // Length symbols with short codes now and then, as in match-heavy blocks.
    const CodeLengths literalLengths = RandomCompleteCode(random, 258 + random() % 31, round % 2 == 0);
    const CodeLengths distanceLengths = RandomCompleteCode(random, 2 + random() % 31, round % 3 != 0);
    for (const unsigned rootBits : {kLiteralLengthRootBits, kCompactLiteralLengthRootBits}) {
      HuffmanDecodeTable alone(rootBits, kLiteralLengthSymbols);
      HuffmanDecodeTable distance(kDistanceRootBits, kDistanceSymbols);
      ASSERT_TRUE(alone.Build(literalLengths, kLiteralLengthMeanings));
      ASSERT_TRUE(distance.Build(distanceLengths, kDistanceMeanings));
      HuffmanDecodeTable paired = alone;
      paired.PairMatches(distance, distanceLengths);
      EXPECT_TRUE(paired.HasWholeMatches());

      const auto before = alone.RootEntries();
      const auto after = paired.RootEntries();
      for (std::uint32_t i = 0; i < before.size(); ++i) {
        const std::uint32_t e = before[i];
        const unsigned lengthBits = e & 63;
        const bool isLength = !(e & (entry::kLiteral | entry::kEndOfBlock));
        const std::uint32_t d = distance.Lookup(i >> lengthBits);
        const unsigned distanceBits = entry::CodeLength(d);
        if (!isLength || distanceBits > kDistanceRootBits || lengthBits + distanceBits > rootBits) {
          ASSERT_EQ(after[i], e) << i;
          continue;
        }
        const std::uint32_t m = after[i];
        ASSERT_TRUE(m & entry::kWholeMatch) << i;
        const unsigned extra = entry::ExtraBits(e);
        EXPECT_EQ(entry::MatchLength(m), entry::Value(e) + ((i >> entry::CodeLength(e)) & ((1u << extra) - 1)));
        EXPECT_EQ(entry::CodeLength(m), entry::CodeLength(e)) << "read alone, the length code";
        EXPECT_EQ(entry::MatchLengthExtraBits(m), extra);
        EXPECT_EQ(kDistanceBase[entry::MatchDistanceSymbol(m)], entry::Value(d));
        EXPECT_EQ(m & 63, lengthBits + (d & 63)) << "the distance's extra bits included";
        ++whole;
      }
    }
  }
  EXPECT_GT(whole, 10000);
}

TEST(WholeMatches, PayWhereNearlyEveryMatchFits) {
  struct Case {
    const char* what;
    CodeLengths lengthCodes;  // symbols 257 on
    CodeLengths distanceCodes;
    unsigned rootBits;
    bool pay;
  };
  const Case cases[] = {
      {"every match fits", {2, 2}, {1, 1}, 11, true},
      {"the length code fills the root", {2, 2}, {1, 1}, 2, false},
      {"no length codes", {}, {1, 1}, 11, false},
      {"15 in 16 distances fit", {1}, {1, 2, 3, 4, 5, 5}, 5, false},
      {"all distances fit", {1}, {1, 2, 3, 4, 5, 5}, 6, true},
      {"31 in 32 distances fit", {1}, {1, 2, 3, 4, 5, 6, 6}, 6, true},
      {"a length with an extra bit fits", {0, 0, 0, 0, 0, 0, 0, 0, 1}, {1, 1}, 3, true},
      {"its extra bit leaves no room", {0, 0, 0, 0, 0, 0, 0, 0, 1}, {1, 1}, 2, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WholeMatchesPay(c.lengthCodes, c.distanceCodes, c.rootBits), c.pay) << c.what;
  }
}

TEST(BranchFreeBlocks, AreThoseWhoseMatchesComeMixedWithLiteralsAndShort) {
  struct Case {
    const char* what;
    CodeLengths lengthCodes;  // symbols 257 on
    bool pays;
  };
  const CodeLengths fourBits(15, 4);
  const auto first = [&](std::size_t n) { return CodeLengths(fourBits.begin(), fourBits.begin() + n); };
  const Case cases[] = {
      {"matches of 3 to 10 bytes, half the symbols", first(8), true},
      {"matches 6 symbols in 16: too few to guess wrong often", first(6), false},
      {"matches 7 symbols in 16", first(7), true},
      {"matches 14 symbols in 16", first(14), true},
      {"matches 15 symbols in 16: too many to guess wrong often", first(15), false},
      {"31 to 34 bytes, 32.5 on average: too long", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}, false},
      {"27 to 34 bytes, 30.5 on average", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 2}, true},
      {"3 or 258 bytes", {2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2},
       false},
      {"no length codes", {}, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BranchFreePays(c.lengthCodes), c.pays) << c.what;
  }
}

TEST(LiteralTables, TakeTheirShapeFromHowOftenTwoLiteralsFitOneProbe) {
  struct Case {
    const char* what;
    CodeLengths literals;
    unsigned rootBits;
    bool pairLiterals;
  };
  auto someOf = [](unsigned count, std::uint8_t bits) {
    CodeLengths lengths(kEndOfBlockSymbol, 0);
    std::fill_n(lengths.begin(), count, bits);
    return lengths;
  };
  const Case cases[] = {
      {"eight-bit literals never pair", someOf(256, 8), kCompactLiteralLengthRootBits, false},
      {"five-bit literals pair in eleven", someOf(32, 5), kCompactLiteralLengthRootBits, true},
      {"six-bit literals pair in twelve", someOf(64, 6), kLiteralLengthRootBits, true},
      {"21 six-bit literals: twelve pays", someOf(21, 6), kLiteralLengthRootBits, true},
      {"20 six-bit literals: not yet, and none fit eleven", someOf(20, 6), kCompactLiteralLengthRootBits, false},
      {"a two-bit literal pairs one time in 16", someOf(1, 2), kCompactLiteralLengthRootBits, true},
      {"literals of 3, 4, 5, 6 and 6 bits pair a little less often", {3, 4, 5, 6, 6}, kCompactLiteralLengthRootBits,
       false},
      {"a three-bit literal pairs one time in 64", someOf(1, 3), kCompactLiteralLengthRootBits, false},
      {"no literals", someOf(0, 0), kCompactLiteralLengthRootBits, false},
  };
  for (const Case& c : cases) {
    const LiteralTableShape shape = ShapeLiteralTable(c.literals);
    EXPECT_EQ(shape.rootBits, c.rootBits) << c.what;
    EXPECT_EQ(shape.pairLiterals, c.pairLiterals) << c.what;
  }
}

TEST(LiteralTables, HoldPairedLiteralsOnlyWherePairingFoundTwoThatFit) {
  struct Case {
    const char* what;
    unsigned literals;  // the first ones, of literalBits each: half the code space
    std::uint8_t literalBits;
    unsigned rootBits;
    bool paired;
  };
  const Case cases[] = {
      {"nine-bit literals do not fit twelve bits twice", 256, 9, kLiteralLengthRootBits, false},
      {"six-bit literals fit twelve bits twice", 32, 6, kLiteralLengthRootBits, true},
      {"but not eleven", 32, 6, kCompactLiteralLengthRootBits, false},
      {"five-bit literals fit eleven bits twice", 16, 5, kCompactLiteralLengthRootBits, true},
  };
  for (const Case& c : cases) {
    // The 32 symbols from the end of the block on take the other half, six bits each.
    CodeLengths lengths(kLiteralLengthSymbols, 0);
    std::fill_n(lengths.begin(), c.literals, c.literalBits);
    std::fill(lengths.begin() + kEndOfBlockSymbol, lengths.end(), 6);
    const auto literals = std::span(lengths).first(kEndOfBlockSymbol);
    HuffmanDecodeTable table(c.rootBits, kLiteralLengthSymbols);
    ASSERT_TRUE(table.Build(lengths, kLiteralLengthMeanings)) << c.what;
    EXPECT_FALSE(table.HasPairedLiterals()) << c.what << ", before pairing";
    table.PairLiterals(literals);
    EXPECT_EQ(table.HasPairedLiterals(), c.paired) << c.what;
    ASSERT_TRUE(table.Build(lengths, kLiteralLengthMeanings)) << c.what;
    EXPECT_FALSE(table.HasPairedLiterals()) << c.what << ", built again";
  }
}

}  // namespace
}  // namespace zorv::png
