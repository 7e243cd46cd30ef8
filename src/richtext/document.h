#pragma once
// The document a rich-text box holds: paragraphs of text runs and pictures.
// A renderer walks `Document::paragraphs` in order; each paragraph ends with a
// break except the last. Inside a run, '\t' is a tab and U+000B a line break
// that does not end the paragraph.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/colour.h"

namespace zorv::richtext {

// The font family words of a font table entry.
enum class FontFamily : std::uint8_t { Nil, Roman, Swiss, Modern, Script, Decor, Tech, Bidi };

struct Font {
  std::string name;  // UTF-8
  FontFamily family = FontFamily::Nil;
  int charset = 0;
  bool operator==(const Font&) const = default;
};

// Size limits of a character in half-points; sizes read or set are clamped to them.
constexpr int kSmallestHalfPoints = 1;
constexpr int kLargestHalfPoints = 3276;

struct CharacterFormat {
  std::size_t font = 0;  // index into Document::fonts
  int halfPoints = 24;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  std::optional<Colour> colour;  // empty: the automatic text colour
  bool operator==(const CharacterFormat&) const = default;
};

struct TextRun {
  CharacterFormat format;
  std::u32string text;
  bool operator==(const TextRun&) const = default;
};

// How a picture's data is encoded.
enum class BlipKind : std::uint8_t {
  Unknown,
  Png,               // \pngblip
  Jpeg,              // \jpegblip
  DeviceIndependent, // \dibitmap: a bitmap without its file header
  DeviceDependent,   // \wbitmap: raw bits described by the \wbm words
  EnhancedMetafile,  // \emfblip
  Metafile,          // \wmetafile
};

// An embedded picture. `groupText` is the group exactly as it was read, from
// its opening brace to its closing one, and is what gets written back; the
// other fields are what a renderer needs to draw it.
struct Picture {
  std::string groupText;
  BlipKind kind = BlipKind::Unknown;
  int kindParameter = 0;  // \wmetafileN mapping mode, \dibitmapN, \wbitmapN
  int width = 0;          // \picw: pixels, or metafile units
  int height = 0;         // \pich
  int goalWidth = 0;      // \picwgoal: twips, 0 when absent
  int goalHeight = 0;     // \pichgoal
  int scaleX = 100;       // \picscalex: per cent
  int scaleY = 100;       // \picscaley
  int bitsPerPixel = 0;   // \wbmbitspixel
  int planes = 0;         // \wbmplanes
  int widthBytes = 0;     // \wbmwidthbytes
  std::vector<std::uint8_t> data;
  bool operator==(const Picture&) const = default;
};

using Inline = std::variant<TextRun, Picture>;

struct Paragraph {
  std::vector<Inline> content;
  // The format of the paragraph's end mark: what an empty line is drawn with.
  CharacterFormat markFormat;
  bool operator==(const Paragraph&) const = default;
};

struct Document {
  std::vector<Font> fonts;
  std::vector<Paragraph> paragraphs = std::vector<Paragraph>(1);
  bool operator==(const Document&) const = default;
};

}  // namespace zorv::richtext
