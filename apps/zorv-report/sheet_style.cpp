#include "sheet_style.h"

#include <cmath>
#include <cstdio>

#include "html_text.h"

namespace zorv {
namespace {

// Rules every page needs. The sheet's paragraphs keep their blanks and break
// lines at words, or anywhere in a word longer than the line, as the window
// does; an empty paragraph still takes a line; a paragraph of pictures only is
// as high as its pictures; tabs stop every 80 pixels.
constexpr std::string_view kBaseRules =
    "body{margin:0}"
    "nav{font:14px/1.6 sans-serif;padding:4px 8px;opacity:.85}"
    "nav a{color:inherit}"
    ".sheet{box-sizing:content-box}"
    ".sheet p{margin:0;white-space:pre-wrap;overflow-wrap:anywhere;tab-size:80px}"
    ".sheet p:empty::after{content:\"\\200b\"}"
    ".sheet p.pictures{line-height:0}"
    ".sheet img{vertical-align:baseline}"
    ".sheet .absent{display:inline-block}"
    "\n";

const char* GenericFamily(richtext::FontFamily family) {
  switch (family) {
    case richtext::FontFamily::Roman: return "serif";
    case richtext::FontFamily::Modern: return "monospace";
    case richtext::FontFamily::Script: return "cursive";
    case richtext::FontFamily::Decor: return "fantasy";
    default: return "sans-serif";
  }
}

// A font name as a CSS string: quotes, backslashes, "<" and controls escaped,
// so that no name can end the string, the rule or a style element.
std::string CssString(std::string_view utf8) {
  std::string css = "'";
  for (const char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\'' || c == '\\' || c == '<' || byte < 0x20 || byte == 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\%x ", byte);
      css += escaped;
    } else {
      css += c;
    }
  }
  return css + "'";
}

}  // namespace

FontSize PlainFontMetrics::Of(const richtext::Font&, int halfPoints, bool, bool) {
  return {static_cast<int>(std::lround(halfPoints * 2 / 3.0)), 0};
}

std::string LookDeclarations(const richtext::Font& font, int halfPoints, bool bold, bool italic, Colour colour,
                             FontMetrics& metrics) {
  const FontSize size = metrics.Of(font, halfPoints, bold, italic);
  std::string css = "font:";
  if (italic) css += "italic ";
  css += bold ? "bold " : "normal ";
  css += std::to_string(size.pixels) + "px/" + (size.lineHeight > 0 ? std::to_string(size.lineHeight) + "px " : "normal ");
  if (!font.name.empty()) css += CssString(font.name) + ",";
  css += GenericFamily(font.family);
  return css + ";color:" + CssColour(colour);
}

std::string CssColour(Colour colour) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", RedOf(colour), GreenOf(colour), BlueOf(colour));
  return text;
}

std::string StyleSheet::ClassFor(const std::string& declarations) {
  char name[16];
  std::snprintf(name, sizeof name, "z%08x", static_cast<unsigned>(ContentHash(declarations) & 0xFFFFFFFF));
  std::lock_guard lock(mutex_);
  // Two looks whose names collide: the later one gets a name of its own.
  std::string unique = name;
  for (int n = 2;; ++n) {
    const auto [at, added] = rules_.emplace(unique, declarations);
    if (added || at->second == declarations) return unique;
    unique = std::string(name) + "-" + std::to_string(n);
  }
}

std::string StyleSheet::Text() const {
  std::string css(kBaseRules);
  std::lock_guard lock(mutex_);
  for (const auto& [name, declarations] : rules_) css += "." + name + "{" + declarations + "}\n";
  return css;
}

std::string StyleSheet::TextOf(const std::set<std::string>& classes) const {
  std::string css(kBaseRules);
  std::lock_guard lock(mutex_);
  for (const std::string& name : classes) {
    if (const auto found = rules_.find(name); found != rules_.end()) css += "." + name + "{" + found->second + "}\n";
  }
  return css;
}

}  // namespace zorv
