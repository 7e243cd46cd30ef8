#include "richtext/rtf_reader.h"

#include <algorithm>
#include <optional>

#include "platform/cp1252.h"
#include "richtext/control_words.h"
#include "richtext/document_builder.h"
#include "richtext/picture_reader.h"
#include "richtext/rtf_lexer.h"
#include "richtext/rtf_tables.h"

namespace zorv::richtext {
namespace {

// Deeper groups are read as if their braces were not there.
constexpr std::size_t kMaxGroupDepth = 512;
constexpr int kMaxUnicodeSkip = 255;

enum class Destination : std::uint8_t { Body, FontTable, ColourTable };

// What a group inherits from its parent and gets back when it ends.
struct GroupState {
  Destination destination = Destination::Body;
  std::size_t openingBrace = 0;  // where the group's "{" stands in the input
  std::optional<std::int32_t> fontNumber;
  int halfPoints = 24;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  std::int32_t colourIndex = 0;
  int unicodeSkip = 1;
};

bool IsHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

class RtfReader {
 public:
  RtfReader(std::string_view input, const ReaderOptions& options)
      : lexer_(input), options_(options), fonts_(builder_, options.defaultFont) {
    GroupState outside;
    outside.halfPoints = options.defaultHalfPoints;
    stack_.push_back(outside);
  }

  Document Read() && {
    while (!finished_) {
      const Token token = lexer_.Next();
      if (token.kind == TokenKind::End) break;
      Handle(token);
    }
    FlushSurrogate();
    fonts_.Commit();
    const CharacterFormat lastMark = finished_ ? finalMark_ : CurrentFormat();
    return std::move(builder_).Finish(lastMark);
  }

 private:
  GroupState& State() { return stack_.back(); }

  void Handle(const Token& token) {
    const bool firstInGroup = atGroupStart_;
    const bool ignorable = ignorableGroup_;
    atGroupStart_ = false;
    ignorableGroup_ = false;
    switch (token.kind) {
      case TokenKind::GroupStart:
        skipRemaining_ = 0;
        OpenGroup();
        return;
      case TokenKind::GroupEnd:
        skipRemaining_ = 0;
        CloseGroup();
        return;
      case TokenKind::ControlSymbol:
        if (token.symbol == '*' && firstInGroup) {
          atGroupStart_ = true;
          ignorableGroup_ = true;
          return;
        }
        if (SkipFallback()) return;
        OnSymbol(token.symbol);
        return;
      case TokenKind::ControlWord:
        OnWord(token, firstInGroup, ignorable);
        return;
      case TokenKind::HexByte:
        if (SkipFallback()) return;
        EmitCharacter(Cp1252ToCodePoint(token.symbol));
        return;
      case TokenKind::Text:
        OnText(token.text);
        return;
      case TokenKind::End:
        return;
    }
  }

  // True when the token stands for a fallback character of the last \u.
  bool SkipFallback() {
    if (skipRemaining_ == 0) return false;
    --skipRemaining_;
    return true;
  }

  void OpenGroup() {
    atGroupStart_ = true;
    if (stack_.size() >= kMaxGroupDepth || overflowDepth_ > 0) {
      ++overflowDepth_;
      return;
    }
    GroupState inner = State();
    inner.openingBrace = lexer_.Position() - 1;
    stack_.push_back(inner);
  }

  void CloseGroup() {
    if (overflowDepth_ > 0) {
      --overflowDepth_;
      return;
    }
    if (stack_.size() <= 1) return;  // a stray "}" outside every group
    if (stack_.size() == 2) {        // the document's own group ends the reading
      finalMark_ = CurrentFormat();
      finished_ = true;
      return;
    }
    if (State().destination == Destination::FontTable) {
      fonts_.EndGroup(stack_.size(), stack_[stack_.size() - 2].destination != Destination::FontTable);
    }
    stack_.pop_back();
  }

  // Passes over the rest of the group just opened, braces and all.
  void SkipRestOfGroup() {
    if (lexer_.SkipGroup()) CloseGroup();  // otherwise the input has ended
  }

  void OnWord(const Token& token, bool firstInGroup, bool ignorable) {
    const Word word = LookUpWord(token.text);
    if (skipRemaining_ > 0) {
      --skipRemaining_;
      if (word == Word::Binary) lexer_.TakeBytes(token.parameter);
      return;
    }
    const bool known = word == Word::FontTable || word == Word::ColourTable || word == Word::Picture ||
                       word == Word::PictureAlternatives;
    if ((ignorable && !known) || word == Word::SkippedDestination) {
      if (stack_.size() > 1 || overflowDepth_ > 0) SkipRestOfGroup();
      return;
    }
    const std::int32_t value = token.parameter;
    const bool on = !token.hasParameter || value != 0;
    GroupState& state = State();
    switch (word) {
      case Word::Bold: state.bold = on; break;
      case Word::Italic: state.italic = on; break;
      case Word::Underline: state.underline = on; break;
      case Word::UnderlineNone: state.underline = false; break;
      case Word::Plain:
        state.fontNumber.reset();
        state.halfPoints = options_.defaultHalfPoints;
        state.bold = state.italic = state.underline = false;
        state.colourIndex = 0;
        break;
      case Word::FontSize:
        state.halfPoints = token.hasParameter && value > 0
                               ? std::clamp(value, kSmallestHalfPoints, kLargestHalfPoints)
                               : options_.defaultHalfPoints;
        break;
      case Word::Colour: state.colourIndex = value; break;
      case Word::Font: OnFontNumber(value); break;
      case Word::DefaultFont: fonts_.SetDefault(value); break;
      case Word::UnicodeSkip: state.unicodeSkip = std::clamp(value, 0, kMaxUnicodeSkip); break;
      case Word::Unicode:
        if (token.hasParameter) EmitUnicode(value);
        break;
      case Word::Binary: lexer_.TakeBytes(token.hasParameter ? value : 0); break;
      case Word::Paragraph:
      case Word::Row: EmitBreak(); break;
      case Word::Line: EmitCharacter(U'\v'); break;
      case Word::Tab:
      case Word::Cell: EmitCharacter(U'\t'); break;
      case Word::FontTable: state.destination = Destination::FontTable; break;
      case Word::ColourTable: state.destination = Destination::ColourTable; break;
      case Word::Picture: OnPicture(firstInGroup); break;
      case Word::FamilyNil: fonts_.SetFamily(FontFamily::Nil); break;
      case Word::FamilyRoman: fonts_.SetFamily(FontFamily::Roman); break;
      case Word::FamilySwiss: fonts_.SetFamily(FontFamily::Swiss); break;
      case Word::FamilyModern: fonts_.SetFamily(FontFamily::Modern); break;
      case Word::FamilyScript: fonts_.SetFamily(FontFamily::Script); break;
      case Word::FamilyDecor: fonts_.SetFamily(FontFamily::Decor); break;
      case Word::FamilyTech: fonts_.SetFamily(FontFamily::Tech); break;
      case Word::FamilyBidi: fonts_.SetFamily(FontFamily::Bidi); break;
      case Word::Charset: fonts_.SetCharset(value); break;
      case Word::Red:
        if (state.destination == Destination::ColourTable) colours_.SetRed(value);
        break;
      case Word::Green:
        if (state.destination == Destination::ColourTable) colours_.SetGreen(value);
        break;
      case Word::Blue:
        if (state.destination == Destination::ColourTable) colours_.SetBlue(value);
        break;
      default:
        if (const char32_t special = SpecialCharacterOf(word)) EmitCharacter(special);
        break;
    }
  }

  void OnFontNumber(std::int32_t number) {
    if (State().destination != Destination::FontTable) {
      State().fontNumber = number;
      return;
    }
    fonts_.BeginEntry(number, stack_.size());
  }

  // A picture is a group that starts with \pict; its text is kept whole, so
  // nothing may come before the word.
  void OnPicture(bool firstInGroup) {
    if (!firstInGroup || State().destination != Destination::Body || stack_.size() <= 1 || overflowDepth_ > 0) {
      if (stack_.size() > 1 || overflowDepth_ > 0) SkipRestOfGroup();
      return;
    }
    FlushSurrogate();
    builder_.AppendPicture(ReadPictureGroup(lexer_, State().openingBrace));
    CloseGroup();  // the picture reader took the closing brace, or the input ended
  }

  void OnSymbol(unsigned char symbol) {
    switch (symbol) {
      case '\\':
      case '{':
      case '}': EmitCharacter(symbol); break;
      case '~': EmitCharacter(U'\u00A0'); break;
      case '-': EmitCharacter(U'\u00AD'); break;
      case '_': EmitCharacter(U'\u2011'); break;
      case '\r':
      case '\n': EmitBreak(); break;  // a backslash before a line end is a paragraph break
      default: break;
    }
  }

  void OnText(std::string_view bytes) {
    const auto skipped = std::min<std::size_t>(static_cast<std::size_t>(skipRemaining_), bytes.size());
    skipRemaining_ -= static_cast<int>(skipped);
    bytes.remove_prefix(skipped);
    if (bytes.empty()) return;
    if (State().destination != Destination::Body) {
      for (char c : bytes) EmitCharacter(Cp1252ToCodePoint(static_cast<unsigned char>(c)));
      return;
    }
    FlushSurrogate();
    textBuffer_.resize(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) textBuffer_[i] = Cp1252ToCodePoint(static_cast<unsigned char>(bytes[i]));
    builder_.AppendText(CurrentFormat(), textBuffer_);
  }

  void EmitUnicode(std::int32_t value) {
    // Values above 32767 are written as negative numbers.
    const std::int64_t widened = value < 0 ? std::int64_t{value} + 65536 : value;
    char32_t c = widened < 0 || widened > 0x10FFFF ? U'\uFFFD' : static_cast<char32_t>(widened);
    skipRemaining_ = State().unicodeSkip;
    if (IsHighSurrogate(c)) {
      FlushSurrogate();
      highSurrogate_ = c;
      return;
    }
    if (IsLowSurrogate(c)) {
      if (highSurrogate_ == 0) {
        c = U'\uFFFD';
      } else {
        c = 0x10000 + ((highSurrogate_ - 0xD800) << 10) + (c - 0xDC00);
        highSurrogate_ = 0;
      }
    }
    EmitCharacter(c);
  }

  // A high surrogate not followed by its low half stands for nothing readable.
  void FlushSurrogate() {
    if (highSurrogate_ == 0) return;
    highSurrogate_ = 0;
    EmitCharacter(U'\uFFFD');
  }

  void EmitCharacter(char32_t c) {
    if (highSurrogate_ != 0) FlushSurrogate();
    switch (State().destination) {
      case Destination::Body: builder_.AppendCharacter(CurrentFormat(), c); break;
      case Destination::FontTable: fonts_.AddCharacter(c, stack_.size()); break;
      case Destination::ColourTable: colours_.AddCharacter(c); break;
    }
  }

  void EmitBreak() {
    if (State().destination != Destination::Body) return;
    FlushSurrogate();
    builder_.EndParagraph(CurrentFormat());
  }

  CharacterFormat CurrentFormat() {
    const GroupState& state = State();
    CharacterFormat format;
    format.font = fonts_.Resolve(state.fontNumber);
    format.halfPoints = state.halfPoints;
    format.bold = state.bold;
    format.italic = state.italic;
    format.underline = state.underline;
    format.colour = colours_.At(state.colourIndex);
    return format;
  }

  RtfLexer lexer_;
  const ReaderOptions& options_;
  DocumentBuilder builder_;
  std::vector<GroupState> stack_;
  std::size_t overflowDepth_ = 0;
  bool atGroupStart_ = false;
  bool ignorableGroup_ = false;
  bool finished_ = false;
  CharacterFormat finalMark_;
  int skipRemaining_ = 0;  // fallback characters of the last \u still to pass over
  char32_t highSurrogate_ = 0;
  FontTableReader fonts_;
  ColourTableReader colours_;
  std::u32string textBuffer_;
};

}  // namespace

bool IsRtf(std::string_view bytes) noexcept { return bytes.starts_with("{\\rtf"); }

Document ReadRtf(std::string_view rtf, const ReaderOptions& options) { return RtfReader(rtf, options).Read(); }

}  // namespace zorv::richtext
