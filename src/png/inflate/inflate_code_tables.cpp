#include "png/inflate/inflate_code_tables.h"

#include <array>
#include <cstdint>

namespace zorv::png {

std::shared_ptr<const FixedCodeTables> FixedCodeTables::Build() {
  std::array<std::uint8_t, kLiteralLengthSymbols> literalLengths{};
  for (unsigned s = 0; s < kLiteralLengthSymbols; ++s) {
    literalLengths[s] = s < 144 ? 8 : s < 256 ? 9 : s < 280 ? 7 : 8;
  }
  std::array<std::uint8_t, kDistanceSymbols> distanceLengths{};
  distanceLengths.fill(5);

  auto tables = std::make_shared<FixedCodeTables>();
  if (!tables->literalLength.Build(literalLengths, kLiteralLengthMeanings)) return nullptr;
  tables->literalLength.PairLiterals(std::span(literalLengths).first(kEndOfBlockSymbol));
  if (!tables->distance.Build(distanceLengths, kDistanceMeanings)) return nullptr;
  return tables;
}

}  // namespace zorv::png
