#include "png/deflate_writer_matcher.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>

#include "png/deflate_writer_alphabet.h"
#include "platform/run_time_error.h"

namespace zorv::png::deflate_writer {
namespace {

constexpr int kHashBits = 15;
constexpr std::int32_t kWindowMask = kWindowSize - 1;
constexpr std::int32_t kNone = -1;

std::uint64_t Load64(const std::uint8_t* p) {
  std::uint64_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

}  // namespace

Matcher::Matcher(std::span<const std::uint8_t> input, const MatchSettings& settings)
    : input_(input),
      settings_(settings),
      head_(std::size_t{1} << kHashBits, kNone),
      previous_(static_cast<std::size_t>(kWindowSize), kNone) {
  if (input.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
    throw RunTimeError(ErrorCode::Overflow);
  size_ = static_cast<std::int32_t>(input.size());
}

std::uint32_t Matcher::HashAt(std::int32_t position) const {
  const std::uint8_t* p = input_.data() + position;
  const std::uint32_t three = std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16;
  return (three * 2654435761u) >> (32 - kHashBits);
}

void Matcher::InsertUpTo(std::int32_t position) {
  const std::int32_t last = std::min(position, size_ - kMinMatch);
  for (; inserted_ <= last; ++inserted_) {
    const std::uint32_t hash = HashAt(inserted_);
    previous_[static_cast<std::size_t>(inserted_ & kWindowMask)] = head_[hash];
    head_[hash] = inserted_;
  }
  inserted_ = std::max(inserted_, position + 1);
}

int Matcher::MatchLength(std::int32_t earlier, std::int32_t position, int limit) const {
  const std::uint8_t* a = input_.data() + earlier;
  const std::uint8_t* b = input_.data() + position;
  int length = 0;
  while (length + 8 <= limit) {
    const std::uint64_t difference = Load64(a + length) ^ Load64(b + length);
    if (difference != 0) {
      // Little-endian loads: the first differing byte holds the lowest set bit.
      if constexpr (std::endian::native == std::endian::little)
        return length + std::countr_zero(difference) / 8;
      break;
    }
    length += 8;
  }
  while (length < limit && a[length] == b[length]) ++length;
  return length;
}

// The longest earlier match for `position`, which must not be in the hash yet.
Matcher::Match Matcher::FindLongest(std::int32_t position, int previousLength) {
  Match best;
  const int limit = std::min(kMaxMatch, static_cast<int>(size_ - position));
  if (limit < kMinMatch) return best;
  int chain = settings_.maxChain;
  if (previousLength >= settings_.goodLength) chain >>= 2;
  best.length = std::max(previousLength, kMinMatch - 1);
  if (best.length >= limit) return Match{};
  const std::uint8_t* here = input_.data() + position;
  std::int32_t candidate = head_[HashAt(position)];
  int found = 0;
  while (candidate != kNone && position - candidate <= kWindowSize && chain-- > 0) {
    const std::uint8_t* there = input_.data() + candidate;
    // The byte that would make this candidate longer than the best so far is checked first.
    if (there[best.length] == here[best.length] && there[0] == here[0]) {
      const int length = MatchLength(candidate, position, limit);
      if (length > best.length) {
        best.length = length;
        best.distance = position - candidate;
        found = length;
        if (length >= settings_.niceLength || length == limit) break;
      }
    }
    const std::int32_t next = previous_[static_cast<std::size_t>(candidate & kWindowMask)];
    if (next >= candidate) break;
    candidate = next;
  }
  if (found == 0) return Match{};
  return best;
}

void Matcher::Next(std::vector<Token>& tokens, std::size_t maxTokens) {
  auto literal = [&](std::int32_t at) { tokens.push_back({input_[static_cast<std::size_t>(at)], 0}); };
  auto reference = [&](const Match& m) {
    tokens.push_back({static_cast<std::uint16_t>(m.length), static_cast<std::uint16_t>(m.distance)});
  };
  while (position_ < size_ && tokens.size() < maxTokens) {
    Match match;
    if (hasPending_) {
      match = pending_;
      hasPending_ = false;
    } else {
      InsertUpTo(position_ - 1);
      match = FindLongest(position_, 0);
      InsertUpTo(position_);
    }
    if (match.length < kMinMatch) {
      literal(position_++);
      continue;
    }
    if (settings_.lazy && match.length < settings_.lazyLimit && position_ + 1 < size_) {
      InsertUpTo(position_);
      const Match ahead = FindLongest(position_ + 1, match.length);
      InsertUpTo(position_ + 1);
      if (ahead.length > match.length) {
        // The byte here goes out alone; the longer match starts at the next one.
        literal(position_++);
        pending_ = ahead;
        hasPending_ = true;
        continue;
      }
    }
    reference(match);
    const std::int32_t end = position_ + match.length;
    if (!settings_.lazy && match.length > settings_.maxInsertLength) inserted_ = std::max(inserted_, end);
    position_ = end;
  }
}

}  // namespace zorv::png::deflate_writer
