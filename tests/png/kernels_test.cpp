// Every kernel this processor can run, whatever level ZORV_CPU forces, held to
// the plain code: the unfilter kernels to the byte-at-a-time filters over
// filter x distance x width (one pixel, odd widths, the bytes after the last
// whole pixel of depths that are no whole bytes, rows rebuilt in place and
// before their stored bytes); the conversions and blends to their plain
// kernels; the pairing of literals to the plain pairing, and both to the
// table without pairing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <random>
#include <string_view>
#include <vector>

#include "png/inflate/deflate_alphabet.h"
#include "png/inflate/huffman_decode_table.h"
#include "png/kernels.h"
#include "png/random_code.h"
#include "png/unfilter.h"

namespace zorv::png {
namespace {

using Bytes = std::vector<std::uint8_t>;

const ProcessorFeatures kRunnable = ProbeProcessor();
constexpr std::size_t kWidths[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 15, 16, 17, 21, 31, 32, 33, 63, 64, 65, 100};

Bytes Random(std::mt19937& random, std::size_t n) {
  Bytes bytes(n);
  // Runs of one value and extremes as well as noise: Paeth's ties and Average's odd sums.
  for (std::size_t i = 0; i < n; ++i) bytes[i] = random() % 4 == 0 ? (random() % 2 ? 0 : 255) : random();
  return bytes;
}

void ByteAtATime(std::uint8_t filter, Bytes& row, const Bytes& previous, std::size_t distance) {
  switch (filter) {
    case kFilterSub: return UnfilterSub(row, distance);
    case kFilterUp: return UnfilterUp(row, previous);
    case kFilterAverage: return UnfilterAverage(row, previous, distance);
    case kFilterPaeth: return UnfilterPaeth(row, previous, distance);
    default: return;
  }
}

TEST(Kernels, UnfilterKernelsRebuildRowsAsTheByteAtATimeFilters) {
  std::mt19937 random(1701);
  int checked = 0;
  for (const UnfilterChoice& c : UnfilterChoices()) {
    if (!HasAll(kRunnable, c.choice.needs)) continue;
    // A kernel for any distance meets every one, up to 16-bit RGBA's 8 and a broken header's 37.
    std::vector<std::size_t> distances = {1, 2, 3, 4, 5, 6, 7, 8, 37};
    if (c.bytesPerPixel != 0) distances = {c.bytesPerPixel};
    for (const std::size_t distance : distances) {
      for (const std::size_t width : kWidths) {
        // Whole pixels, then one or two bytes more (a 10-bit RGB row ends inside a pixel).
        for (std::size_t tail = 0; tail < distance && tail < 3; ++tail) {
          const std::size_t n = width * distance + tail;
          // The rebuilt row lies `before` bytes ahead of its stored bytes, as row `before` of a picture does.
          for (const std::size_t before : {0, 1, 5}) {
            const Bytes stored = Random(random, n);
            const Bytes previous = Random(random, n);
            Bytes expected = stored;
            ByteAtATime(c.filter, expected, previous, distance);
            Bytes buffer = Random(random, before);
            buffer.insert(buffer.end(), stored.begin(), stored.end());
            c.choice.kernel(buffer.data() + before, buffer.data(), previous.data(), n, distance);
            ASSERT_EQ(Bytes(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(n)), expected)
                << c.choice.name << " filter " << int{c.filter} << " distance " << distance << " bytes " << n
                << " before " << before;
            ++checked;
          }
        }
      }
    }
  }
  EXPECT_GT(checked, 1000);
}

template <typename Kernel, typename Run>
void EachAgainstPlain(std::span<const KernelChoice<Kernel>> choices, const Run& run) {
  for (const KernelChoice<Kernel>& c : choices) {
    if (HasAll(kRunnable, c.needs)) run(c.kernel, choices.back().kernel, c.name);
  }
}

TEST(Kernels, ConversionsAndBlendsGiveThePlainKernelsPixels) {
  std::mt19937 random(1702);
  std::vector<std::size_t> widths(std::begin(kWidths), std::end(kWidths));
  widths.insert(widths.end(), {0, 130});
  for (const std::size_t width : widths) {
    const Bytes rgb = Random(random, 3 * width + width % 3);  // trailing bytes of no whole group stay
    const Bytes rgba = Random(random, 4 * width);
    const Bytes bgr = Random(random, 3 * width);
    std::vector<std::uint32_t> colours(width);
    for (std::uint32_t& colour : colours) colour = random() & 0xFFFFFF;

    EachAgainstPlain(SwapRgbChoices(), [&](SwapRgbKernel kernel, SwapRgbKernel plain, const char* name) {
      Bytes ours = rgb, reference = rgb;
      kernel(ours.data(), ours.size());
      plain(reference.data(), reference.size());
      EXPECT_EQ(ours, reference) << name << " width " << width;
    });
    EachAgainstPlain(RgbToColoursChoices(), [&](RgbToColoursKernel kernel, RgbToColoursKernel plain, const char* name) {
      std::vector<std::uint32_t> ours(width), reference(width);
      kernel(rgb.data(), width, ours.data());
      plain(rgb.data(), width, reference.data());
      EXPECT_EQ(ours, reference) << name << " width " << width;
    });
    EachAgainstPlain(BlendToColoursChoices(), [&](BlendToColoursKernel kernel, BlendToColoursKernel plain,
                                                  const char* name) {
      std::vector<std::uint32_t> ours(width), reference(width);
      kernel(rgba.data(), colours.data(), width, ours.data());
      plain(rgba.data(), colours.data(), width, reference.data());
      EXPECT_EQ(ours, reference) << name << " width " << width;
    });
    EachAgainstPlain(BlendBgraChoices(), [&](BlendBgraKernel kernel, BlendBgraKernel plain, const char* name) {
      Bytes inPlace = rgba, reference(3 * width);
      kernel(inPlace.data(), bgr.data(), inPlace.data(), width);
      plain(rgba.data(), bgr.data(), reference.data(), width);
      EXPECT_EQ(Bytes(inPlace.begin(), inPlace.begin() + static_cast<std::ptrdiff_t>(3 * width)), reference)
          << name << " width " << width;
    });
  }
}

// The literal a single-literal root entry stands for, with its code length.
struct Literal {
  unsigned value, bits;
};
std::optional<Literal> SingleLiteral(std::uint32_t e) {
  if (!(e & entry::kLiteral) || entry::IsSubtableLink(e)) return std::nullopt;
  return Literal{entry::Literal(e), entry::CodeLength(e)};
}

TEST(Kernels, PairedLiteralsAreTheTwoSingleLiteralsTheTableWithoutPairingDecodes) {
  std::mt19937 random(1703);
  std::vector<std::vector<std::uint8_t>> codes;
  std::vector<std::uint8_t> fixed(kLiteralLengthSymbols);
  for (unsigned s = 0; s < kLiteralLengthSymbols; ++s) fixed[s] = s < 144 ? 8 : s < 256 ? 9 : s < 280 ? 7 : 8;
  codes.push_back(fixed);
  codes.push_back({1, 2, 2});  // pairs even in a root table of two bits
  for (int i = 0; i < 60; ++i) {
    codes.push_back(RandomCompleteCode(random, 3 + random() % (kLiteralLengthSymbols - 2), i % 2 == 0));
  }
  int paired = 0;
  for (const std::vector<std::uint8_t>& lengths : codes) {
    for (const unsigned rootBits : {kLiteralLengthRootBits, 9U, 2U}) {
      if (rootBits == 2 && lengths.size() > 3) continue;  // a large code in a tiny root: megabytes of subtables
      HuffmanDecodeTable single(rootBits, static_cast<unsigned>(lengths.size()));
      ASSERT_TRUE(single.Build(lengths, kLiteralLengthMeanings));
      const auto literals = std::span(lengths).first(std::min<std::size_t>(lengths.size(), kEndOfBlockSymbol));
      HuffmanDecodeTable reference = single;
      reference.PairLiterals(literals, &plain::PairLiterals);
      for (const KernelChoice<PairLiteralsKernel>& c : PairLiteralsChoices()) {
        if (!HasAll(kRunnable, c.needs)) continue;
        HuffmanDecodeTable table = single;
        table.PairLiterals(literals, c.kernel);
        ASSERT_TRUE(std::ranges::equal(table.RootEntries(), reference.RootEntries())) << c.name << " root " << rootBits;
      }
      // Entry i pairs the literal it starts with the one the entry after that
      // literal's bits starts with, whenever both are literals and fit the root bits.
      const auto root = reference.RootEntries();
      const auto alone = single.RootEntries();
      for (std::size_t i = 0; i < root.size(); ++i) {
        const std::optional<Literal> first = SingleLiteral(alone[i]);
        const std::optional<Literal> second = first ? SingleLiteral(alone[i >> first->bits]) : std::nullopt;
        if (!second || first->bits + second->bits > rootBits) {
          ASSERT_EQ(root[i], alone[i]) << i;
          continue;
        }
        ASSERT_EQ(entry::LiteralCount(root[i]), 2U) << i;
        EXPECT_EQ(entry::Literal(root[i]), first->value);
        EXPECT_EQ(entry::CodeLength(root[i]), first->bits) << "read alone, the first literal";
        EXPECT_EQ(root[i] >> 24, second->value);
        EXPECT_EQ(root[i] & 63, first->bits + second->bits);
        ++paired;
      }
    }
  }
  EXPECT_GT(paired, 10000);
}

// The instruction sets each level allows, by the names the tables give them.
std::vector<std::string_view> AllowedAt(std::string_view level) {
  if (level == "plain") return {"plain"};
  if (level == "sse2") return {"plain", "sse2", "neon"};
  if (level == "sse4.1") return {"plain", "sse2", "neon", "ssse3", "sse4.1"};
  return {"plain", "sse2", "neon", "ssse3", "sse4.1", "avx2", "bmi2"};
}

TEST(Kernels, TheChosenKernelsKeepWithinTheForcedLevel) {
  const char* forced = std::getenv("ZORV_CPU");
  const std::string_view level = forced != nullptr ? forced : "";
  ASSERT_TRUE(level.empty() || LevelFeatures(level)) << "ZORV_CPU names no level: " << level;
  const std::vector<std::string_view> allowed = AllowedAt(level);
  const auto nameOf = [](auto choices, auto chosen) -> std::string_view {
    for (const auto& c : choices) {
      if (c.kernel == chosen) return c.name;
    }
    return "none";
  };
  std::vector<std::string_view> chosen = {nameOf(SwapRgbChoices(), Kernels().swapRgb),
                                          nameOf(RgbToColoursChoices(), Kernels().rgbToColours),
                                          nameOf(BlendToColoursChoices(), Kernels().blendToColours),
                                          nameOf(BlendBgraChoices(), Kernels().blendBgra),
                                          nameOf(PairLiteralsChoices(), Kernels().pairLiterals)};
  for (const auto& c : FastLoopChoices()) {
    if (c.kernel.singleLiterals == Kernels().fastLoop.singleLiterals) chosen.push_back(c.name);
  }
  for (const UnfilterChoice& c : UnfilterChoices()) {
    for (std::size_t distance = 1; distance <= 8; ++distance) {
      if (Kernels().Unfilter(distance)[c.filter] == c.choice.kernel) chosen.push_back(c.choice.name);
    }
  }
  for (const std::string_view name : chosen) {
    EXPECT_NE(std::find(allowed.begin(), allowed.end(), name), allowed.end()) << name << " at level " << level;
  }
}

// Every fast loop starts on a 64-byte line: its speed then does not hang on
// what the linker put before it.
TEST(Kernels, EveryFastLoopStartsOnALine) {
  for (const auto& c : FastLoopChoices()) {
    for (const InflateRun::FastLoop loop :
         {c.kernel.singleLiterals, c.kernel.pairedLiterals, c.kernel.wholeMatchesSingleLiterals,
          c.kernel.wholeMatchesPairedLiterals, c.kernel.largeLength, c.kernel.branchFreeSingleLiterals,
          c.kernel.branchFreePairedLiterals}) {
      EXPECT_EQ(reinterpret_cast<std::uintptr_t>(loop) % 64, 0u) << c.name;
    }
  }
}

}  // namespace
}  // namespace zorv::png
