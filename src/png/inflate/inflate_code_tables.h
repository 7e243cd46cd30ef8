#pragma once
// The code tables a compressed block is decoded with: the fixed code, built once
// per inflater, and the tables of dynamic blocks, rebuilt for each block.
#include <cstdint>
#include <memory>
#include <span>

#include "png/inflate/huffman_decode_table.h"

namespace zorv::png {

// Root table sizes: big enough that nearly every code is found in one probe,
// small enough to stay in the first-level cache. A literal/length table has
// the larger of its two sizes where that lets one probe find two literals
// markedly more often (ShapeLiteralTable).
inline constexpr unsigned kLiteralLengthRootBits = 12;
inline constexpr unsigned kCompactLiteralLengthRootBits = 11;
inline constexpr unsigned kDistanceRootBits = 8;
inline constexpr unsigned kCodeLengthRootBits = 7;
inline constexpr unsigned kLongestCodeLengthCode = 7;

// How a literal/length table is laid out for a code whose 256 literals have
// these code lengths:
// - the root size: the larger one where two literals in a row take exactly its
//   bits often enough (codes of six bits pair in twelve, not in eleven), the
//   smaller one elsewhere, as it is built in half the time and leaves more of
//   the first-level cache to the output;
// - whether its literals are paired (HuffmanDecodeTable::PairLiterals): only
//   where two literals in a row fit the root bits often enough to repay the
//   pass over the table. In text, literals come singly between matches and
//   their codes are long, and the pass would cost more than it saves.
struct LiteralTableShape {
  unsigned rootBits;
  bool pairLiterals;
};
LiteralTableShape ShapeLiteralTable(std::span<const std::uint8_t> literalLengths);

// Whether a block's matches should be decoded as whole matches
// (HuffmanDecodeTable::PairMatches). A whole match saves the distance code's
// own lookup, but a loop that meets both kinds guesses at each match which
// kind comes, and a wrong guess costs more than the lookup saved. So only
// where nearly every match fits, as the code lengths tell it: a length code,
// its extra bits and a distance code within the root bits.
bool WholeMatchesPay(std::span<const std::uint8_t> lengthCodeLengths, std::span<const std::uint8_t> distanceLengths,
                     unsigned rootBits);

// Whether a block should be decoded by the fast loop without a branch between
// literal and match: where the code lengths tell that literals and matches come
// mixed (matches between two fifths and nine tenths of the symbols), so that
// the other loop would often guess wrong which comes next, and that matches
// are short on average (at most 32 bytes), so that nearly every one fits a
// step. (Below two fifths, structured text such as XML lets the processor
// guess well enough that the other loop stays faster.)
bool BranchFreePays(std::span<const std::uint8_t> lengthCodeLengths);

class FixedCodeTables {
 public:
  // The fixed code of deflate: literal/length symbols 0-143 have 8 bits,
  // 144-255 9, 256-279 7, 280-287 8; the 32 distance symbols 5 bits each.
  // Null when a table cannot be built.
  static std::shared_ptr<const FixedCodeTables> Build();

  HuffmanDecodeTable literalLength{kCompactLiteralLengthRootBits, kLiteralLengthSymbols};
  HuffmanDecodeTable distance{kDistanceRootBits, kDistanceSymbols};
};

struct DynamicCodeTables {
  HuffmanDecodeTable codeLengths{kCodeLengthRootBits, kCodeLengthSymbols, kLongestCodeLengthCode};
  HuffmanDecodeTable literalLength{kLiteralLengthRootBits, kLiteralLengthSymbols};
  HuffmanDecodeTable distance{kDistanceRootBits, kDistanceSymbols};
  bool branchFree = false;  // the block is decoded without a branch between literal and match
};

}  // namespace zorv::png
