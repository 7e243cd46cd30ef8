#pragma once
// The window as the picture that lies behind a transparent PNG: its size in
// twips, which the decoder may shrink to the picture, and what it shows.
#include "platform/picture_object.h"
#include "platform/screen_metrics.h"

class QWidget;

namespace zorv {

class WindowPicture final : public PictureObject {
 public:
  WindowPicture(QWidget& window, const ScreenMetrics& screen) : window_(window), screen_(screen) {}

  std::int32_t Width() const override;
  std::int32_t Height() const override;
  void SetWidth(std::int32_t twips) override;
  void SetHeight(std::int32_t twips) override;
  // Pixels of the window's own drawing; what lies outside it reads black.
  Image Capture(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                std::vector<std::uint32_t> storage) const override;

 private:
  QWidget& window_;
  ScreenMetrics screen_;
};

}  // namespace zorv
