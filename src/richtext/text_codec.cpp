#include "richtext/text_codec.h"

#include "platform/cp1252.h"

namespace zorv::richtext {
namespace {

// The length of the well-formed UTF-8 sequence at `i` (overlong forms and
// surrogates excluded), or 0.
std::size_t Utf8SequenceAt(std::string_view text, std::size_t i, char32_t& codePoint) {
  const auto lead = static_cast<unsigned char>(text[i]);
  std::size_t extra = 0;
  if (lead < 0x80) {
    codePoint = lead;
    return 1;
  }
  if ((lead & 0xE0) == 0xC0) {
    extra = 1;
    codePoint = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2;
    codePoint = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3;
    codePoint = lead & 0x07;
  } else {
    return 0;
  }
  if (text.size() - i <= extra) return 0;
  for (std::size_t k = 1; k <= extra; ++k) {
    const auto next = static_cast<unsigned char>(text[i + k]);
    if ((next & 0xC0) != 0x80) return 0;
    codePoint = (codePoint << 6) | (next & 0x3F);
  }
  static constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
  if (codePoint < kSmallest[extra] || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) return 0;
  return extra + 1;
}

}  // namespace

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
    const std::size_t length = Utf8SequenceAt(text, i, codePoint);
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
