#pragma once
// The LZ77 half of the compressor: turns the input into literals and
// (length, distance) back-references, found through a hash of the next three
// bytes and a chain of earlier positions with the same hash.
#include <cstdint>
#include <span>
#include <vector>

namespace zorv::png::deflate_writer {

// A literal byte when distance is 0, else a copy of `lengthOrLiteral` bytes
// (3..258) from `distance` bytes back (1..32768).
struct Token {
  std::uint16_t lengthOrLiteral;
  std::uint16_t distance;
};

struct MatchSettings {
  int maxChain;         // earlier positions tried per search
  int goodLength;       // a match this long already quarters the next search
  int niceLength;       // a match this long ends the search
  bool lazy;            // look one byte ahead for a longer match before taking one
  int lazyLimit;        // a match this long is taken without looking ahead
  int maxInsertLength;  // positions inside longer matches stay out of the hash (greedy only)
};

class Matcher {
 public:
  // `input` must outlive the matcher; it is at most 2^31 - 1 bytes.
  Matcher(std::span<const std::uint8_t> input, const MatchSettings& settings);

  // Appends tokens for the bytes from Position() on, until `maxTokens` tokens are
  // in `tokens` or the input ends. Every call ends on a token boundary.
  void Next(std::vector<Token>& tokens, std::size_t maxTokens);

  std::size_t Position() const { return static_cast<std::size_t>(position_); }
  bool AtEnd() const { return position_ >= size_; }

 private:
  struct Match {
    int length = 0;
    int distance = 0;
  };

  std::uint32_t HashAt(std::int32_t position) const;
  void InsertUpTo(std::int32_t position);
  Match FindLongest(std::int32_t position, int previousLength);
  int MatchLength(std::int32_t earlier, std::int32_t position, int limit) const;

  std::span<const std::uint8_t> input_;
  MatchSettings settings_;
  std::int32_t size_;
  std::int32_t position_ = 0;
  std::int32_t inserted_ = 0;  // positions below this are in the hash
  std::vector<std::int32_t> head_;
  std::vector<std::int32_t> previous_;
  // A match already found for position_ by the previous step's look-ahead.
  Match pending_;
  bool hasPending_ = false;
};

}  // namespace zorv::png::deflate_writer
