#pragma once
// A canonical Huffman code turned into a table that decodes one symbol with a
// single probe: the low root bits of the bit buffer index the root table
// (shorter codes fill every entry they prefix); codes longer than that go
// through one subtable. Only codes that fill their
// code space exactly are accepted, so every bit pattern decodes to a symbol.
#include <cassert>
#include <cstdint>
#include <span>
#include <vector>

#include "png/inflate/deflate_alphabet.h"

namespace zorv::png {

// Pairs the literals of a root table of 2^rootBits entries (PairLiterals);
// `shortest` is the shortest literal code, no more than half the root bits.
// Chosen by processor (png/kernels.h).
using PairLiteralsKernel = void (*)(std::uint32_t* entries, unsigned rootBits, unsigned shortest);

class HuffmanDecodeTable {
 public:
  // rootBits: the most bits the root table is indexed by; symbols: alphabet
  // size; longestCode: the longest code length the alphabet allows.
  HuffmanDecodeTable(unsigned rootBits, unsigned symbols, unsigned longestCode = kLongestCode);

  // Builds the table from one code length per symbol (0 = unused, at most 15).
  // meanings[s] is the entry payload of symbol s. Returns false, building
  // nothing, when the code is over-subscribed or does not fill its space
  // (which includes a lone code and a code without symbols).
  bool Build(std::span<const std::uint8_t> codeLengths, std::span<const std::uint32_t> meanings);
  // The same with a root table of `rootBits` from now on (its room grows on
  // the first build that needs more).
  bool Build(std::span<const std::uint8_t> codeLengths, std::span<const std::uint32_t> meanings, unsigned rootBits);

  // For a literal/length table just built from code lengths whose first 256
  // are `literalLengths`: every root entry of a literal whose code leaves room
  // within the root bits for the whole code of another literal takes that
  // literal as its second one (one probe, two bytes of output).
  void PairLiterals(std::span<const std::uint8_t> literalLengths);
  // The same with a given kernel rather than the chosen one.
  void PairLiterals(std::span<const std::uint8_t> literalLengths, PairLiteralsKernel kernel);
  // Whether the table may hold paired literals: PairLiterals ran on it since it
  // was last built and found two literal codes that fit the root bits together.
  bool HasPairedLiterals() const { return pairedLiterals_; }

  // For a literal/length table just built, and the distance table of its
  // block: every root entry of a length code whose extra bits and the
  // distance code after them fit within the root bits becomes a whole match
  // (one probe for both codes); `distanceLengths` are the code lengths the
  // distance table was built from. Not for streams where length 258 is
  // followed by 16 bits of its own.
  void PairMatches(const HuffmanDecodeTable& distance, std::span<const std::uint8_t> distanceLengths);
  // Whether PairMatches ran on the table since it was last built.
  bool HasWholeMatches() const { return wholeMatches_; }

  // The root table: 2^rootBits entries.
  std::span<const std::uint32_t> RootEntries() const { return {entries_.data(), std::size_t{1} << rootBits_}; }
  unsigned RootBits() const { return rootBits_; }

  // What a lookup needs, to be held in registers by a decoding loop (its output
  // stores could otherwise alias the table's fields); the root size is a
  // constant there.
  template <unsigned kRootBits>
  struct View {
    const std::uint32_t* entries;

    // The root entry of the code at the bottom of `bits` (least significant bit
    // first): the code's own entry, or a link to its subtable.
    std::uint32_t Root(std::uint64_t bits) const { return entries[bits & ((std::uint64_t{1} << kRootBits) - 1)]; }
    // The entry a subtable link leads to for the same bits.
    std::uint32_t Resolve(std::uint32_t link, std::uint64_t bits) const {
      const std::uint64_t index = (bits >> kRootBits) & ((std::uint64_t{1} << entry::ExtraBits(link)) - 1);
      return entries[entry::Value(link) + index];
    }
    // The entry of the code at the bottom of `bits`.
    std::uint32_t Lookup(std::uint64_t bits) const {
      const std::uint32_t e = Root(bits);
      if (entry::IsSubtableLink(e)) [[unlikely]] return Resolve(e, bits);
      return e;
    }
  };

  template <unsigned kRootBits>
  View<kRootBits> Decoder() const {
    assert(kRootBits == rootBits_);
    return View<kRootBits>{entries_.data()};
  }

  std::uint32_t Lookup(std::uint64_t bits) const {
    std::uint32_t e = entries_[bits & rootMask_];
    if (entry::IsSubtableLink(e)) [[unlikely]] {
      const std::uint64_t index = (bits >> rootBits_) & ((std::uint64_t{1} << entry::ExtraBits(e)) - 1);
      e = entries_[entry::Value(e) + index];
    }
    return e;
  }

  // The longest code length of the code last built.
  unsigned MaxLength() const { return maxLength_; }

 private:
  void SetRootBits(unsigned rootBits);

  unsigned symbols_;
  unsigned longestCode_;
  unsigned rootBits_ = 0;
  std::uint64_t rootMask_ = 0;
  unsigned maxLength_ = 0;
  bool pairedLiterals_ = false;
  bool wholeMatches_ = false;
  std::vector<std::uint32_t> entries_;
};

namespace plain {
// The plain kernel of PairLiterals.
void PairLiterals(std::uint32_t* entries, unsigned rootBits, unsigned shortest);
}  // namespace plain

}  // namespace zorv::png
