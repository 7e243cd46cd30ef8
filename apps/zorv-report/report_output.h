#pragma once
// What zorv-report writes of a sheet, and the platform pieces it takes.
#include <memory>
#include <string>

#include "headless_sheet.h"
#include "platform/picture_loader.h"
#include "report_options.h"
#include "sheet_page.h"
#include "sheet_style.h"

namespace zorv {

// RTF as the window saves it, the text, or a page with these assets.
std::string SheetOutput(const HeadlessSheet& sheet, ReportFormat format, PageAssets& assets, FontMetrics& metrics);

// Whether the format links its pictures rather than carrying their pixels.
inline bool LinksPictures(ReportFormat format) { return format != ReportFormat::Rtf; }

// The platform's loader for JPEG and GIF pictures.
std::unique_ptr<PictureLoader> MakePictureLoader();

// The window's font sizes where the build has Qt, else plain ones. Call once,
// from main, before anything else uses Qt.
std::unique_ptr<FontMetrics> MakeFontMetrics(int& argc, char** argv);

}  // namespace zorv
