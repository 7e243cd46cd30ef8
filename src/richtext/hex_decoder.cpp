#include "richtext/hex_decoder.h"

#include <array>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zorv::richtext {
namespace {

constexpr signed char kSkip = -1;  // blanks and anything else that is no digit
constexpr signed char kStop = -2;  // a backslash or a brace: the lexer reads on

constexpr std::array<signed char, 256> kHexValues = [] {
  std::array<signed char, 256> values{};
  values.fill(kSkip);
  for (int d = 0; d < 10; ++d) values['0' + d] = static_cast<signed char>(d);
  for (int d = 0; d < 6; ++d) {
    values['a' + d] = static_cast<signed char>(10 + d);
    values['A' + d] = static_cast<signed char>(10 + d);
  }
  values['\\'] = values['{'] = values['}'] = kStop;
  return values;
}();

// Decodes whole blocks of sixteen digits; stops before the first block that
// holds anything else. Returns the input bytes read (a multiple of 16).
std::size_t DecodeBlocks(const unsigned char* in, std::size_t size, std::uint8_t* out) {
  std::size_t i = 0;
#if defined(__SSE2__)
  const __m128i zero = _mm_set1_epi8('0');
  const __m128i a = _mm_set1_epi8('a');
  const __m128i lowerCase = _mm_set1_epi8(0x20);
  const __m128i minusOne = _mm_set1_epi8(-1);
  const __m128i ten = _mm_set1_epi8(10);
  const __m128i six = _mm_set1_epi8(6);
  const __m128i lowByte = _mm_set1_epi16(0x00FF);
  for (; i + 16 <= size; i += 16) {
    const __m128i text = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
    const __m128i digit = _mm_sub_epi8(text, zero);
    const __m128i isDigit = _mm_and_si128(_mm_cmpgt_epi8(digit, minusOne), _mm_cmplt_epi8(digit, ten));
    const __m128i letter = _mm_sub_epi8(_mm_or_si128(text, lowerCase), a);
    const __m128i isLetter = _mm_and_si128(_mm_cmpgt_epi8(letter, minusOne), _mm_cmplt_epi8(letter, six));
    if (_mm_movemask_epi8(_mm_or_si128(isDigit, isLetter)) != 0xFFFF) break;
    const __m128i values = _mm_or_si128(_mm_and_si128(isDigit, digit), _mm_and_si128(isLetter, _mm_add_epi8(letter, ten)));
    // Each 16-bit lane holds a high digit and, above it, a low digit.
    const __m128i pairs = _mm_or_si128(_mm_slli_epi16(_mm_and_si128(values, lowByte), 4), _mm_srli_epi16(values, 8));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + i / 2), _mm_packus_epi16(pairs, pairs));
  }
#else
  (void)in;
  (void)size;
  (void)out;
#endif
  return i;
}

}  // namespace

std::size_t HexDecoder::Decode(std::string_view text) {
  const auto* in = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t size = text.size();
  if (size == 0 || kHexValues[in[0]] == kStop) return 0;  // a control word follows at once
  std::size_t filled = out_.size();
  out_.resize(filled + size / 2 + 1);
  std::uint8_t* out = out_.data();
  std::size_t i = 0;
  while (i < size) {
    if (high_ < 0) {
      const std::size_t read = DecodeBlocks(in + i, size - i, out + filled);
      i += read;
      filled += read / 2;
      if (i + 1 < size) {  // two digits side by side
        const int high = kHexValues[in[i]];
        const int low = kHexValues[in[i + 1]];
        if ((high | low) >= 0) {
          out[filled++] = static_cast<std::uint8_t>(high * 16 + low);
          i += 2;
          continue;
        }
      }
      if (i >= size) break;
    }
    const int value = kHexValues[in[i]];
    if (value == kStop) break;
    ++i;
    if (value == kSkip) continue;
    if (high_ < 0) {
      high_ = value;
    } else {
      out[filled++] = static_cast<std::uint8_t>(high_ * 16 + value);
      high_ = -1;
    }
  }
  out_.resize(filled);
  return i;
}

}  // namespace zorv::richtext
