#pragma once
// The sheet's looks as CSS. A look (font, size, line height, weight, slant,
// colour) is one class named after what it declares, so that every page of an
// export names a look the same way and one stylesheet serves them all; a page of
// its own carries the rules it uses.
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <string_view>

#include "platform/colour.h"
#include "richtext/document.h"

namespace zorv {

// A font as the window draws it: its size in whole pixels (the window rounds a
// size in points to them) and the height of a line of it, 0 when unknown.
struct FontSize {
  int pixels = 0;
  int lineHeight = 0;
};

class FontMetrics {
 public:
  virtual ~FontMetrics() = default;
  virtual FontSize Of(const richtext::Font& font, int halfPoints, bool bold, bool italic) = 0;
};

// Without the window's own fonts at hand: a point is 4/3 of a pixel at 96 dots
// per inch, and lines are as high as the browser makes them.
class PlainFontMetrics final : public FontMetrics {
 public:
  FontSize Of(const richtext::Font& font, int halfPoints, bool bold, bool italic) override;
};

// The CSS of one look: "font:..;color:..".
std::string LookDeclarations(const richtext::Font& font, int halfPoints, bool bold, bool italic, Colour colour,
                             FontMetrics& metrics);

// "#rrggbb".
std::string CssColour(Colour colour);

// The rules of the classes pages use; safe to share between threads.
class StyleSheet {
 public:
  // The class of these declarations; its rule joins the sheet.
  std::string ClassFor(const std::string& declarations);
  // The rules every page needs, then those of the classes asked for so far.
  std::string Text() const;
  // The same for a page of its own: only the rules of these classes.
  std::string TextOf(const std::set<std::string>& classes) const;

 private:
  mutable std::mutex mutex_;
  std::map<std::string, std::string> rules_;  // class -> declarations
};

}  // namespace zorv
