#pragma once
#include <filesystem>
#include <optional>
#include <string>

namespace zorv {

enum class ReportFormat { Rtf, Text, Html };

struct ReportOptions {
  ReportFormat Format = ReportFormat::Rtf;
  bool Help = false;
  bool Version = false;
  // --all: every game of the index into OutputDir, on Jobs threads (0: one per processor).
  bool All = false;
  std::filesystem::path OutputDir;
  unsigned Jobs = 0;
  // The words that are not options, joined with blanks: the viewer's command text.
  std::string CommandText;
};

// Parses the tool's own options, before or after the command text. Empty after
// printing a message on standard error.
std::optional<ReportOptions> ParseReportOptions(int argc, char** argv);

void PrintReportHelp();

}  // namespace zorv
