#include "report_output.h"

#include "platform/run_time_error.h"
#include "sheet_text.h"
#ifdef ZORV_WITH_QT_PICTURES
#include "platform/qt/qt_picture_loader.h"
#include "qt_font_metrics.h"
#endif

namespace zorv {

std::string SheetOutput(const HeadlessSheet& sheet, ReportFormat format, PageAssets& assets, FontMetrics& metrics) {
  switch (format) {
    case ReportFormat::Text:
      return SheetText(sheet);
    case ReportFormat::Html:
      return SheetPage(sheet, assets, metrics);
    case ReportFormat::Rtf:
      break;
  }
  return sheet.Report().TextRTF();
}

#ifdef ZORV_WITH_QT_PICTURES
std::unique_ptr<PictureLoader> MakePictureLoader() { return std::make_unique<QtPictureLoader>(); }

std::unique_ptr<FontMetrics> MakeFontMetrics(int& argc, char** argv) {
  return std::make_unique<QtFontMetrics>(argc, argv);
}
#else
namespace {

// A build without Qt decodes only the PNG pictures, with our own decoder.
class PngOnlyLoader final : public PictureLoader {
 public:
  Image Load(const std::string&) override { throw RunTimeError(ErrorCode::InvalidPicture); }
};

}  // namespace

std::unique_ptr<PictureLoader> MakePictureLoader() { return std::make_unique<PngOnlyLoader>(); }

std::unique_ptr<FontMetrics> MakeFontMetrics(int&, char**) { return std::make_unique<PlainFontMetrics>(); }
#endif

}  // namespace zorv
