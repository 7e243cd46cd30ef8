#pragma once
#include <string>

#include "report_options.h"
#include "richtext/rich_text_box.h"
#include "window/picture_source.h"

namespace zorv {

// The report as the tool writes it to standard output.
std::string FormatReport(const richtext::RichTextBox& report, ReportFormat format);

// A report without pictures: each picture tag is removed.
class TextOnlyPictures final : public PictureSource {
 public:
  void LoadPictureFile(const std::string&) override {}
  std::string PictureToRtf() override { return {}; }
};

}  // namespace zorv
