#pragma once
#include <string>

#include "report_options.h"
#include "richtext/rich_text_box.h"
#include <memory>

#include "platform/picture_loader.h"

namespace zorv {

// The report as the tool writes it to standard output.
std::string FormatReport(const richtext::RichTextBox& report, ReportFormat format);

// The platform's loader for JPEG and GIF pictures.
std::unique_ptr<PictureLoader> MakePictureLoader();

}  // namespace zorv
