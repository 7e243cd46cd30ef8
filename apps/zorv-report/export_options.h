#pragma once
#include <filesystem>
#include <optional>
#include <string>

#include "report_options.h"

namespace zorv {

struct ExportOptions {
  ReportFormat Format = ReportFormat::Rtf;
  std::filesystem::path OutputDir;
  unsigned Jobs = 0;  // 0: one per processor
  // The switches after the options, joined with blanks, put after each ROM name.
  std::string Switches;
};

// Parses "--all --output-dir DIR [--format F] [--jobs N] [/SWITCH]...". Empty
// after printing a message on standard error.
std::optional<ExportOptions> ParseExportOptions(int argc, char** argv);

}  // namespace zorv
