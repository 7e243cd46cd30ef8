#pragma once
// Cuts RTF bytes into tokens. Nothing here allocates: names and text are views
// into the input, numbers are clamped to the 32-bit range, and a token never
// reads past the end of the input.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace zorv::richtext {

enum class TokenKind : std::uint8_t {
  End,
  GroupStart,
  GroupEnd,
  ControlWord,    // `text` is the name, `parameter` its number when `hasParameter`
  ControlSymbol,  // `symbol` is the character after the backslash
  HexByte,        // \'hh: `symbol` is the byte
  Text,           // `text` is a stretch of plain bytes without CR or LF
};

struct Token {
  TokenKind kind = TokenKind::End;
  std::string_view text;
  std::int32_t parameter = 0;
  bool hasParameter = false;
  unsigned char symbol = 0;
};

class RtfLexer {
 public:
  explicit RtfLexer(std::string_view input) : input_(input) {}

  Token Next();

  // The raw bytes after \binN; fewer when the input ends first.
  std::string_view TakeBytes(std::int64_t count);

  // Skips the rest of the group whose opening brace was the last token read,
  // up to and including its closing brace (or to the end of the input).
  // Returns false when the input ended first.
  bool SkipGroup();

  // Where the next token starts.
  std::size_t Position() const { return position_; }
  // Moves past bytes that the caller has read itself from Input().
  void Advance(std::size_t count) { position_ = std::min(position_ + count, input_.size()); }
  std::string_view Input() const { return input_; }

 private:
  Token ReadControl();

  std::string_view input_;
  std::size_t position_ = 0;
};

}  // namespace zorv::richtext
