// The inflater against the reference compressor's own inflate (on valid
// streams) and against the step-by-step reference inflater (on any stream).
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <filesystem>

#include "inflate/inflate_harness.h"
#include "inflate/random_deflate_stream.h"
#include "inflate/zlib_streams.h"

namespace zorv::png::testing {
namespace {

constexpr unsigned kSeed = 20261205;

// Inflates a zlib stream without its two header bytes, as the PNG decoder does.
ReferenceOutcome InflateZlibStream(Inflater& inflater, RecordingMessageBox& box, const Bytes& stream,
                                   std::int32_t expectedSize) {
  return RunInflater(inflater, box, Bytes(stream.begin() + std::min<std::size_t>(2, stream.size()), stream.end()),
                     expectedSize);
}

std::int32_t Size(const Bytes& b) { return static_cast<std::int32_t>(b.size()); }

TEST(InflateCrossCheck, EveryPngSuiteImageDataStreamMatchesZlib) {
  RecordingMessageBox box;
  Inflater inflater(box);
  int compared = 0;
  for (const auto& file : std::filesystem::directory_iterator(ZORV_TEST_DATA_DIR "/pngsuite")) {
    if (file.path().extension() != ".png") continue;
    const Bytes stream = ReadIdatStream(file.path());
    const auto expected = ZlibInflate(stream);
    const Bytes body(stream.begin() + std::min<std::size_t>(2, stream.size()), stream.end());
    if (!expected) {
      // A broken stream: the reference inflater says what must happen.
      EXPECT_EQ(RunInflater(inflater, box, body, 1000), ReferenceInflater().Inflate(body, 1000, false))
          << file.path();
      continue;
    }
    const auto outcome = InflateZlibStream(inflater, box, stream, Size(*expected));
    EXPECT_EQ(outcome.kind, ReferenceOutcome::Kind::kReturned) << file.path();
    EXPECT_EQ(outcome.result, kInflateOk) << file.path();
    EXPECT_TRUE(outcome.output == *expected) << file.path();
    ++compared;
  }
  EXPECT_GE(compared, 160);
  RecordProperty("streams", compared);
}

struct Strategy {
  const char* name;
  int value;
};
constexpr Strategy kStrategies[] = {
    {"default", Z_DEFAULT_STRATEGY}, {"filtered", Z_FILTERED}, {"huffman-only", Z_HUFFMAN_ONLY},
    {"rle", Z_RLE},                  {"fixed", Z_FIXED}};

TEST(InflateCrossCheck, AllLevelsAndStrategiesMatchZlib) {
  std::mt19937 random(kSeed);
  using Maker = Bytes (*)(std::mt19937&, std::size_t);
  const Maker makers[] = {SampleText, SampleBinary, SampleNoise, SampleRuns};
  const std::size_t sizes[] = {0, 1, 37, 300, 5000, 40000};
  RecordingMessageBox box;
  Inflater inflater(box);
  int compared = 0;
  for (const Maker make : makers) {
    for (const std::size_t size : sizes) {
      const Bytes data = make(random, size);
      for (int level = 0; level <= 9; ++level) {
        for (const Strategy& strategy : kStrategies) {
          const int memLevel = 1 + static_cast<int>(random() % 9);
          const Bytes stream = ZlibCompress(data, level, strategy.value, 15, memLevel);
          const auto outcome = InflateZlibStream(inflater, box, stream, Size(data));
          ASSERT_EQ(outcome.kind, ReferenceOutcome::Kind::kReturned)
              << "level " << level << " " << strategy.name << " size " << size;
          ASSERT_TRUE(outcome.output == data) << "level " << level << " " << strategy.name << " size " << size;
          ++compared;
        }
      }
    }
  }
  RecordProperty("streams", compared);
}

TEST(InflateCrossCheck, SmallExpectedSizesCutTheOutput) {
  std::mt19937 random(kSeed + 1);
  RecordingMessageBox box;
  Inflater inflater(box);
  const Bytes data = SampleText(random, 20000);
  for (const int level : {0, 1, 6, 9}) {
    const Bytes stream = ZlibCompress(data, level, Z_DEFAULT_STRATEGY);
    for (const std::int32_t expected : {0, 1, 500, 19899, 19900, 19901}) {
      const auto outcome = InflateZlibStream(inflater, box, stream, expected);
      const std::size_t room = static_cast<std::size_t>(expected) + 101;
      if (level == 0 && data.size() > room) {
        // A stored block that does not fit the output is not copied at all.
        EXPECT_EQ(outcome.result, kInflateBadBlock);
        EXPECT_LT(outcome.output.size(), room);
        continue;
      }
      const std::size_t kept = data.size() > room ? room - 1 : data.size();
      ASSERT_EQ(outcome.output.size(), kept) << level << " " << expected;
      EXPECT_TRUE(std::equal(outcome.output.begin(), outcome.output.end(), data.begin()));
      EXPECT_EQ(outcome, ReferenceInflater().Inflate(Bytes(stream.begin() + 2, stream.end()), expected, false));
    }
  }
}

TEST(InflateCrossCheck, RandomStreamsMatchTheReference) {
  std::mt19937 random(kSeed + 2);
  RecordingMessageBox box;
  Inflater inflater(box);
  int returned = 0, tableFailures = 0, decodingFailures = 0;
  for (int i = 0; i < 2000; ++i) {
    const bool largeLength = random() % 5 == 0;
    const RandomDeflateStream stream = MakeRandomDeflateStream(random, largeLength, i % 10 == 0 ? 2000 : 300);
    const auto produced = static_cast<std::int32_t>(std::min<std::size_t>(stream.outputSize, 1 << 20));
    const unsigned pick = random() % 4;
    const std::int32_t expected = pick == 0   ? produced
                                  : pick == 1 ? produced - 100 - static_cast<std::int32_t>(random() % 3)
                                  : pick == 2 ? static_cast<std::int32_t>(random() % 400) - 100
                                              : produced + static_cast<std::int32_t>(random() % 1000);
    const auto reference = ReferenceInflater().Inflate(stream.bytes, expected, largeLength);
    const auto outcome = RunInflater(inflater, box, stream.bytes, expected, largeLength);
    ASSERT_EQ(outcome, reference) << "stream " << i << ": " << Describe(outcome)
                                  << " / reference: " << Describe(reference);
    returned += outcome.kind == ReferenceOutcome::Kind::kReturned;
    tableFailures += outcome.kind == ReferenceOutcome::Kind::kTableFailure;
    decodingFailures += outcome.kind == ReferenceOutcome::Kind::kDecodingFailure;
  }
  // Each kind of outcome is well represented.
  EXPECT_GT(returned, 700);
  EXPECT_GT(tableFailures, 40);
  EXPECT_GT(decodingFailures, 70);
}

TEST(InflateCrossCheck, DamagedZlibStreamsMatchTheReference) {
  std::mt19937 random(kSeed + 3);
  RecordingMessageBox box;
  Inflater inflater(box);
  std::vector<Bytes> streams;
  for (const auto& file : std::filesystem::directory_iterator(ZORV_TEST_DATA_DIR "/pngsuite")) {
    if (file.path().extension() == ".png") streams.push_back(ReadIdatStream(file.path()));
  }
  for (int level = 0; level <= 9; ++level) {
    for (const Strategy& strategy : kStrategies) {
      streams.push_back(ZlibCompress(SampleText(random, 2000 + random() % 3000), level, strategy.value));
    }
  }
  int compared = 0;
  for (int round = 0; round < 12; ++round) {
    for (const Bytes& original : streams) {
      if (original.size() < 3) continue;
      Bytes body(original.begin() + 2, original.end());
      const unsigned damage = random() % 3;
      if (damage != 1) {
        for (unsigned flips = 1 + random() % 3; flips > 0; --flips) {
          body[random() % body.size()] ^= static_cast<std::uint8_t>(1u << (random() % 8));
        }
      }
      if (damage != 0) body.resize(random() % (body.size() + 1));
      const std::int32_t expected = static_cast<std::int32_t>(random() % 6000);
      const auto reference = ReferenceInflater().Inflate(body, expected, false);
      ASSERT_EQ(RunInflater(inflater, box, body, expected), reference) << "round " << round;
      ++compared;
    }
  }
  RecordProperty("streams", compared);
}

}  // namespace
}  // namespace zorv::png::testing
