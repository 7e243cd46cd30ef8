#include "startup/leading_number.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

#include "platform/run_time_error.h"

namespace zorv {
namespace {

bool IsSkipped(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int DigitValue(char c, int radix) {
  int v = -1;
  if (IsDigit(c)) v = c - '0';
  else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
  else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
  return v < radix ? v : -1;
}

// "&H" and "&O" numbers take the width of the smallest signed integer they fit
// in as unsigned, so "&HFFFF" is -1 and "&H10000" is 65536.
double RadixNumber(std::string_view digits, int radix) {
  std::uint64_t value = 0;
  for (char c : digits) {
    const int d = DigitValue(c, radix);
    if (d < 0) break;
    value = value * static_cast<std::uint64_t>(radix) + static_cast<std::uint64_t>(d);
    if (value > 0xFFFFFFFFull) throw RunTimeError(ErrorCode::Overflow);
  }
  if (value <= 0xFFFF) return static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

// The longest prefix of `s` that is a decimal number: sign, digits, ".", digits,
// exponent. Returns its length (0 when there is none).
std::size_t DecimalPrefix(std::string_view s) {
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
  }
  if (digits == 0) return 0;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
    std::size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    if (j < s.size() && IsDigit(s[j])) {
      while (j < s.size() && IsDigit(s[j])) ++j;
      i = j;
    }
  }
  return i;
}

// Where the first significant digit of a decimal number stands: 1 for "5",
// 0 for "0.5", -1 for "0.05", plus its exponent. Decides which way a number
// outside a double's range lies.
std::int64_t DecimalOrder(std::string_view number) {
  std::size_t i = number.find_first_not_of("+-");
  std::int64_t order = 0;
  bool significant = false;
  for (; i < number.size() && IsDigit(number[i]); ++i) {
    significant = significant || number[i] != '0';
    if (significant) ++order;
  }
  if (i < number.size() && number[i] == '.') ++i;
  for (; i < number.size() && IsDigit(number[i]); ++i) {
    if (!significant && number[i] == '0') --order;
    significant = significant || number[i] != '0';
  }
  if (i + 1 >= number.size()) return order;
  const bool negative = number[i + 1] == '-';
  std::int64_t exponent = 0;
  for (i += number[i + 1] == '+' || negative ? 2 : 1; i < number.size(); ++i) {
    exponent = std::min<std::int64_t>(exponent * 10 + (number[i] - '0'), 1'000'000'000);
  }
  return order + (negative ? -exponent : exponent);
}

// `number` is a whole decimal prefix: sign, digits, ".", digits, exponent with
// "e" or "d". Read with "." as the decimal separator whatever the process's
// locale says (the window's toolkit sets the user's).
double ParseDecimal(std::string_view number) {
  std::string text(number);
  for (char& c : text) {
    if (c == 'd' || c == 'D') c = 'e';
  }
  const char* first = text.data() + (text.front() == '+' ? 1 : 0);
  double value = 0;
  const auto [end, error] = std::from_chars(first, text.data() + text.size(), value);
  if (error == std::errc::result_out_of_range) {
    if (DecimalOrder(text) > 0) throw RunTimeError(ErrorCode::Overflow);
    return text.front() == '-' ? -0.0 : 0.0;  // too small: 0, as the platform reads it
  }
  if (error != std::errc{} || end != text.data() + text.size()) throw RunTimeError(ErrorCode::TypeMismatch);
  return value;
}

// A character some number can hold: digits of every radix, sign, point,
// exponent letters, the radix prefixes.
bool MayBeInNumber(char c) {
  return DigitValue(c, 16) >= 0 || c == '+' || c == '-' || c == '.' || c == '&' || c == 'H' || c == 'h' ||
         c == 'O' || c == 'o';
}

// The text without the characters a number may be interrupted by. Only the
// start matters: the copy stops at the first character no number holds (an
// index record's ";" after a field's number) and at a few thousand characters,
// longer than any number, however long the text is.
std::string WithoutSkipped(std::string_view text) {
  constexpr std::size_t kEnough = 4096;
  std::string kept;
  for (char c : text) {
    if (IsSkipped(c)) continue;
    kept += c;
    if (kept.size() == kEnough || !MayBeInNumber(c)) break;
  }
  return kept;
}

// A character after a decimal's digits that may make them part of a longer
// number: another digit, one the number may be interrupted by, a point or an
// exponent.
bool MayContinueDecimal(char c) {
  return IsDigit(c) || IsSkipped(c) || c == '.' || c == 'e' || c == 'E' || c == 'd' || c == 'D';
}

bool HasRadixPrefix(std::string_view s, int& radix) {
  if (s.size() < 2 || s[0] != '&') return false;
  if (s[1] == 'H' || s[1] == 'h') radix = 16;
  else if (s[1] == 'O' || s[1] == 'o') radix = 8;
  else return false;
  return true;
}

}  // namespace

double LeadingNumber(std::string_view text) {
  // Most numbers read are an index field's few digits before its ";": those
  // are their digits' value, with nothing to take apart.
  std::int32_t whole = 0;
  std::size_t digits = 0;
  for (; digits < text.size() && digits < 9 && IsDigit(text[digits]); ++digits) whole = whole * 10 + (text[digits] - '0');
  if (digits > 0 && (digits == text.size() || !MayContinueDecimal(text[digits]))) return whole;

  const std::string compact = WithoutSkipped(text);
  int radix = 10;
  if (HasRadixPrefix(compact, radix)) return RadixNumber(std::string_view(compact).substr(2), radix);
  const std::size_t length = DecimalPrefix(compact);
  return length == 0 ? 0.0 : ParseDecimal(std::string_view(compact).substr(0, length));
}

std::int32_t RoundToLong(double value) {
  const double rounded = std::nearbyint(value);  // the default mode rounds halves to even
  if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) throw RunTimeError(ErrorCode::Overflow);
  return static_cast<std::int32_t>(rounded);
}

std::int32_t ToLong(std::string_view text) {
  std::string_view s = text;
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  int radix = 10;
  if (HasRadixPrefix(s, radix)) {
    const std::string_view digits = s.substr(2);
    if (digits.empty()) throw RunTimeError(ErrorCode::TypeMismatch);
    for (char c : digits) {
      if (DigitValue(c, radix) < 0) throw RunTimeError(ErrorCode::TypeMismatch);
    }
    return RoundToLong(RadixNumber(digits, radix));
  }
  if (s.size() > 4096 || s.empty() || DecimalPrefix(s) != s.size()) throw RunTimeError(ErrorCode::TypeMismatch);
  return RoundToLong(ParseDecimal(s));
}

}  // namespace zorv
