#include "report_output.h"

#include "html_output.h"

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

}  // namespace zorv
