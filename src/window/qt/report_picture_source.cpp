#include "window/qt/report_picture_source.h"

#include "window/qt/report_window.h"
#include "window/report_pictures.h"

namespace zorv {

std::unique_ptr<PictureSource> MakeReportPictures(ReportWindow& window) {
  return std::make_unique<ReportPictures>(window.State(), window.Screen(), window.Loader(), window.Background(),
                                          window.Messages());
}

}  // namespace zorv
