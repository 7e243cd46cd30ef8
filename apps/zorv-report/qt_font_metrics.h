#pragma once
// The window's own sizes for the sheet's fonts: a line of each look is laid out
// by the window's renderer on Qt's off-screen platform (96 dots per inch), so a
// page's lines are as high as the window's and its sizes the window's whole
// pixels. Only in a build with Qt.
#include <map>
#include <memory>
#include <mutex>
#include <tuple>

#include "sheet_style.h"

class QGuiApplication;

namespace zorv {

class QtFontMetrics final : public FontMetrics {
 public:
  // Makes the application Qt's fonts need, on the off-screen platform.
  QtFontMetrics(int& argc, char** argv);
  ~QtFontMetrics() override;

  FontSize Of(const richtext::Font& font, int halfPoints, bool bold, bool italic) override;

 private:
  std::unique_ptr<QGuiApplication> application_;
  std::mutex mutex_;
  std::map<std::tuple<std::string, richtext::FontFamily, int, bool, bool>, FontSize> known_;
};

}  // namespace zorv
