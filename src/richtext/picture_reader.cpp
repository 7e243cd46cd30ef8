#include "richtext/picture_reader.h"

#include <algorithm>
#include <array>

#include "richtext/control_words.h"
#include "richtext/hex_decoder.h"

namespace zorv::richtext {
namespace {

void ApplyPictureWord(Picture& picture, Word word, const Token& token) {
  const int value = token.parameter;
  switch (word) {
    case Word::PngBlip: picture.kind = BlipKind::Png; break;
    case Word::JpegBlip: picture.kind = BlipKind::Jpeg; break;
    case Word::DeviceIndependentBitmap: picture.kind = BlipKind::DeviceIndependent; break;
    case Word::DeviceDependentBitmap: picture.kind = BlipKind::DeviceDependent; break;
    case Word::EnhancedMetafileBlip: picture.kind = BlipKind::EnhancedMetafile; break;
    case Word::Metafile: picture.kind = BlipKind::Metafile; break;
    case Word::PictureWidth: picture.width = value; return;
    case Word::PictureHeight: picture.height = value; return;
    case Word::PictureGoalWidth: picture.goalWidth = value; return;
    case Word::PictureGoalHeight: picture.goalHeight = value; return;
    case Word::PictureScaleX: picture.scaleX = value; return;
    case Word::PictureScaleY: picture.scaleY = value; return;
    case Word::BitmapBitsPerPixel: picture.bitsPerPixel = value; return;
    case Word::BitmapPlanes: picture.planes = value; return;
    case Word::BitmapWidthBytes: picture.widthBytes = value; return;
    default: return;
  }
  picture.kindParameter = value;  // the kind words: zero without a number
}

}  // namespace

Picture ReadPictureGroup(RtfLexer& lexer, std::size_t groupStart) {
  const std::string_view input = lexer.Input();
  Picture picture;
  HexDecoder hex(picture.data);
  // Digits end at the group's closing brace at the latest; knowing where that
  // is lets the decoder size the data once.
  std::size_t closingBrace = 0;
  for (;;) {
    if (closingBrace <= lexer.Position()) closingBrace = std::min(input.find('}', lexer.Position()), input.size());
    lexer.Advance(hex.Decode(input.substr(lexer.Position(), closingBrace - lexer.Position())));
    const Token token = lexer.Next();
    switch (token.kind) {
      case TokenKind::End:
        picture.groupText = PictureGroupText(picture);
        return picture;
      case TokenKind::GroupEnd:
        picture.groupText = std::string(input.substr(groupStart, lexer.Position() - groupStart));
        return picture;
      case TokenKind::GroupStart:
        if (!lexer.SkipGroup()) {
          picture.groupText = PictureGroupText(picture);
          return picture;
        }
        break;
      case TokenKind::ControlWord: {
        const Word word = LookUpWord(token.text);
        if (word == Word::Binary) {
          const std::string_view bytes = lexer.TakeBytes(token.hasParameter ? token.parameter : 0);
          picture.data.insert(picture.data.end(), bytes.begin(), bytes.end());
        } else {
          ApplyPictureWord(picture, word, token);
        }
        break;
      }
      default:  // escapes and symbols carry nothing for a picture
        break;
    }
  }
}

std::string PictureGroupText(const Picture& picture) {
  std::string text = "{\\pict";
  auto word = [&text](std::string_view name, int value) {
    text += '\\';
    text += name;
    text += std::to_string(value);
  };
  static constexpr std::array<std::string_view, 7> kKindWords = {
      "", "pngblip", "jpegblip", "dibitmap", "wbitmap", "emfblip", "wmetafile"};
  const auto kind = static_cast<std::size_t>(picture.kind);
  if (kind > 0 && kind < kKindWords.size()) {
    text += '\\';
    text += kKindWords[kind];
    if (picture.kindParameter != 0) text += std::to_string(picture.kindParameter);
  }
  const std::array<std::pair<std::string_view, int>, 7> fields = {{
      {"picw", picture.width},
      {"pich", picture.height},
      {"picwgoal", picture.goalWidth},
      {"pichgoal", picture.goalHeight},
      {"wbmbitspixel", picture.bitsPerPixel},
      {"wbmplanes", picture.planes},
      {"wbmwidthbytes", picture.widthBytes},
  }};
  for (const auto& [name, value] : fields) {
    if (value != 0) word(name, value);
  }
  if (picture.scaleX != 100) word("picscalex", picture.scaleX);
  if (picture.scaleY != 100) word("picscaley", picture.scaleY);
  static constexpr char kDigits[] = "0123456789abcdef";
  text.reserve(text.size() + 2 * picture.data.size() + picture.data.size() / 64 * 2 + 4);
  for (std::size_t i = 0; i < picture.data.size(); ++i) {
    if (i % 64 == 0) text += "\r\n";
    text += kDigits[picture.data[i] >> 4];
    text += kDigits[picture.data[i] & 15];
  }
  text += '}';
  return text;
}

}  // namespace zorv::richtext

