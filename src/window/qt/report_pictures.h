#pragma once
// The picture source the window uses for the report's pictures.
#include <memory>

#include "window/picture_source.h"

namespace zorv {

class ReportWindow;

// A report without pictures: each picture tag is removed.
class TagRemovingPictures final : public PictureSource {
 public:
  void LoadPictureFile(const std::string&) override {}
  std::string PictureToRtf() override { return {}; }
};

// The pictures of the window's report, made once when the window is created.
std::unique_ptr<PictureSource> MakeReportPictures(ReportWindow& window);

}  // namespace zorv
