#pragma once
// A game's sheet as an HTML page: the same paragraphs, lines, fonts, sizes and
// colours as the window, on its background, the text as wide as the window's
// report control at most; pictures at the sheet's sizes, linked, never embedded
// in the page.
#include <set>
#include <string>

#include "headless_sheet.h"
#include "sheet_style.h"
#include "window/picture_file.h"

namespace zorv {

// Where a page's style and pictures come from: one shared stylesheet and the
// export's pictures folder, or, for a page of its own, the page itself.
class PageAssets {
 public:
  virtual ~PageAssets() = default;
  virtual StyleSheet& Styles() = 0;
  // The head's style, for a page that uses these classes.
  virtual std::string StyleHead(const std::set<std::string>& classes) = 0;
  // A picture file's address as a page links it; empty when it cannot be had.
  virtual std::string FileAddress(const ShownFile& file) = 0;
  // The same for a picture of the report itself (the template's, the empty box's).
  virtual std::string DataAddress(const PictureFile& file) = 0;
  // The links above the sheet; empty for a page of its own.
  virtual std::string Navigation(const SharedState& state) = 0;
};

std::string SheetPage(const HeadlessSheet& sheet, PageAssets& assets, FontMetrics& metrics);

}  // namespace zorv
