#include "richtext/rtf_tables.h"

#include <algorithm>

#include "platform/cp1252.h"

namespace zorv::richtext {
namespace {

int ClampByte(std::int32_t value) { return std::clamp(value, 0, 255); }

std::string TrimmedUtf8(const std::u32string& text) {
  const auto first = text.find_first_not_of(U' ');
  if (first == std::u32string::npos) return {};
  const auto last = text.find_last_not_of(U' ');
  std::string out;
  for (std::size_t i = first; i <= last; ++i) AppendUtf8(out, text[i]);
  return out;
}

}  // namespace

void FontTableReader::BeginEntry(std::int32_t number, std::size_t depth) {
  if (pending_.Started()) Commit();  // the previous entry lacked its ";"
  pending_.number = number;
  pending_.depth = depth;
}

void FontTableReader::SetCharset(std::int32_t charset) { pending_.charset = ClampByte(charset); }

void FontTableReader::AddCharacter(char32_t c, std::size_t depth) {
  if (c == U';') {
    Commit();
    return;
  }
  if (!pending_.Started()) pending_.depth = depth;
  pending_.name.push_back(c);
}

void FontTableReader::EndGroup(std::size_t depth, bool tableEnds) {
  // An entry written as a group ends with it; a group nested inside an entry
  // (such as a skipped \*\panose) does not end the entry.
  if (pending_.Started() && (tableEnds || pending_.depth >= depth)) Commit();
}

void FontTableReader::Commit() {
  if (!pending_.Started()) return;
  const std::size_t index = builder_.AddFont(Font{TrimmedUtf8(pending_.name), pending_.family, pending_.charset});
  if (pending_.number) fontsByNumber_[*pending_.number] = index;
  pending_ = PendingFont{};
}

std::size_t FontTableReader::Resolve(std::optional<std::int32_t> number) {
  if (!number) number = defaultNumber_;
  if (number) {
    if (const auto found = fontsByNumber_.find(*number); found != fontsByNumber_.end()) return found->second;
  }
  if (!fallbackIndex_) fallbackIndex_ = builder_.AddFont(fallback_);
  return *fallbackIndex_;
}

void ColourTableReader::Set(int& component, std::int32_t value) {
  component = ClampByte(value);
  given_ = true;
}

void ColourTableReader::AddCharacter(char32_t c) {
  if (c != U';') return;
  if (given_) {
    colours_.emplace_back(MakeColour(red_, green_, blue_));
  } else {
    colours_.emplace_back(std::nullopt);
  }
  red_ = green_ = blue_ = 0;
  given_ = false;
}

std::optional<Colour> ColourTableReader::At(std::int32_t index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= colours_.size()) return std::nullopt;
  return colours_[static_cast<std::size_t>(index)];
}

}  // namespace zorv::richtext
