#pragma once
// A blocky 5 × 7 capital-letter font, drawn cell by cell as arcade title
// lettering is.
#include <string_view>

#include "canvas.h"

namespace zorv::pictures {

struct TextStyle {
  int scale = 1;          // each font cell becomes scale × scale pixels
  Rgba colour;
  Rgba shadow{0, 0, 0, 0};  // drawn a third of a cell down and right when not transparent
  Rgba outline{0, 0, 0, 0}; // a one-pixel rim around each cell when not transparent
};

// Width in pixels of a line of text: 6 cells per character less the last gap.
int TextWidth(std::string_view text, int scale);
inline int TextHeight(int scale) { return 7 * scale; }

// Draws a line of text with its top-left corner at (x, y). Lower-case letters
// are drawn as capitals; characters outside the font leave a gap.
void DrawText(Canvas& canvas, int x, int y, std::string_view text, const TextStyle& style);

// The same, centred across the canvas around the column `centreX`.
void DrawTextCentred(Canvas& canvas, int centreX, int y, std::string_view text, const TextStyle& style);

// The largest scale (at least 1) at which the text fits `width` pixels.
int FittingScale(std::string_view text, int width, int largest);

}  // namespace zorv::pictures
