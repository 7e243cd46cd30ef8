#include "png/inflate/inflate_code_tables.h"

#include <array>
#include <cstdint>

namespace zorv::png {

LiteralTableShape ShapeLiteralTable(std::span<const std::uint8_t> literalLengths) {
  // share[n]: the part of the code space the literals of n bits take, in units of 2^-15.
  std::array<std::uint64_t, kLongestCode + 1> share{};
  for (const std::uint8_t length : literalLengths) {
    if (length != 0) share[length] += std::uint64_t{1} << (kLongestCode - length);
  }
  // pairs[n]: the chance, in units of 2^-30, that the next two symbols are
  // literals of exactly n bits together.
  std::array<std::uint64_t, kLiteralLengthRootBits + 1> pairs{};
  for (unsigned first = 1; first < kLiteralLengthRootBits; ++first) {
    for (unsigned second = 1; first + second <= kLiteralLengthRootBits; ++second) {
      pairs[first + second] += share[first] * share[second];
    }
  }
  constexpr std::uint64_t kOne = std::uint64_t{1} << 30;
  const unsigned rootBits =
      pairs[kLiteralLengthRootBits] >= kOne / 10 ? kLiteralLengthRootBits : kCompactLiteralLengthRootBits;
  std::uint64_t fit = 0;
  for (unsigned n = 2; n <= rootBits; ++n) fit += pairs[n];
  return LiteralTableShape{rootBits, fit >= kOne / 16};
}

bool BranchFreePays(std::span<const std::uint8_t> lengthCodeLengths) {
  // In units of 2^-15: the part of the code space the length codes take, and
  // that part weighed by the length each code stands for (the middle of its range).
  std::uint64_t matches = 0;
  std::uint64_t weighedLengths = 0;
  for (std::size_t i = 0; i < lengthCodeLengths.size(); ++i) {
    const unsigned length = lengthCodeLengths[i];
    if (length == 0) continue;
    const std::uint64_t share = std::uint64_t{1} << (kLongestCode - length);
    matches += share;
    weighedLengths += share * (2 * kLengthBase[i] + (1u << kLengthExtra[i]) - 1);  // twice the middle
  }
  constexpr std::uint64_t kOne = std::uint64_t{1} << kLongestCode;
  return 5 * matches >= 2 * kOne && 10 * matches <= 9 * kOne && weighedLengths <= 2 * 32 * matches;
}

bool WholeMatchesPay(std::span<const std::uint8_t> lengthCodeLengths, std::span<const std::uint8_t> distanceLengths,
                     unsigned rootBits) {
  // below[n]: the part of the distance code space whose codes have at most n bits, in units of 2^-15.
  std::array<std::uint64_t, kLongestCode + 1> below{};
  for (const std::uint8_t length : distanceLengths) {
    if (length != 0) below[length] += std::uint64_t{1} << (kLongestCode - length);
  }
  for (unsigned n = 1; n <= kLongestCode; ++n) below[n] += below[n - 1];
  // The chance that a match is a whole match, as the code lengths tell it:
  // whole / (matches * below[kLongestCode]).
  std::uint64_t matches = 0;
  std::uint64_t whole = 0;
  for (std::size_t i = 0; i < lengthCodeLengths.size(); ++i) {
    const unsigned length = lengthCodeLengths[i];
    if (length == 0) continue;
    const std::uint64_t share = std::uint64_t{1} << (kLongestCode - length);
    matches += share;
    const unsigned lengthBits = length + kLengthExtra[i];
    if (lengthBits < rootBits) whole += share * below[rootBits - lengthBits];
  }
  // At least 95 in 100.
  return matches != 0 && 100 * whole >= 95 * matches * below[kLongestCode];
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
  const LiteralTableShape shape = ShapeLiteralTable(literals);
  if (!tables->literalLength.Build(literalLengths, kLiteralLengthMeanings, shape.rootBits)) return nullptr;
  if (shape.pairLiterals) tables->literalLength.PairLiterals(literals);
  if (!tables->distance.Build(distanceLengths, kDistanceMeanings)) return nullptr;
  return tables;
}

}  // namespace zorv::png
