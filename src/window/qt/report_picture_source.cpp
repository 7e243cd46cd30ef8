#include "window/qt/report_picture_source.h"

#include <QCoreApplication>
#include <QPointer>

#include "window/qt/report_window.h"
#include "window/report_pictures.h"

namespace zorv {

std::unique_ptr<PictureSource> MakeReportPictures(ReportWindow& window) {
  // A picture deep in a solid archive takes a while to reach: the window
  // answers its keys meanwhile, and closing it gives the picture up.
  const QPointer<ReportWindow> self(&window);
  auto letEventsRun = [self] {
    QCoreApplication::processEvents();
    return !self.isNull() && !self->IsClosing();
  };
  return std::make_unique<ReportPictures>(window.State(), window.Screen(), window.Loader(), window.Background(),
                                          window.Messages(), letEventsRun);
}

}  // namespace zorv
