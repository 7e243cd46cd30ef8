#include "richtext/rtf_writer.h"

#include <array>
#include <unordered_map>

#include "platform/cp1252.h"
#include "richtext/text_codec.h"

namespace zorv::richtext {
namespace {

constexpr std::array<std::string_view, 8> kFamilyWords = {"fnil",   "froman", "fswiss", "fmodern",
                                                           "fscript", "fdecor", "ftech",  "fbidi"};

class RtfWriter {
 public:
  explicit RtfWriter(const Document& document) : document_(document) { CollectColours(); }

  std::string Write() && {
    out_.reserve(EstimatedSize());
    out_ += "{\\rtf1\\ansi\\ansicpg1252\\deff0";
    WriteFontTable();
    WriteColourTable();
    out_ += "\r\n\\uc1\\pard";
    delimiterNeeded_ = true;
    const auto& paragraphs = document_.paragraphs;
    for (std::size_t p = 0; p < paragraphs.size(); ++p) {
      for (const auto& item : paragraphs[p].content) {
        if (const auto* run = std::get_if<TextRun>(&item)) {
          WriteFormat(run->format);
          for (char32_t c : run->text) WriteCharacter(c);
        } else {
          out_ += std::get<Picture>(item).groupText;
          delimiterNeeded_ = false;
        }
      }
      WriteFormat(paragraphs[p].markFormat);
      if (p + 1 < paragraphs.size()) {
        out_ += "\\par\r\n";
        delimiterNeeded_ = false;
      }
    }
    out_ += '}';
    return std::move(out_);
  }

 private:
  std::size_t EstimatedSize() const {
    std::size_t size = 256 + 64 * document_.fonts.size();
    for (const auto& paragraph : document_.paragraphs) {
      size += 8;
      for (const auto& item : paragraph.content) {
        if (const auto* run = std::get_if<TextRun>(&item)) {
          size += run->text.size() + 16;
        } else {
          size += std::get<Picture>(item).groupText.size();
        }
      }
    }
    return size;
  }

  void CollectColours() {
    auto add = [this](const CharacterFormat& format) {
      if (!format.colour || colourIndex_.contains(*format.colour)) return;
      colours_.push_back(*format.colour);
      colourIndex_.emplace(*format.colour, static_cast<int>(colours_.size()));
    };
    for (const auto& paragraph : document_.paragraphs) {
      for (const auto& item : paragraph.content) {
        if (const auto* run = std::get_if<TextRun>(&item)) add(run->format);
      }
      add(paragraph.markFormat);
    }
  }

  void WriteFontTable() {
    out_ += "{\\fonttbl";
    for (std::size_t i = 0; i < document_.fonts.size(); ++i) {
      const Font& font = document_.fonts[i];
      out_ += "{\\f" + std::to_string(i) + '\\';
      out_ += kFamilyWords[static_cast<std::size_t>(font.family) % kFamilyWords.size()];
      out_ += "\\fcharset" + std::to_string(font.charset);
      delimiterNeeded_ = true;
      for (char32_t c : Utf8ToCodePoints(font.name)) {
        if (c != U';') WriteCharacter(c);  // a ";" would end the name
      }
      out_ += ";}";
    }
    out_ += '}';
  }

  void WriteColourTable() {
    out_ += "{\\colortbl ;";
    for (Colour colour : colours_) {
      out_ += "\\red" + std::to_string(RedOf(colour)) + "\\green" + std::to_string(GreenOf(colour)) + "\\blue" +
              std::to_string(BlueOf(colour)) + ';';
    }
    out_ += '}';
  }

  void WriteWord(std::string_view word) {
    out_ += word;
    delimiterNeeded_ = true;
  }

  void WriteWord(std::string_view word, long long value) {
    out_ += word;
    out_ += std::to_string(value);
    delimiterNeeded_ = true;
  }

  void WriteFormat(const CharacterFormat& format) {
    if (!written_ || written_->font != format.font) WriteWord("\\f", static_cast<long long>(format.font));
    if (!written_ || written_->halfPoints != format.halfPoints) WriteWord("\\fs", format.halfPoints);
    const CharacterFormat before = written_.value_or(CharacterFormat{});
    if (before.bold != format.bold) WriteWord(format.bold ? "\\b" : "\\b0");
    if (before.italic != format.italic) WriteWord(format.italic ? "\\i" : "\\i0");
    if (before.underline != format.underline) WriteWord(format.underline ? "\\ul" : "\\ulnone");
    if (before.colour != format.colour) WriteWord("\\cf", format.colour ? colourIndex_.at(*format.colour) : 0);
    written_ = format;
  }

  void WriteHexEscape(unsigned char byte) {
    static constexpr char kDigits[] = "0123456789abcdef";
    out_ += "\\'";
    out_ += kDigits[byte >> 4];
    out_ += kDigits[byte & 15];
    delimiterNeeded_ = false;
  }

  void WriteUnicode(char32_t unit) {
    // RTF numbers are signed 16-bit: units above 32767 are written negative.
    WriteWord("\\u", unit > 0x7FFF ? static_cast<long long>(unit) - 65536 : static_cast<long long>(unit));
    out_ += '?';
    delimiterNeeded_ = false;
  }

  void WriteCharacter(char32_t c) {
    if (c >= 0x20 && c < 0x7F) {
      if (c == U'\\' || c == U'{' || c == U'}') {
        out_ += '\\';
      } else if (delimiterNeeded_ && (c == U' ' || c == U'-' || (c >= U'0' && c <= U'9') ||
                                      (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z'))) {
        out_ += ' ';  // would otherwise be read as part of the control word before it
      }
      out_ += static_cast<char>(c);
      delimiterNeeded_ = false;
    } else if (c == U'\t') {
      WriteWord("\\tab");
    } else if (c == U'\v') {
      WriteWord("\\line");
    } else if (c < 0x80) {
      WriteHexEscape(static_cast<unsigned char>(c));
    } else if (const char byte = CodePointToCp1252(c); byte != '?') {
      WriteHexEscape(static_cast<unsigned char>(byte));
    } else if (c > 0x10FFFF) {
      WriteUnicode(0xFFFD);
    } else if (c > 0xFFFF) {
      WriteUnicode(0xD800 + ((c - 0x10000) >> 10));
      WriteUnicode(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      WriteUnicode(c);
    }
  }

  const Document& document_;
  std::string out_;
  std::vector<Colour> colours_;
  std::unordered_map<Colour, int> colourIndex_;
  std::optional<CharacterFormat> written_;  // empty until the first format is written
  bool delimiterNeeded_ = false;
};

}  // namespace

std::string WriteRtf(const Document& document) { return RtfWriter(document).Write(); }

}  // namespace zorv::richtext
