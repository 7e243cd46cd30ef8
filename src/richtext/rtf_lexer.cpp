#include "richtext/rtf_lexer.h"

#include <algorithm>
#include <array>
#include <limits>

namespace zorv::richtext {
namespace {

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The bytes that end a stretch of text, as a table: text is most of what is read.
constexpr std::array<bool, 256> kEndsText = [] {
  std::array<bool, 256> ends{};
  for (unsigned char c : {'\\', '{', '}', '\r', '\n'}) ends[c] = true;
  return ends;
}();

bool EndsText(char c) { return kEndsText[static_cast<unsigned char>(c)]; }

}  // namespace

Token RtfLexer::Next() {
  // CR and LF between tokens are not part of the text.
  while (position_ < input_.size() && (input_[position_] == '\r' || input_[position_] == '\n')) ++position_;
  Token token;
  if (position_ >= input_.size()) return token;
  switch (input_[position_]) {
    case '{':
      ++position_;
      token.kind = TokenKind::GroupStart;
      return token;
    case '}':
      ++position_;
      token.kind = TokenKind::GroupEnd;
      return token;
    case '\\':
      return ReadControl();
    default:
      break;
  }
  const std::size_t start = position_;
  while (position_ < input_.size() && !EndsText(input_[position_])) ++position_;
  token.kind = TokenKind::Text;
  token.text = input_.substr(start, position_ - start);
  return token;
}

Token RtfLexer::ReadControl() {
  Token token;
  ++position_;  // the backslash
  if (position_ >= input_.size()) return token;  // a lone backslash at the end
  const char first = input_[position_];
  if (!IsLetter(first)) {
    ++position_;
    if (first == '\'') {
      // \'hh; with fewer than two hex digits the escape stands for nothing.
      const int high = position_ < input_.size() ? HexValue(input_[position_]) : -1;
      const int low = position_ + 1 < input_.size() ? HexValue(input_[position_ + 1]) : -1;
      if (high >= 0 && low >= 0) {
        position_ += 2;
        token.kind = TokenKind::HexByte;
        token.symbol = static_cast<unsigned char>(high * 16 + low);
        return token;
      }
    }
    token.kind = TokenKind::ControlSymbol;
    token.symbol = static_cast<unsigned char>(first);
    return token;
  }
  const std::size_t nameStart = position_;
  while (position_ < input_.size() && IsLetter(input_[position_])) ++position_;
  token.kind = TokenKind::ControlWord;
  token.text = input_.substr(nameStart, position_ - nameStart);

  bool negative = false;
  if (position_ + 1 < input_.size() && input_[position_] == '-' && IsDigit(input_[position_ + 1])) {
    negative = true;
    ++position_;
  }
  if (position_ < input_.size() && IsDigit(input_[position_])) {
    constexpr std::int64_t kLimit = std::numeric_limits<std::int32_t>::max();
    std::int64_t value = 0;
    while (position_ < input_.size() && IsDigit(input_[position_])) {
      value = std::min(kLimit + 1, value * 10 + (input_[position_] - '0'));
      ++position_;
    }
    value = negative ? -value : std::min(value, kLimit);
    token.hasParameter = true;
    token.parameter = static_cast<std::int32_t>(value);
  }
  if (position_ < input_.size() && input_[position_] == ' ') ++position_;  // the delimiter
  return token;
}

std::string_view RtfLexer::TakeBytes(std::int64_t count) {
  const auto available = static_cast<std::int64_t>(input_.size() - position_);
  const auto taken = static_cast<std::size_t>(std::clamp<std::int64_t>(count, 0, available));
  const std::string_view bytes = input_.substr(position_, taken);
  position_ += taken;
  return bytes;
}

bool RtfLexer::SkipGroup() {
  std::size_t depth = 1;
  for (;;) {
    const Token token = Next();
    switch (token.kind) {
      case TokenKind::End:
        return false;
      case TokenKind::GroupStart:
        ++depth;
        break;
      case TokenKind::GroupEnd:
        if (--depth == 0) return true;
        break;
      case TokenKind::ControlWord:
        if (token.text == "bin" && token.hasParameter) TakeBytes(token.parameter);
        break;
      default:
        break;
    }
  }
}

}  // namespace zorv::richtext
