#include "html_text.h"

#include "platform/cp1252.h"

namespace zorv {

char32_t VisibleCharacter(char32_t c) {
  if (c < 0x20) return U'\u2400' + c;
  if (c == 0x7F) return U'\u2421';
  if (c >= 0x80 && c < 0xA0) return U'\uFFFD';
  return c;
}

void AppendHtmlText(std::string& html, char32_t c) {
  switch (c) {
    case '<': html += "&lt;"; return;
    case '>': html += "&gt;"; return;
    case '&': html += "&amp;"; return;
    case '"': html += "&quot;"; return;
    case '\'': html += "&#39;"; return;
    case '\t': html += '\t'; return;
    default: break;
  }
  AppendUtf8(html, VisibleCharacter(c));
}

std::string HtmlText(std::u32string_view text) {
  std::string html;
  html.reserve(text.size());
  for (const char32_t c : text) AppendHtmlText(html, c);
  return html;
}

std::string HtmlTextOfCp1252(std::string_view text) {
  std::string html;
  html.reserve(text.size());
  for (const char byte : text) AppendHtmlText(html, Cp1252ToCodePoint(static_cast<unsigned char>(byte)));
  return html;
}

std::uint64_t ContentHash(std::string_view bytes) {
  std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
  for (const char c : bytes) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  return hash;
}

std::string AddressSegment(std::string_view fileName) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string segment;
  for (const char c : fileName) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') || (byte >= '0' && byte <= '9') ||
        std::string_view("-_.~").find(c) != std::string_view::npos) {
      segment += c;
    } else {
      segment += '%';
      segment += kHex[byte >> 4];
      segment += kHex[byte & 15];
    }
  }
  return segment;
}

}  // namespace zorv
