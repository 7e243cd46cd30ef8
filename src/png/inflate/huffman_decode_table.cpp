#include "png/inflate/huffman_decode_table.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cstring>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

namespace zorv::png {
namespace {

#if defined(__x86_64__) && defined(__GNUC__)
// PairLiterals eight root entries a step (AVX2, chosen at run time): entry i,
// a literal of n bits, finds the code after it at entry i >> n, gathered.
// Going down, every entry read below i is still a single one; a step reads
// all its entries before it writes them.
[[gnu::target("avx2")]] void PairLiteralsAvx2(std::uint32_t* entries, unsigned rootBits) {
  const __m256i lanes = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
  const __m256i literal = _mm256_set1_epi32(entry::kLiteral);
  const __m256i lengthBits = _mm256_set1_epi32(15);  // a single literal's code length, below 16 in a root entry
  const __m256i dropBits = _mm256_set1_epi32(63);
  const __m256i kept = _mm256_set1_epi32(0x00FF0FC0);  // flags, code length and value of the first literal
  const __m256i secondFlag = _mm256_set1_epi32(entry::kSecondLiteral);
  const __m256i value = _mm256_set1_epi32(0x00FF0000);
  const __m256i tooLong = _mm256_set1_epi32(static_cast<int>(rootBits) + 1);
  for (int i = (1 << rootBits) - 8; i >= 0; i -= 8) {
    const __m256i first = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(entries + i));
    const __m256i firstBits = _mm256_and_si256(first, lengthBits);
    const __m256i next = _mm256_srlv_epi32(_mm256_add_epi32(_mm256_set1_epi32(i), lanes), firstBits);
    const __m256i second = _mm256_i32gather_epi32(reinterpret_cast<const int*>(entries), next, 4);
    const __m256i total = _mm256_add_epi32(firstBits, _mm256_and_si256(second, dropBits));
    const __m256i pair = _mm256_and_si256(
        _mm256_cmpeq_epi32(_mm256_and_si256(_mm256_and_si256(first, second), literal), literal),
        _mm256_cmpgt_epi32(tooLong, total));
    const __m256i paired =
        _mm256_or_si256(_mm256_or_si256(_mm256_and_si256(first, kept), secondFlag),
                        _mm256_or_si256(_mm256_slli_epi32(_mm256_and_si256(second, value), 8), total));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(entries + i), _mm256_blendv_epi8(first, paired, pair));
  }
}
#endif

std::uint32_t ReverseBits(std::uint32_t code, unsigned length) {
  std::uint32_t reversed = 0;
  for (unsigned i = 0; i < length; ++i) {
    reversed = reversed << 1 | (code & 1);
    code >>= 1;
  }
  return reversed;
}

}  // namespace

HuffmanDecodeTable::HuffmanDecodeTable(unsigned rootBits, unsigned symbols, unsigned longestCode)
    : rootBits_(rootBits), rootMask_((std::uint64_t{1} << rootBits) - 1) {
  // Each subtable starts with a code longer than the root bits and holds at
  // most 2^(longest - root) entries, so this bounds the root table and every subtable.
  std::size_t capacity = std::size_t{1} << rootBits;
  if (longestCode > rootBits) capacity += std::size_t{symbols} << (longestCode - rootBits);
  entries_.resize(capacity);
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
  std::array<std::uint16_t, kLiteralLengthSymbols> sorted{};
  for (std::size_t s = 0; s < codeLengths.size(); ++s) {
    if (codeLengths[s] != 0) sorted[offset[codeLengths[s]]++] = static_cast<std::uint16_t>(s);
  }
  const int symbolCount = offset[kLongestCode + 1];

  maxLength_ = maxLength;
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
  unsigned shortest = kLongestCode + 1;
  for (const std::uint8_t length : literalLengths) {
    if (length != 0) shortest = std::min<unsigned>(shortest, length);
  }
  const unsigned rootBits = rootBits_;
  if (2 * shortest > rootBits) return;  // no two literal codes fit together
#if defined(__x86_64__) && defined(__GNUC__)
  static const bool hasAvx2 = __builtin_cpu_supports("avx2");
  if (hasAvx2 && rootBits >= 3) return PairLiteralsAvx2(entries_.data(), rootBits);
#endif
  // A code of n bits has its root entries at b + k * 2^n, b < 2^n being its
  // reversed code; the code after it starts at k, and the entry at k is right
  // for it when it is no longer than the root bits - n known there. An entry
  // paired before keeps its first literal's length and value where these
  // reads look.
  std::uint32_t* const entries = entries_.data();
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

}  // namespace zorv::png
