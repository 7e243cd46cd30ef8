#pragma once
// Case for names, keys, switches and extensions: ASCII letters only, whatever the locale, so that
// a name compares the same on every machine and under every language the window is started in.
#include <algorithm>
#include <string>
#include <string_view>

namespace zorv {

constexpr char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
constexpr bool IsAsciiLetter(char c) { return AsciiLower(c) >= 'a' && AsciiLower(c) <= 'z'; }
constexpr char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

inline std::string LowerCase(std::string_view text) {
  std::string out(text);
  std::ranges::transform(out, out.begin(), AsciiLower);
  return out;
}

inline std::string UpperCase(std::string_view text) {
  std::string out(text);
  std::ranges::transform(out, out.begin(), AsciiUpper);
  return out;
}

constexpr bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

}  // namespace zorv
