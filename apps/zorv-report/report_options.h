#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

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
  // --check: a diagnosis of the collection instead of a report.
  bool Check = false;
  // The words that are not options, in their order, and joined by blanks: the
  // viewer's command text.
  std::vector<std::string> Words;
  std::string CommandText;
};

// Parses the tool's own options, before or after the command text. Empty after
// a usage error's message on standard error, `program` beginning it.
std::optional<ReportOptions> ParseReportOptions(int argc, char** argv, const std::string& program);

void PrintReportHelp();

}  // namespace zorv
