#include "html_output.h"

#include <cstdio>
#include <span>
#include <variant>

#include "platform/cp1252.h"

namespace zorv {
namespace {

using namespace richtext;

std::string CssColour(Colour colour) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", RedOf(colour), GreenOf(colour), BlueOf(colour));
  return text;
}

std::string Escaped(std::u32string_view text) {
  std::string html;
  for (char32_t c : text) {
    switch (c) {
      case '<': html += "&lt;"; break;
      case '>': html += "&gt;"; break;
      case '&': html += "&amp;"; break;
      case '"': html += "&quot;"; break;
      case '\v': html += "<br>"; break;
      default: AppendUtf8(html, c);
    }
  }
  return html;
}

std::string Base64(std::span<const std::uint8_t> bytes) {
  static constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  std::size_t i = 0;
  for (; i + 2 < bytes.size(); i += 3) {
    const std::uint32_t v = (bytes[i] << 16) | (bytes[i + 1] << 8) | bytes[i + 2];
    out += kDigits[v >> 18];
    out += kDigits[(v >> 12) & 63];
    out += kDigits[(v >> 6) & 63];
    out += kDigits[v & 63];
  }
  if (i < bytes.size()) {
    const std::uint32_t v = (bytes[i] << 16) | (i + 1 < bytes.size() ? bytes[i + 1] << 8 : 0);
    out += kDigits[v >> 18];
    out += kDigits[(v >> 12) & 63];
    out += i + 1 < bytes.size() ? kDigits[(v >> 6) & 63] : '=';
    out += '=';
  }
  return out;
}

std::string SpanStyle(const Document& document, const CharacterFormat& format) {
  std::string style;
  if (format.font < document.fonts.size()) {
    std::string name = document.fonts[format.font].name;
    for (char& c : name) {
      if (c == '\'' || c == '"' || c == '<' || c == '>' || c == '&') c = ' ';
    }
    style += "font-family:'" + name + "';";
  }
  char size[32];
  std::snprintf(size, sizeof size, "font-size:%gpt;", format.halfPoints / 2.0);
  style += size;
  if (format.bold) style += "font-weight:bold;";
  if (format.italic) style += "font-style:italic;";
  if (format.underline) style += "text-decoration:underline;";
  if (format.colour) style += "color:" + CssColour(*format.colour) + ";";
  return style;
}

std::string PictureHtml(const Picture& picture) {
  const char* type = picture.kind == BlipKind::Png ? "image/png" : picture.kind == BlipKind::Jpeg ? "image/jpeg" : nullptr;
  if (type == nullptr || picture.data.empty()) return "<span>[picture]</span>";
  // Goal sizes are in twips; 15 twips make one pixel on a 96 dots-per-inch screen.
  const int width = picture.goalWidth > 0 ? picture.goalWidth * picture.scaleX / 100 / 15 : picture.width;
  const int height = picture.goalHeight > 0 ? picture.goalHeight * picture.scaleY / 100 / 15 : picture.height;
  return "<img alt=\"\" width=\"" + std::to_string(width) + "\" height=\"" + std::to_string(height) +
         "\" src=\"data:" + type + ";base64," + Base64(picture.data) + "\">";
}

}  // namespace

std::string ReportHtml(const RichTextBox& report) {
  const Document& document = report.Content();
  std::string html =
      "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Zorvane</title></head>\n"
      "<body style=\"margin:0;padding:7px;background:" +
      CssColour(report.BackColor()) + "\">\n<div style=\"white-space:pre-wrap\">";
  for (const Paragraph& paragraph : document.paragraphs) {
    html += "<div style=\"min-height:1em;" + SpanStyle(document, paragraph.markFormat) + "\">";
    for (const Inline& piece : paragraph.content) {
      if (const auto* run = std::get_if<TextRun>(&piece)) {
        html += "<span style=\"" + SpanStyle(document, run->format) + "\">" + Escaped(run->text) + "</span>";
      } else {
        html += PictureHtml(std::get<Picture>(piece));
      }
    }
    html += "</div>\n";
  }
  html += "</div></body></html>\n";
  return html;
}

}  // namespace zorv
