#include "richtext/text_codec.h"

#include "platform/cp1252.h"

namespace zorv::richtext {

std::u32string Cp1252ToCodePoints(std::string_view bytes) {
  std::u32string out(bytes.size(), U'\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) out[i] = Cp1252ToCodePoint(static_cast<unsigned char>(bytes[i]));
  return out;
}

std::u32string Utf8ToCodePoints(std::string_view text) {
  std::u32string out;
  out.reserve(text.size());
  char32_t codePoint = 0;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = DecodeUtf8(text, i, codePoint);
    if (length == 0) {
      out.push_back(Cp1252ToCodePoint(static_cast<unsigned char>(text[i])));
      ++i;
    } else {
      out.push_back(codePoint);
      i += length;
    }
  }
  return out;
}

}  // namespace zorv::richtext
