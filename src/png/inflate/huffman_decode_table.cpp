#include "png/inflate/huffman_decode_table.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cstring>

#include "png/kernels.h"

namespace zorv::png {
namespace {

// The low `length` bits of `code` in reverse order, without a loop over them.
std::uint32_t ReverseBits(std::uint32_t code, unsigned length) {
  assert(length > 0);
  std::uint32_t x = code << (32 - length);
  x = (x >> 1 & 0x55555555u) | (x & 0x55555555u) << 1;
  x = (x >> 2 & 0x33333333u) | (x & 0x33333333u) << 2;
  x = (x >> 4 & 0x0F0F0F0Fu) | (x & 0x0F0F0F0Fu) << 4;
  return __builtin_bswap32(x);
}

}  // namespace

HuffmanDecodeTable::HuffmanDecodeTable(unsigned rootBits, unsigned symbols, unsigned longestCode)
    : symbols_(symbols), longestCode_(longestCode) {
  SetRootBits(rootBits);
}

void HuffmanDecodeTable::SetRootBits(unsigned rootBits) {
  rootBits_ = rootBits;
  rootMask_ = (std::uint64_t{1} << rootBits) - 1;
  // A subtable of 2^k entries holds the codes under one root prefix, which
  // fill it exactly and reach k bits deep: at least k + 1 codes. Entries per
  // code grow with k, so subtables as deep as the longest code allows bound them all.
  std::size_t capacity = std::size_t{1} << rootBits;
  if (longestCode_ > rootBits) {
    const unsigned deepest = longestCode_ - rootBits;
    capacity += std::size_t{(symbols_ + deepest) / (deepest + 1)} << deepest;
  }
  if (entries_.size() < capacity) entries_.resize(capacity);
}

bool HuffmanDecodeTable::Build(std::span<const std::uint8_t> codeLengths, std::span<const std::uint32_t> meanings,
                               unsigned rootBits) {
  if (rootBits != rootBits_) SetRootBits(rootBits);
  return Build(codeLengths, meanings);
}

bool HuffmanDecodeTable::Build(std::span<const std::uint8_t> codeLengths, std::span<const std::uint32_t> meanings) {
  assert(codeLengths.size() <= meanings.size());
  std::array<int, kLongestCode + 1> count{};
  for (const std::uint8_t length : codeLengths) {
    assert(length <= kLongestCode);
    ++count[length];
  }
  unsigned maxLength = kLongestCode;
  while (maxLength > 0 && count[maxLength] == 0) --maxLength;

  // The code must fill its space exactly: no pattern left over, none claimed twice.
  int left = 1;
  for (unsigned bits = 1; bits <= maxLength; ++bits) {
    left = 2 * left - count[bits];
    if (left < 0) return false;
  }
  if (left != 0) return false;

  // Symbols in canonical order: by code length, then by symbol.
  std::array<int, kLongestCode + 2> offset{};
  for (unsigned bits = 1; bits <= kLongestCode; ++bits) offset[bits + 1] = offset[bits] + count[bits];
  std::array<std::uint16_t, kLiteralLengthSymbols> sorted;  // the first symbolCount are written
  for (std::size_t s = 0; s < codeLengths.size(); ++s) {
    if (codeLengths[s] != 0) sorted[offset[codeLengths[s]]++] = static_cast<std::uint16_t>(s);
  }
  const int symbolCount = offset[kLongestCode + 1];

  maxLength_ = maxLength;
  pairedLiterals_ = false;
  wholeMatches_ = false;
  const std::uint32_t rootSize = std::uint32_t{1} << rootBits_;

  // Codes up to the root length are written once into a table of 2^length
  // entries, which is doubled by copying as the lengths grow: each copy repeats
  // every code for the bit patterns that follow it.
  unsigned filledBits = codeLengths[sorted[0]];  // a complete code has at least two symbols
  auto growTo = [&](unsigned bits) {
    for (; filledBits < bits; ++filledBits) {
      std::memcpy(&entries_[std::size_t{1} << filledBits], &entries_[0], sizeof(std::uint32_t) << filledBits);
    }
  };

  std::array<int, kLongestCode + 1> remaining = count;
  std::uint32_t code = 0;  // the canonical code, most significant bit first
  std::uint32_t used = rootSize;
  std::uint32_t subtablePrefix = rootSize;  // no subtable yet
  std::uint32_t subtableStart = 0;
  unsigned subtableBits = 0;
  for (int i = 0; i < symbolCount; ++i) {
    const unsigned symbol = sorted[i];
    const unsigned length = codeLengths[symbol];
    const std::uint32_t reversed = ReverseBits(code, length);
    const std::uint32_t e = entry::WithCodeLength(meanings[symbol], length);
    if (length <= rootBits_) {
      growTo(length);
      entries_[reversed] = e;
    } else {
      growTo(rootBits_);
      const std::uint32_t prefix = reversed & static_cast<std::uint32_t>(rootMask_);
      if (prefix != subtablePrefix) {
        // A new subtable, just deep enough for the codes that share this prefix:
        // canonical codes under one prefix come one after the other.
        subtablePrefix = prefix;
        subtableStart = used;
        subtableBits = length - rootBits_;
        int room = 1 << subtableBits;
        while (subtableBits + rootBits_ < maxLength) {
          room -= remaining[subtableBits + rootBits_];
          if (room <= 0) break;
          ++subtableBits;
          room <<= 1;
        }
        used += std::uint32_t{1} << subtableBits;
        assert(used <= entries_.size());
        entries_[prefix] = entry::MakeSubtableLink(subtableStart, subtableBits);
      }
      const std::uint32_t subtableSize = std::uint32_t{1} << subtableBits;
      for (std::uint32_t j = reversed >> rootBits_; j < subtableSize; j += std::uint32_t{1} << (length - rootBits_)) {
        entries_[subtableStart + j] = e;
      }
    }
    --remaining[length];
    ++code;
    if (i + 1 < symbolCount) code <<= codeLengths[sorted[i + 1]] - length;
  }
  growTo(rootBits_);
  return true;
}

void HuffmanDecodeTable::PairLiterals(std::span<const std::uint8_t> literalLengths) {
  PairLiterals(literalLengths, Kernels().pairLiterals);
}

void HuffmanDecodeTable::PairLiterals(std::span<const std::uint8_t> literalLengths, PairLiteralsKernel kernel) {
  unsigned shortest = kLongestCode + 1;
  for (const std::uint8_t length : literalLengths) {
    if (length != 0) shortest = std::min<unsigned>(shortest, length);
  }
  if (2 * shortest > rootBits_) return;  // no two literal codes fit together
  kernel(entries_.data(), rootBits_, shortest);
  pairedLiterals_ = true;
}

void HuffmanDecodeTable::PairMatches(const HuffmanDecodeTable& distance,
                                     std::span<const std::uint8_t> distanceLengths) {
  unsigned shortest = kLongestCode + 1;
  for (const std::uint8_t length : distanceLengths) {
    if (length != 0) shortest = std::min<unsigned>(shortest, length);
  }
  if (shortest >= rootBits_) return;
  wholeMatches_ = true;
  const std::uint32_t distanceMask = (std::uint32_t{1} << distance.rootBits_) - 1;
  // As in PairLiterals: the entry at b < 2^n is the first of a code of n bits,
  // and a length code needs room for a distance code after it.
  for (std::uint32_t b = 0; b < (std::uint32_t{1} << (rootBits_ - shortest)); ++b) {
    const std::uint32_t e = entries_[b];
    const unsigned codeBits = entry::CodeLength(e);
    // Literals, the end of the block and subtable links stay as they are.
    if ((e & (entry::kLiteral | entry::kEndOfBlock)) || (b >> codeBits) != 0) continue;
    const unsigned lengthBits = e & 63;  // the code and its extra bits
    if (lengthBits >= rootBits_) continue;
    const unsigned extraBits = lengthBits - codeBits;
    // The bits above the code are the length's extra bits, then the start of
    // the distance code: its root entry is right for them if its code ends
    // within them.
    for (std::uint32_t k = 0; k < (std::uint32_t{1} << (rootBits_ - codeBits)); ++k) {
      const unsigned length = entry::Value(e) + (k & ((std::uint32_t{1} << extraBits) - 1));
      const std::uint32_t d = distance.entries_[(k >> extraBits) & distanceMask];
      const bool whole = !entry::IsSubtableLink(d) && lengthBits + entry::CodeLength(d) <= rootBits_;
      entries_[b | k << codeBits] =
          whole ? entry::MakeWholeMatch(lengthBits + (d & 63), codeBits, extraBits, length,
                                        DistanceSymbol(entry::Value(d)))
                : e;
    }
  }
}

namespace plain {

// A code of n bits has its root entries at b + k * 2^n, b < 2^n being its
// reversed code; the code after it starts at k, and the entry at k is right
// for it when it is no longer than the root bits - n known there. An entry
// paired before keeps its first literal's length and value where these
// reads look.
void PairLiterals(std::uint32_t* entries, unsigned rootBits, unsigned shortest) {
  for (std::uint32_t b = 0; b < (std::uint32_t{1} << (rootBits - shortest)); ++b) {
    const std::uint32_t first = entries[b];
    const unsigned firstBits = entry::CodeLength(first);
    if (!(first & entry::kLiteral) || firstBits + shortest > rootBits || (b >> firstBits) != 0) continue;
    const unsigned room = rootBits - firstBits;
    // The first literal's flags, code length and value.
    const std::uint32_t kept = (first & 0x00FF0FC0) | entry::kSecondLiteral;
    // Every entry of the code is written, paired or as it was, without a branch.
    for (std::uint32_t k = 0; k < (std::uint32_t{1} << room); ++k) {
      const std::uint32_t second = entries[k];
      const unsigned secondBits = entry::CodeLength(second);
      const bool fits = (second & entry::kLiteral) != 0 && secondBits <= room;
      const std::uint32_t paired = kept | (second & 0x00FF0000) << 8 | (firstBits + secondBits);
      entries[b | k << firstBits] = fits ? paired : first;
    }
  }
}

}  // namespace plain
}  // namespace zorv::png
