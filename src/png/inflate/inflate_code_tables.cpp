#include "png/inflate/inflate_code_tables.h"

#include <array>
#include <cstdint>

namespace zorv::png {

unsigned LiteralLengthRootBits(std::span<const std::uint8_t> literalLengths) {
  // share[n]: the part of the code space the literals of n bits take, in units of 2^-15.
  std::array<std::uint64_t, kLongestCode + 1> share{};
  for (const std::uint8_t length : literalLengths) {
    if (length != 0) share[length] += std::uint64_t{1} << (kLongestCode - length);
  }
  // The chance, in units of 2^-30, that the next two symbols are literals of
  // exactly kLiteralLengthRootBits bits together.
  std::uint64_t pairs = 0;
  for (unsigned first = 1; first < kLiteralLengthRootBits; ++first) {
    pairs += share[first] * share[kLiteralLengthRootBits - first];
  }
  constexpr std::uint64_t kWorthIt = (std::uint64_t{1} << 30) / 10;
  return pairs >= kWorthIt ? kLiteralLengthRootBits : kCompactLiteralLengthRootBits;
}

std::shared_ptr<const FixedCodeTables> FixedCodeTables::Build() {
  std::array<std::uint8_t, kLiteralLengthSymbols> literalLengths{};
  for (unsigned s = 0; s < kLiteralLengthSymbols; ++s) {
    literalLengths[s] = s < 144 ? 8 : s < 256 ? 9 : s < 280 ? 7 : 8;
  }
  std::array<std::uint8_t, kDistanceSymbols> distanceLengths{};
  distanceLengths.fill(5);

  auto tables = std::make_shared<FixedCodeTables>();
  const auto literals = std::span(literalLengths).first(kEndOfBlockSymbol);
  if (!tables->literalLength.Build(literalLengths, kLiteralLengthMeanings, LiteralLengthRootBits(literals))) {
    return nullptr;
  }
  tables->literalLength.PairLiterals(literals);
  if (!tables->distance.Build(distanceLengths, kDistanceMeanings)) return nullptr;
  return tables;
}

}  // namespace zorv::png
