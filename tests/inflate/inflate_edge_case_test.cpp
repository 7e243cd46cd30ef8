// Hand-made streams for each rule of the inflater, each checked against the
// expected outcome and against the reference inflater.
#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>

#include "inflate/deflate_bit_writer.h"
#include "inflate/inflate_harness.h"

namespace zorv::png::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Kind = ReferenceOutcome::Kind;

Bytes Text(std::string_view s) { return Bytes(s.begin(), s.end()); }

// The outcome of the inflater, after checking that the reference agrees.
ReferenceOutcome Inflate(const Bytes& stream, std::int32_t expectedSize, bool largeLength = false) {
  RecordingMessageBox box;
  Inflater inflater(box);
  ReferenceOutcome outcome = RunInflater(inflater, box, stream, expectedSize, largeLength);
  const ReferenceOutcome reference = ReferenceInflater().Inflate(stream, expectedSize, largeLength);
  EXPECT_EQ(outcome, reference) << Describe(outcome) << " / reference: " << Describe(reference);
  return outcome;
}

DeflateBitWriter& FixedHeader(DeflateBitWriter& w, bool final = true) { return w.Bits(final, 1).Bits(1, 2); }

void PutLiterals(DeflateBitWriter& w, std::string_view s) {
  for (unsigned char c : s) FixedLiteralLengthCode().Put(w, c);
}
void PutEnd(DeflateBitWriter& w) { FixedLiteralLengthCode().Put(w, 256); }

// A fixed-code match: length symbol, its extra bits, distance symbol, its extra bits.
void PutMatch(DeflateBitWriter& w, int lengthSymbol, std::uint32_t lengthExtra, int lengthExtraBits,
              int distanceSymbol, std::uint32_t distanceExtra = 0, int distanceExtraBits = 0) {
  FixedLiteralLengthCode().Put(w, lengthSymbol);
  w.Bits(lengthExtra, lengthExtraBits);
  FixedDistanceCode().Put(w, distanceSymbol);
  w.Bits(distanceExtra, distanceExtraBits);
}

Bytes Stored(const Bytes& content, bool final = true, bool goodComplement = true) {
  DeflateBitWriter w;
  w.Bits(final, 1).Bits(0, 2).AlignToByte();
  const auto len = static_cast<std::uint32_t>(content.size());
  const std::uint32_t nlen = goodComplement ? ~len & 0xFFFF : 0x1234;
  const Bytes header = {static_cast<std::uint8_t>(len), static_cast<std::uint8_t>(len >> 8),
                        static_cast<std::uint8_t>(nlen), static_cast<std::uint8_t>(nlen >> 8)};
  w.Bytes(header).Bytes(content);
  return w.Finish();
}

Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

const Bytes kAdler = {1, 2, 3, 4};

TEST(InflateStored, ThreeBytesThenTrailerGiveTheThreeBytes) {
  const auto outcome = Inflate(Join({Stored(Text("abc")), kAdler}), 3);
  EXPECT_EQ(outcome.kind, Kind::kReturned);
  EXPECT_EQ(outcome.result, kInflateOk);
  EXPECT_EQ(outcome.output, Text("abc"));
}

TEST(InflateStored, LengthCheckFailureStillCopiesAndGoesOn) {
  const auto outcome =
      Inflate(Join({Stored(Text("hello"), false, false), Stored(Text("!")), kAdler}), 6);
  EXPECT_EQ(outcome.result, kInflateStoredLengthCheck);
  EXPECT_EQ(outcome.output, Text("hello!"));
}

TEST(InflateStored, HeaderNeedsOneByteAfterLenAndNlen) {
  // An empty final stored block with nothing after its header does not fit.
  const auto outcome = Inflate(Join({Stored(Text("ab"), false), Stored({})}), 10);
  EXPECT_EQ(outcome.result, kInflateBadBlock);
  EXPECT_EQ(outcome.output, Text("ab"));
  EXPECT_EQ(Inflate(Join({Stored({}), Bytes{0}}), 10).result, kInflateOk);
}

TEST(InflateStored, DataBeyondTheInputDoesNotFit) {
  Bytes stream = Join({Stored(Text("x"), false), Stored(Text("abcdef"))});
  stream.resize(stream.size() - 2);
  const auto outcome = Inflate(stream, 10);
  EXPECT_EQ(outcome.result, kInflateBadBlock);
  EXPECT_EQ(outcome.output, Text("x"));
}

TEST(InflateStored, DataBeyondTheOutputDoesNotFit) {
  // expectedSize 0: room for exactly 101 bytes.
  EXPECT_EQ(Inflate(Join({Stored(Bytes(101, 7)), kAdler}), 0).output.size(), 101u);
  const auto outcome = Inflate(Join({Stored(Bytes(60, 7), false), Stored(Bytes(42, 8)), kAdler}), 0);
  EXPECT_EQ(outcome.result, kInflateBadBlock);
  EXPECT_EQ(outcome.output, Bytes(60, 7));
}

TEST(InflateStored, HeaderCheckCountsTheBytesACodeLookupHasLoaded) {
  // A dynamic block whose longest literal/length code has 15 bits and whose
  // end-of-block code has one: looking up that code loads input bytes that the
  // one bit does not use. A stored block right after it is checked against
  // those loaded bytes, before whole bytes are given back.
  std::vector<int> literals(257, 0);
  literals[256] = 1;
  for (int i = 0; i < 14; ++i) literals['a' + i] = 2 + i;
  literals['o'] = 15;
  int refused = 0, accepted = 0;
  for (int leading = 0; leading < 8; ++leading) {
    for (int trailing = 0; trailing < 4; ++trailing) {
      DeflateBitWriter w;
      w.Bits(0, 1).Bits(2, 2);
      WriteDynamicHeader(w, literals, {1, 1});
      const PrefixCode code(literals);
      for (int i = 0; i < leading; ++i) code.Put(w, 'a');
      code.Put(w, 256);
      w.Bits(1, 1).Bits(0, 2).AlignToByte().Bytes(Bytes{0, 0, 0xFF, 0xFF}).Bytes(Bytes(trailing, 9));
      const auto outcome = Inflate(w.Finish(), 10);
      ASSERT_EQ(outcome.kind, Kind::kReturned);
      EXPECT_EQ(outcome.output, Bytes(leading, 'a'));
      (outcome.result == kInflateBadBlock ? refused : accepted) += 1;
    }
  }
  EXPECT_GT(refused, 8);
  EXPECT_GT(accepted, 8);
}

TEST(InflateBlocks, BlockTypeThreeEndsWithBadBlock) {
  DeflateBitWriter w;
  FixedHeader(w, false);
  PutLiterals(w, "ok");
  PutEnd(w);
  w.Bits(1, 1).Bits(3, 2);
  const auto outcome = Inflate(Join({w.Finish(), kAdler}), 2);
  EXPECT_EQ(outcome.result, kInflateBadBlock);
  EXPECT_EQ(outcome.output, Text("ok"));
}

TEST(InflateFixed, EndOfBlockAloneGivesNothing) {
  DeflateBitWriter w;
  FixedHeader(w);
  PutEnd(w);
  const auto outcome = Inflate(w.Finish(), 0);
  EXPECT_EQ(outcome.kind, Kind::kReturned);
  EXPECT_TRUE(outcome.output.empty());
}

TEST(InflateFixed, LiteralsAndOverlappingMatches) {
  DeflateBitWriter w;
  FixedHeader(w);
  PutLiterals(w, "abc");
  PutMatch(w, 265, 1, 1, 2);  // length 12, distance 3
  PutMatch(w, 257, 0, 0, 0);  // length 3, distance 1
  PutEnd(w);
  EXPECT_EQ(Inflate(w.Finish(), 18).output, Text("abcabcabcabcabcccc"));
}

TEST(InflateFixed, SymbolsAbove285CopyNothingAfterReadingTheirDistance) {
  DeflateBitWriter w;
  FixedHeader(w);
  PutMatch(w, 286, 0, 0, 29, 8191, 13);  // nothing written yet: no failure either
  PutLiterals(w, "a");
  PutMatch(w, 287, 0, 0, 31, 16383, 14);
  PutLiterals(w, "b");
  PutEnd(w);
  EXPECT_EQ(Inflate(w.Finish(), 2).output, Text("ab"));
}

TEST(InflateFixed, DistanceBeforeTheStartFails) {
  DeflateBitWriter w;
  FixedHeader(w);
  PutLiterals(w, "ab");
  PutMatch(w, 257, 0, 0, 2);  // distance 3 with two bytes out
  PutEnd(w);
  EXPECT_EQ(Inflate(w.Finish(), 10).kind, Kind::kDecodingFailure);
}

TEST(InflateFixed, LargeLengthTakesSixteenMoreBits) {
  for (const bool large : {false, true}) {
    DeflateBitWriter w;
    FixedHeader(w);
    PutLiterals(w, "a");
    FixedLiteralLengthCode().Put(w, 285);
    if (large) w.Bits(997, 16);
    FixedDistanceCode().Put(w, 0);
    FixedLiteralLengthCode().Put(w, 284);  // 227 + 31 is 258 too
    w.Bits(31, 5);
    if (large) w.Bits(5, 16);
    FixedDistanceCode().Put(w, 0);
    PutEnd(w);
    const auto outcome = Inflate(w.Finish(), 2000, large);
    EXPECT_EQ(outcome.output, Bytes(large ? 1 + 1000 + 8 : 1 + 258 + 258, 'a')) << large;
  }
}

TEST(InflateFixed, TablesKeptForLaterCallsDecodeTheSame) {
  DeflateBitWriter w;
  FixedHeader(w);
  PutLiterals(w, "same");
  PutEnd(w);
  RecordingMessageBox box;
  Inflater inflater(box);
  const auto first = RunInflater(inflater, box, w.Finish(), 4);
  const auto second = RunInflater(inflater, box, w.Finish(), 4);
  EXPECT_EQ(first.output, Text("same"));
  EXPECT_EQ(second, first);
}

TEST(InflateOutputLimit, ByteBeyondTheLastIndexEndsDecoding) {
  // expectedSize 10: indices 0..110.
  auto stream = [](int literals, int matchLength) {
    DeflateBitWriter w;
    FixedHeader(w);
    PutLiterals(w, std::string(literals, 'z'));
    if (matchLength > 0) {
      PutMatch(w, 284, static_cast<std::uint32_t>(matchLength - 227), 5, 0);
    }
    PutEnd(w);
    return w.Finish();
  };
  EXPECT_EQ(Inflate(stream(200, 0), 10).output.size(), 110u);
  EXPECT_EQ(Inflate(stream(111, 0), 10).output.size(), 111u);
  EXPECT_EQ(Inflate(stream(1, 230), 10).output.size(), 110u);
  EXPECT_EQ(Inflate(stream(1, 227), 10).output.size(), 110u);
}

TEST(InflateOutputLimit, MatchEndingExactlyAtTheLimitKeepsEverything) {
  DeflateBitWriter exact;
  FixedHeader(exact);
  PutLiterals(exact, std::string(11, 'q'));
  PutMatch(exact, 279, 100 - 99, 4, 0);  // length 100, distance 1
  PutEnd(exact);
  const auto outcome = Inflate(exact.Finish(), 10);
  EXPECT_EQ(outcome.output, Bytes(111, 'q'));
}

TEST(InflateOutputLimit, NegativeAndHugeExpectedSizes) {
  DeflateBitWriter w;
  FixedHeader(w);
  PutLiterals(w, "xy");
  PutEnd(w);
  const Bytes stream = w.Finish();
  EXPECT_EQ(Inflate(stream, -100).output, Bytes{});  // room for one byte: the second ends decoding
  EXPECT_EQ(Inflate(stream, -99).output, Text("xy"));
  EXPECT_EQ(Inflate(stream, -101).kind, Kind::kDecodingFailure);

  RecordingMessageBox box;
  Inflater inflater(box);
  Bytes data = stream;
  for (const std::int32_t huge : {std::int32_t{1} << 30, std::numeric_limits<std::int32_t>::max()}) {
    try {
      inflater.Inflate(data, huge, false);
      ADD_FAILURE() << "no failure for " << huge;
    } catch (const RunTimeError& failure) {
      EXPECT_EQ(failure.Number(), static_cast<int>(ErrorCode::OutOfMemory));
    }
  }
  EXPECT_EQ(data, stream);
}

TEST(InflateInputEnd, MissingBitsOfACodeReadAsZero) {
  // The fixed code of the end-of-block symbol is seven zero bits: cut off, it still ends the block.
  DeflateBitWriter w;
  FixedHeader(w);
  PutLiterals(w, "abc");
  PutEnd(w);
  Bytes stream = w.Finish();
  ASSERT_EQ(stream.size(), 5u);
  stream.pop_back();
  EXPECT_EQ(Inflate(stream, 3).output, Text("abc"));
}

TEST(InflateInputEnd, PlainBitsPastTheInputFail) {
  EXPECT_EQ(Inflate({}, 10).kind, Kind::kDecodingFailure);
  DeflateBitWriter w;
  FixedHeader(w);
  PutLiterals(w, "abcd");
  FixedLiteralLengthCode().Put(w, 270);  // two extra bits that are not there
  Bytes stream = w.Finish();
  EXPECT_EQ(Inflate(stream, 10).kind, Kind::kDecodingFailure);
  // Not final: the next block's header lies past the input.
  DeflateBitWriter notFinal;
  FixedHeader(notFinal, false);
  PutLiterals(notFinal, "abc");
  EXPECT_EQ(Inflate(notFinal.Finish(), 3).kind, Kind::kDecodingFailure);
}

TEST(InflateInputEnd, ZeroBitsPastTheInputRepeatALiteralUpToTheLimit) {
  // Literal 'x' has the one-bit code 0, end of block the code 1; the stream stops before the end.
  std::vector<int> literalLengths(257, 0);
  literalLengths['x'] = 1;
  literalLengths[256] = 1;
  DeflateBitWriter w;
  w.Bits(1, 1).Bits(2, 2);
  WriteDynamicHeader(w, literalLengths, {1, 1});
  const auto outcome = Inflate(w.Finish(), 50);
  EXPECT_EQ(outcome.output, Bytes(150, 'x'));
}

Bytes DynamicBlock(const std::vector<int>& literalLengths, const std::vector<int>& distanceLengths,
                   const std::function<void(DeflateBitWriter&, const PrefixCode&, const PrefixCode&)>& body) {
  DeflateBitWriter w;
  w.Bits(1, 1).Bits(2, 2);
  WriteDynamicHeader(w, literalLengths, distanceLengths);
  body(w, PrefixCode(literalLengths), PrefixCode(distanceLengths));
  return Join({w.Finish(), kAdler});
}

std::vector<int> LiteralLengths(std::initializer_list<std::pair<int, int>> symbolLengths, int count = 257) {
  std::vector<int> lengths(count, 0);
  for (auto [symbol, length] : symbolLengths) lengths[symbol] = length;
  return lengths;
}

TEST(InflateDynamic, RefusesCodesThatDoNotFillTheirSpace) {
  const auto literals = LiteralLengths({{'a', 1}, {256, 1}});
  const auto noBody = [](DeflateBitWriter&, const PrefixCode&, const PrefixCode&) {};
  struct Case {
    const char* name;
    std::vector<int> literals;
    std::vector<int> distances;
  };
  const Case cases[] = {
      {"lone one-bit distance code", literals, {1}},
      {"distance code without symbols", literals, {0, 0}},
      {"over-subscribed distance code", literals, {1, 1, 1}},
      {"incomplete literal code", LiteralLengths({{'a', 1}, {256, 2}}), {1, 1}},
      {"literal code without symbols", LiteralLengths({}), {1, 1}},
      {"over-subscribed literal code", LiteralLengths({{'a', 1}, {'b', 1}, {256, 1}}), {1, 1}},
  };
  for (const Case& c : cases) {
    const auto outcome = Inflate(DynamicBlock(c.literals, c.distances, noBody), 10);
    EXPECT_EQ(outcome.kind, Kind::kTableFailure) << c.name;
    EXPECT_EQ(outcome.message, "Error in tree creation (Dynamic)") << c.name;
  }
}

TEST(InflateDynamic, TableFailureKeepsTheResultOfEarlierBlocks) {
  const Bytes bad = DynamicBlock(LiteralLengths({{'a', 1}, {256, 1}}), {1},
                                 [](DeflateBitWriter&, const PrefixCode&, const PrefixCode&) {});
  // A non-final stored block with a bad NLEN, then the broken dynamic block.
  Bytes stream = Stored(Text("s"), false, false);
  stream.insert(stream.end(), bad.begin(), bad.end());
  const auto outcome = Inflate(stream, 10);
  EXPECT_EQ(outcome.kind, Kind::kTableFailure);
  EXPECT_EQ(outcome.result, kInflateStoredLengthCheck);
}

TEST(InflateDynamic, DistanceCodesThirtyAndThirtyOne) {
  // 65535 + 65535 stored bytes, then matches reaching back with distance codes 30 and 31.
  Bytes history(2 * 65535);
  for (std::size_t i = 0; i < history.size(); ++i) history[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
  const Bytes first(history.begin(), history.begin() + 65535);
  const Bytes second(history.begin() + 65535, history.end());
  const Bytes matches = DynamicBlock(
      LiteralLengths({{256, 1}, {257, 1}}, 258), std::vector<int>{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                                             0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1},
      [](DeflateBitWriter& w, const PrefixCode& literals, const PrefixCode& distances) {
        literals.Put(w, 257);
        distances.Put(w, 30);
        w.Bits(100, 14);  // distance 32869
        literals.Put(w, 257);
        distances.Put(w, 31);
        w.Bits(16383, 14);  // distance 65536
        literals.Put(w, 256);
      });
  const Bytes stream = Join({Stored(first, false), Stored(second, false), matches});
  const auto outcome = Inflate(stream, 131076);
  ASSERT_EQ(outcome.output.size(), history.size() + 6);
  const std::size_t n = history.size();
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(outcome.output[n + i], history[n + i - 32869]);
    EXPECT_EQ(outcome.output[n + 3 + i], outcome.output[n + 3 + i - 65536]);
  }
}

TEST(InflateDynamic, AllTwoHundredEightyEightLiteralLengthSymbols) {
  std::vector<int> literals(288, 0);
  // 288 symbols: 224 of 8 bits and 64 of 9 bits fill the space exactly (224/256 + 64/512 = 1).
  for (int s = 0; s < 288; ++s) literals[s] = s < 224 ? 8 : 9;
  const Bytes stream = DynamicBlock(literals, {1, 1}, [](DeflateBitWriter& w, const PrefixCode& l, const PrefixCode& d) {
    l.Put(w, 'k');
    l.Put(w, 287);
    d.Put(w, 1);
    l.Put(w, 286);
    d.Put(w, 0);
    l.Put(w, 257);
    d.Put(w, 0);
    l.Put(w, 256);
  });
  EXPECT_EQ(Inflate(stream, 4).output, Text("kkkk"));
}

TEST(InflateDynamic, RepeatCodesAreChecked) {
  // Code-length symbol 16 first (nothing to repeat) and a run past the last length are refused.
  auto header = [](int firstSymbol, int runExtra) {
    DeflateBitWriter w;
    w.Bits(1, 1).Bits(2, 2).Bits(0, 5).Bits(0, 5).Bits(19 - 4, 4);
    // Code-length code: 16, 17 and 18 two bits each, 0 two bits, the rest unused.
    static constexpr int kOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
    std::vector<int> lengths(19, 0);
    lengths[16] = lengths[17] = lengths[18] = lengths[0] = 2;
    for (int s : kOrder) w.Bits(static_cast<std::uint32_t>(lengths[s]), 3);
    const PrefixCode code(lengths);
    code.Put(w, firstSymbol);
    if (firstSymbol == 16) w.Bits(0, 2);
    if (firstSymbol == 18) {
      w.Bits(127, 7);  // 138 zeros
      code.Put(w, 18);
      w.Bits(static_cast<std::uint32_t>(runExtra), 7);
    }
    return Join({w.Finish(), kAdler});
  };
  EXPECT_EQ(Inflate(header(16, 0), 10).kind, Kind::kTableFailure);
  // 257 + 1 lengths: 138 + 120 = 258 fits (then the codes are empty: refused too), 138 + 121 does not.
  EXPECT_EQ(Inflate(header(18, 120 - 11 + 1), 10).kind, Kind::kTableFailure);
  EXPECT_EQ(Inflate(header(18, 120 - 11), 10).kind, Kind::kTableFailure);
}

}  // namespace
}  // namespace zorv::png::testing
