#include "export_options.h"

#include <getopt.h>

#include <charconv>
#include <cstring>
#include <iostream>

namespace zorv {

std::optional<ExportOptions> ParseExportOptions(int argc, char** argv) {
  static const option kLong[] = {
      {"all", no_argument, nullptr, 'a'},
      {"output-dir", required_argument, nullptr, 'o'},
      {"format", required_argument, nullptr, 'f'},
      {"jobs", required_argument, nullptr, 'j'},
      {nullptr, 0, nullptr, 0},
  };
  ExportOptions options;
  optind = 1;
  for (int c; (c = getopt_long(argc, argv, "+ao:f:j:", kLong, nullptr)) != -1;) {
    switch (c) {
      case 'a':
        break;
      case 'o':
        options.OutputDir = optarg;
        break;
      case 'f':
        if (std::strcmp(optarg, "rtf") == 0) {
          options.Format = ReportFormat::Rtf;
        } else if (std::strcmp(optarg, "text") == 0) {
          options.Format = ReportFormat::Text;
        } else if (std::strcmp(optarg, "html") == 0) {
          options.Format = ReportFormat::Html;
        } else {
          std::cerr << "zorv-report: unknown format '" << optarg << "' (rtf, text or html)\n";
          return std::nullopt;
        }
        break;
      case 'j': {
        const char* end = optarg + std::strlen(optarg);
        const auto [at, error] = std::from_chars(optarg, end, options.Jobs);
        if (error != std::errc() || at != end || options.Jobs == 0 || options.Jobs > 1024) {
          std::cerr << "zorv-report: --jobs takes a number from 1 to 1024\n";
          return std::nullopt;
        }
        break;
      }
      default:
        std::cerr << "Try 'zorv-report --help'.\n";
        return std::nullopt;
    }
  }
  if (options.OutputDir.empty()) {
    std::cerr << "zorv-report: --all needs --output-dir DIR\n";
    return std::nullopt;
  }
  for (int i = optind; i < argc; ++i) {
    if (argv[i][0] != '/') {
      std::cerr << "zorv-report: with --all only switches may follow the options, not '" << argv[i] << "'\n";
      return std::nullopt;
    }
    options.Switches += ' ';
    options.Switches += argv[i];
  }
  return options;
}

}  // namespace zorv
