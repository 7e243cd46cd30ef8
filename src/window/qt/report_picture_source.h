#pragma once
// The picture source the window uses for the report's pictures.
#include <memory>

#include "window/picture_source.h"

namespace zorv {

class ReportWindow;

// The pictures of the window's report, made once when the window is created:
// PNG files through our own decoder over the window, JPEG and GIF through Qt.
std::unique_ptr<PictureSource> MakeReportPictures(ReportWindow& window);

}  // namespace zorv
