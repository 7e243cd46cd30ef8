#pragma once
// Random complete prefix codes for tests of the decode tables.
#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "png/inflate/deflate_alphabet.h"

namespace zorv::png {

// A complete code of `symbols` lengths (at most 15) from random splits of a
// one-leaf tree, the leaves dealt out to random symbols; `shallow` splits the
// shallowest leaves first, for codes of short literals.
inline std::vector<std::uint8_t> RandomCompleteCode(std::mt19937& random, unsigned symbols, bool shallow) {
  std::vector<std::uint8_t> leaves = {0};
  while (leaves.size() < symbols) {
    std::size_t pick = random() % leaves.size();
    if (shallow) pick = static_cast<std::size_t>(std::min_element(leaves.begin(), leaves.end()) - leaves.begin());
    if (leaves[pick] == kLongestCode) continue;
    ++leaves[pick];
    leaves.push_back(leaves[pick]);
  }
  std::shuffle(leaves.begin(), leaves.end(), random);
  return leaves;
}

}  // namespace zorv::png
