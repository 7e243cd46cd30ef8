#pragma once
// What each symbol of the deflate alphabets stands for, packed into the decode
// table entries of HuffmanDecodeTable. Besides the standard alphabets this
// decoder accepts distance codes 30 and 31 (32769 and 49153, 14 extra bits
// each) and literal/length symbols 286 and 287 (a length of 0).
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>

namespace zorv::png {

// A decode table entry (32 bits):
//   bits 0-5    code length plus extra bits: what the fast loop drops at once
//               (the only bits a shift count looks at); in a link to a
//               subtable, the subtable's index bits
//   bit  6      the symbol is a literal byte
//   bit  7      the symbol ends the block, or the entry links to a subtable
//   bits 8-11   code length; 0 in an entry that links to a subtable
//   bit  12     in a literal entry: a second literal follows (bits 13-15 stay 0,
//               so bits 8-13 read as a shift count are the code length);
//               in a length entry: the entry holds a whole match (below)
//   bits 16-31  the literal, base length, base distance, code-length symbol or subtable start;
//               a second literal sits in bits 24-31
// An entry of two literals keeps the first one's code length in bits 8-11, so
// that a decoder taking one symbol at a time reads it as the first literal alone.
//
// An entry of a whole match stands for a length code, its extra bits and the
// distance code after them, all within the root bits:
//   bits 0-5    all the bits of the match, the distance's extra bits included
//   bits 8-11   the length code's length
//   bits 13-15  the length's extra bits (part of the entry's index)
//   bits 16-24  the length
//   bits 25-29  the distance symbol
// A decoder taking one symbol at a time reads the length code, its extra bits
// and the length from it, and decodes the distance on its own.
namespace entry {
inline constexpr std::uint32_t kLiteral = 0x40;
// End of block, or a link to a subtable: a decoding loop sends both off its
// common path with one test (a link has no code length; see IsSubtableLink).
inline constexpr std::uint32_t kEndOfBlock = 0x80;
inline constexpr std::uint32_t kSecondLiteral = 0x1000;
inline constexpr std::uint32_t kWholeMatch = 0x1000;

constexpr unsigned CodeLength(std::uint32_t e) { return (e >> 8) & 0x0F; }
// The extra bits after a length or distance code, or a subtable's index bits.
constexpr unsigned ExtraBits(std::uint32_t e) { return (e & 63) - CodeLength(e); }
constexpr bool IsSubtableLink(std::uint32_t e) { return (e & 0xF00) == 0; }
constexpr std::uint32_t Value(std::uint32_t e) { return e >> 16; }
// The (first) literal of a literal entry.
constexpr std::uint8_t Literal(std::uint32_t e) { return static_cast<std::uint8_t>(e >> 16); }
// How many literals a literal entry stands for: 1 or 2.
constexpr unsigned LiteralCount(std::uint32_t e) { return 1 + ((e >> 12) & 1); }
// The length of a whole-match entry, its length's extra bits and its distance symbol.
constexpr unsigned MatchLength(std::uint32_t e) { return (e >> 16) & 0x1FF; }
constexpr unsigned MatchLengthExtraBits(std::uint32_t e) { return (e >> 13) & 7; }
constexpr unsigned MatchDistanceSymbol(std::uint32_t e) { return (e >> 25) & 31; }
constexpr std::uint32_t MakeWholeMatch(unsigned allBits, unsigned lengthCodeLength, unsigned lengthExtraBits,
                                       unsigned length, unsigned distanceSymbol) {
  return allBits | lengthCodeLength << 8 | kWholeMatch | lengthExtraBits << 13 | length << 16 | distanceSymbol << 25;
}
// A symbol's meaning, without its code length.
constexpr std::uint32_t Make(std::uint32_t value, unsigned extraBits, std::uint32_t flags) {
  return value << 16 | flags | extraBits;
}
constexpr std::uint32_t MakeSubtableLink(std::uint32_t start, unsigned indexBits) { return Make(start, indexBits, kEndOfBlock); }
// The meaning completed with the code length of its symbol.
constexpr std::uint32_t WithCodeLength(std::uint32_t meaning, unsigned codeLength) {
  return (meaning + codeLength) | codeLength << 8;
}
}  // namespace entry

inline constexpr unsigned kLiteralLengthSymbols = 288;
inline constexpr unsigned kDistanceSymbols = 32;
inline constexpr unsigned kCodeLengthSymbols = 19;
inline constexpr unsigned kEndOfBlockSymbol = 256;
inline constexpr unsigned kLongestCode = 15;
inline constexpr std::size_t kLongestMatch = 258;

// The order in which a dynamic block lists the lengths of the code-length code.
inline constexpr std::array<std::uint8_t, kCodeLengthSymbols> kCodeLengthOrder = {
    16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};

inline constexpr std::array<std::uint16_t, 32> kLengthBase = {
    3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 15, 17, 19, 23, 27, 31,
    35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258, 0, 0, 0};
inline constexpr std::array<std::uint8_t, 32> kLengthExtra = {
    0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2,
    3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0, 0, 0, 0};
inline constexpr std::array<std::uint16_t, 32> kDistanceBase = {
    1, 2, 3, 4, 5, 7, 9, 13, 17, 25, 33, 49, 65, 97, 129, 193,
    257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577, 32769, 49153};
inline constexpr std::array<std::uint8_t, 32> kDistanceExtra = {
    0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6,
    7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13, 14, 14};

// The decode table payload of every symbol, without its code length.
inline constexpr std::array<std::uint32_t, kLiteralLengthSymbols> kLiteralLengthMeanings = [] {
  std::array<std::uint32_t, kLiteralLengthSymbols> meanings{};
  for (unsigned s = 0; s < kEndOfBlockSymbol; ++s) meanings[s] = entry::Make(s, 0, entry::kLiteral);
  meanings[kEndOfBlockSymbol] = entry::Make(0, 0, entry::kEndOfBlock);
  for (unsigned s = kEndOfBlockSymbol + 1; s < kLiteralLengthSymbols; ++s) {
    const unsigned i = s - (kEndOfBlockSymbol + 1);  // 286 and 287 get length 0, no extra bits
    meanings[s] = entry::Make(kLengthBase[i], kLengthExtra[i], 0);
  }
  return meanings;
}();

// The distance symbol whose base distance is `base`.
constexpr unsigned DistanceSymbol(unsigned base) {
  if (base <= 4) return base - 1;
  // Past 4, each power of two holds two symbols with the same extra bits.
  const unsigned high = static_cast<unsigned>(std::bit_width(base - 1)) - 1;
  return 2 * high + ((base - 1) >> (high - 1) & 1);
}
static_assert([] {
  for (unsigned d = 0; d < kDistanceSymbols; ++d) {
    if (DistanceSymbol(kDistanceBase[d]) != d) return false;
  }
  return true;
}());

inline constexpr std::array<std::uint32_t, kDistanceSymbols> kDistanceMeanings = [] {
  std::array<std::uint32_t, kDistanceSymbols> meanings{};
  for (unsigned d = 0; d < kDistanceSymbols; ++d) meanings[d] = entry::Make(kDistanceBase[d], kDistanceExtra[d], 0);
  return meanings;
}();

inline constexpr std::array<std::uint32_t, kCodeLengthSymbols> kCodeLengthMeanings = [] {
  std::array<std::uint32_t, kCodeLengthSymbols> meanings{};
  for (unsigned s = 0; s < kCodeLengthSymbols; ++s) meanings[s] = entry::Make(s, 0, 0);
  return meanings;
}();

}  // namespace zorv::png
