#include "report_output.h"

#include "html_output.h"
#include "platform/run_time_error.h"
#ifdef ZORV_WITH_QT_PICTURES
#include "platform/qt/qt_picture_loader.h"
#endif

namespace zorv {

std::string FormatReport(const richtext::RichTextBox& report, ReportFormat format) {
  switch (format) {
    case ReportFormat::Text: {
      std::string text = report.Text();
      if (!text.empty() && text.back() != '\n') text += '\n';
      return text;
    }
    case ReportFormat::Html:
      return ReportHtml(report);
    case ReportFormat::Rtf:
      break;
  }
  return report.TextRTF();
}

#ifdef ZORV_WITH_QT_PICTURES
std::unique_ptr<PictureLoader> MakePictureLoader() { return std::make_unique<QtPictureLoader>(); }
#else
namespace {

// A build without Qt decodes only the PNG pictures, with our own decoder.
class PngOnlyLoader final : public PictureLoader {
 public:
  Image Load(const std::string&) override { throw RunTimeError(ErrorCode::InvalidPicture); }
};

}  // namespace

std::unique_ptr<PictureLoader> MakePictureLoader() { return std::make_unique<PngOnlyLoader>(); }
#endif

}  // namespace zorv
