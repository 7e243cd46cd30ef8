#include "html_text.h"

#include "platform/cp1252.h"

namespace zorv {

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
  if (c < 0x20) {
    AppendUtf8(html, U'\u2400' + c);
  } else if (c == 0x7F) {
    AppendUtf8(html, U'\u2421');
  } else if (c >= 0x80 && c < 0xA0) {
    AppendUtf8(html, U'\uFFFD');
  } else {
    AppendUtf8(html, c);
  }
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
