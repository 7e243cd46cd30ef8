#pragma once
// The report's pictures: each file is loaded into the scratch picture box
// (PNG files through the window's one decoder, other formats through the
// platform's picture loader) and the box's picture becomes a picture group.
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "bitmap/cbitmap.h"
#include "platform/message_box.h"
#include "platform/picture_box.h"
#include "platform/picture_loader.h"
#include "platform/picture_object.h"
#include "platform/screen_metrics.h"
#include "png/load_png.h"
#include "startup/shared_state.h"
#include "window/picture_source.h"

namespace zorv {

class ReportPictures final : public PictureSource {
 public:
  // `window` lies behind transparent PNG pixels; it must outlive this object.
  // While a picture is read out of an archive, `letEventsRun` lets the
  // window's events run; when it returns false (the window is closing) the
  // read is given up and the box left as it is.
  ReportPictures(SharedState& state, const ScreenMetrics& screen, PictureLoader& loader, PictureObject& window,
                 MessageBox& messages = StandardErrorMessageBox(), std::function<bool()> letEventsRun = {});

  void LoadPictureFile(const std::string& path) override;
  std::string PictureToRtf() override;

  // The scratch box `Picture1`: what the next picture group is made of.
  const PictureBox& Picture1() const { return picture1_; }

 private:
  // The window the box sits in: only its scale mode matters.
  class Container final : public PictureContainer {
   public:
    int ScaleMode() const override { return mode_; }
    void SetScaleMode(int mode) override { mode_ = mode; }

   private:
    int mode_ = kScaleTwips;
  };

  // The window's one decoder, told where and how to draw.
  png::LoadPNG& PreparedDecoder();
  void LoadPng(const std::string& path);
  void LoadPngBytes(std::span<const char> file);
  void LoadOtherPicture(Image picture);

  SharedState& state_;
  ScreenMetrics screen_;
  PictureLoader& loader_;
  PictureObject& window_;
  MessageBox& messages_;
  std::function<bool()> letEventsRun_;
  bitmap::CBitmap bitmaps_;
  Container container_;
  PictureBox picture1_;
  // Made on the first PNG file and kept for the window's life.
  std::unique_ptr<png::LoadPNG> loadPng_;
};

}  // namespace zorv
