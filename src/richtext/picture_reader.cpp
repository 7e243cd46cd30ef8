#include "richtext/picture_reader.h"

#include <array>

#include "richtext/control_words.h"

namespace zorv::richtext {
namespace {

constexpr std::array<signed char, 256> kHexValues = [] {
  std::array<signed char, 256> values{};
  values.fill(-1);
  for (int d = 0; d < 10; ++d) values['0' + d] = static_cast<signed char>(d);
  for (int d = 0; d < 6; ++d) {
    values['a' + d] = static_cast<signed char>(10 + d);
    values['A' + d] = static_cast<signed char>(10 + d);
  }
  return values;
}();

// Hex digits to bytes; anything that is not a hex digit (blanks, mostly) is
// passed over, and a digit left over waits for its partner in the next stretch.
class HexDecoder {
 public:
  explicit HexDecoder(std::vector<std::uint8_t>& out) : out_(out) {}

  void Decode(std::string_view digits) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(digits.data());
    const std::size_t size = digits.size();
    for (std::size_t i = 0; i < size;) {
      if (high_ < 0 && i + 1 < size) {  // the usual case: two digits side by side
        const int high = kHexValues[bytes[i]];
        const int low = kHexValues[bytes[i + 1]];
        if ((high | low) >= 0) {
          out_.push_back(static_cast<std::uint8_t>(high * 16 + low));
          i += 2;
          continue;
        }
      }
      const int value = kHexValues[bytes[i++]];
      if (value < 0) continue;
      if (high_ < 0) {
        high_ = value;
      } else {
        out_.push_back(static_cast<std::uint8_t>(high_ * 16 + value));
        high_ = -1;
      }
    }
  }

 private:
  std::vector<std::uint8_t>& out_;
  int high_ = -1;
};

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

// Room for the hex digits up to the next brace, so that a picture of several
// megabytes is not copied again and again as it grows.
void ReserveForDigits(std::vector<std::uint8_t>& data, std::string_view input, std::size_t from) {
  std::size_t end = input.find_first_of("{}", from);
  if (end == std::string_view::npos) end = input.size();
  data.reserve(data.size() + (end - from) / 2 + 1);
}

}  // namespace

Picture ReadPictureGroup(RtfLexer& lexer, std::size_t groupStart) {
  Picture picture;
  HexDecoder hex(picture.data);
  for (;;) {
    const std::size_t tokenStart = lexer.Position();
    const Token token = lexer.Next();
    switch (token.kind) {
      case TokenKind::End:
        picture.groupText = PictureGroupText(picture);
        return picture;
      case TokenKind::GroupEnd:
        picture.groupText = std::string(lexer.Input().substr(groupStart, lexer.Position() - groupStart));
        return picture;
      case TokenKind::GroupStart:
        if (!lexer.SkipGroup()) {
          picture.groupText = PictureGroupText(picture);
          return picture;
        }
        break;
      case TokenKind::Text:
        if (picture.data.capacity() - picture.data.size() < token.text.size() / 2) {
          ReserveForDigits(picture.data, lexer.Input(), tokenStart);
        }
        hex.Decode(token.text);
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
      default:
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

