#include "inflate/random_deflate_stream.h"

#include <algorithm>

#include "inflate/deflate_bit_writer.h"

namespace zorv::png::testing {
namespace {

constexpr int kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                 31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr int kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr int kDistanceBase[32] = {1,    2,    3,    4,    5,    7,     9,     13,    17,    25,   33,
                                   49,   65,   97,   129,  193,  257,   385,   513,   769,   1025, 1537,
                                   2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577, 32769, 49153};
constexpr int kDistanceExtra[32] = {0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6,
                                    7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13, 14, 14};

bool OneIn(std::mt19937& random, unsigned n) { return random() % n == 0; }

void BreakCode(std::mt19937& random, std::vector<int>& lengths) {
  const std::size_t at = random() % lengths.size();
  lengths[at] = lengths[at] == 0 ? 1 + static_cast<int>(random() % 15) : lengths[at] - 1;
}

}  // namespace

RandomDeflateStream MakeRandomDeflateStream(std::mt19937& random, bool largeLength, int maxSymbolsPerBlock) {
  DeflateBitWriter w;
  std::size_t produced = 0;
  const int blocks = 1 + static_cast<int>(random() % 4);
  for (int block = 0; block < blocks; ++block) {
    const bool final = block == blocks - 1;
    const unsigned pick = random() % 100;
    const int type = pick < 15 ? 0 : pick < 45 ? 1 : pick < 98 ? 2 : 3;
    w.Bits(final, 1).Bits(static_cast<std::uint32_t>(type), 2);
    if (type == 3) break;
    if (type == 0) {
      std::vector<std::uint8_t> content(OneIn(random, 3) ? random() % 2 : random() % 400);
      for (auto& b : content) b = static_cast<std::uint8_t>(random() % 5);
      const auto len = static_cast<std::uint32_t>(content.size());
      const std::uint32_t nlen = OneIn(random, 20) ? random() & 0xFFFF : ~len & 0xFFFF;
      w.AlignToByte();
      const std::vector<std::uint8_t> header = {static_cast<std::uint8_t>(len), static_cast<std::uint8_t>(len >> 8),
                                                static_cast<std::uint8_t>(nlen), static_cast<std::uint8_t>(nlen >> 8)};
      w.Bytes(header).Bytes(content);
      produced += content.size();
      continue;
    }
    PrefixCode literals = FixedLiteralLengthCode();
    PrefixCode distances = FixedDistanceCode();
    if (type == 2) {
      const int literalCount = 257 + static_cast<int>(random() % 32);
      const int distanceCount = 1 + static_cast<int>(random() % 32);
      std::vector<int> literalLengths =
          RandomCompleteCode(random, literalCount, 2 + static_cast<int>(random() % 80), 15);
      if (!OneIn(random, 30) && literalLengths[256] == 0) {
        // Make sure the block can end: give the end-of-block symbol the place of another symbol.
        auto used = std::find_if(literalLengths.begin(), literalLengths.end(), [](int n) { return n != 0; });
        std::swap(*used, literalLengths[256]);
      }
      std::vector<int> distanceLengths =
          distanceCount == 1 ? std::vector<int>{static_cast<int>(random() % 2)}
                             : RandomCompleteCode(random, distanceCount,
                                                  2 + static_cast<int>(random() % distanceCount), 15);
      if (OneIn(random, 25)) BreakCode(random, literalLengths);
      if (OneIn(random, 25)) BreakCode(random, distanceLengths);
      WriteDynamicHeader(w, literalLengths, distanceLengths);
      literals = PrefixCode(literalLengths);
      distances = PrefixCode(distanceLengths);
    }
    std::vector<int> literalSymbols, lengthSymbols, distanceSymbols;
    for (std::size_t s = 0; s < literals.lengths.size(); ++s) {
      if (literals.lengths[s] == 0 || s == 256) continue;
      (s < 256 ? literalSymbols : lengthSymbols).push_back(static_cast<int>(s));
    }
    for (std::size_t d = 0; d < distances.lengths.size(); ++d) {
      if (distances.lengths[d] != 0) distanceSymbols.push_back(static_cast<int>(d));
    }
    const int symbols = static_cast<int>(random() % static_cast<unsigned>(maxSymbolsPerBlock + 1));
    for (int i = 0; i < symbols; ++i) {
      const bool wantMatch = !lengthSymbols.empty() && !distanceSymbols.empty() && produced > 0 && random() % 3 != 0;
      if (!wantMatch) {
        if (literalSymbols.empty()) break;
        literals.Put(w, literalSymbols[random() % literalSymbols.size()]);
        ++produced;
        continue;
      }
      // A distance symbol that stays inside the output, but for a rare one that does not.
      std::vector<int> fitting;
      for (int d : distanceSymbols) {
        if (static_cast<std::size_t>(kDistanceBase[d]) <= produced) fitting.push_back(d);
      }
      if (fitting.empty() && !OneIn(random, 50)) {
        if (literalSymbols.empty()) break;
        literals.Put(w, literalSymbols[random() % literalSymbols.size()]);
        ++produced;
        continue;
      }
      const int lengthSymbol = lengthSymbols[random() % lengthSymbols.size()];
      literals.Put(w, lengthSymbol);
      std::size_t length = 0;
      if (lengthSymbol <= 285) {
        const int i = lengthSymbol - 257;
        const std::uint32_t extra = random() & ((1u << kLengthExtra[i]) - 1);
        w.Bits(extra, kLengthExtra[i]);
        length = static_cast<std::size_t>(kLengthBase[i]) + extra;
        if (largeLength && length == 258) {
          const std::uint32_t longForm = random() % (OneIn(random, 40) ? 65536 : 1000);
          w.Bits(longForm, 16);
          length = longForm + 3;
        }
      }
      const int d = fitting.empty() ? distanceSymbols[random() % distanceSymbols.size()]
                                    : fitting[random() % fitting.size()];
      distances.Put(w, d);
      const std::size_t room = produced - std::min<std::size_t>(produced, static_cast<std::size_t>(kDistanceBase[d]));
      const std::uint32_t extraMask = (1u << kDistanceExtra[d]) - 1;
      const std::uint32_t extra = OneIn(random, 50) ? random() & extraMask
                                                   : static_cast<std::uint32_t>(random() % (room + 1)) & extraMask;
      w.Bits(extra, kDistanceExtra[d]);
      produced += length;
    }
    literals.Put(w, 256);
  }
  RandomDeflateStream stream{w.Finish(), produced};
  const unsigned tail = random() % 10;
  if (tail < 6) {
    for (unsigned i = tail % 5; i > 0; --i) stream.bytes.push_back(static_cast<std::uint8_t>(random()));
  } else if (tail < 8 && !stream.bytes.empty()) {
    stream.bytes.resize(random() % stream.bytes.size());
  }
  return stream;
}

}  // namespace zorv::png::testing
