#include "report_options.h"

#include <getopt.h>

#include <charconv>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string_view>
#include <vector>

namespace zorv {

std::optional<ReportOptions> ParseReportOptions(int argc, char** argv) {
  static const option kLong[] = {
      {"format", required_argument, nullptr, 'f'},
      {"help", no_argument, nullptr, 'h'},
      {"version", no_argument, nullptr, 'V'},
      {"all", no_argument, nullptr, 'a'},
      {"output-dir", required_argument, nullptr, 'o'},
      {"jobs", required_argument, nullptr, 'j'},
      {nullptr, 0, nullptr, 0},
  };
  ReportOptions options;
  std::vector<std::string_view> words;
  optind = 1;
  // "-": options may stand anywhere, and the other words come back one by one
  // in their order; they are the command text ("/noimage" never starts with
  // "-"). After "--" every word is the command text's.
  for (int c; (c = getopt_long(argc, argv, "-f:h", kLong, nullptr)) != -1;) {
    switch (c) {
      case 1:
        words.emplace_back(optarg);
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
      case 'h':
        options.Help = true;
        break;
      case 'V':
        options.Version = true;
        break;
      case 'a':
        options.All = true;
        break;
      case 'o':
        options.OutputDir = optarg;
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
  words.insert(words.end(), argv + optind, argv + argc);
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (i > 0) options.CommandText += ' ';
    options.CommandText += words[i];
  }
  return options;
}

void PrintReportHelp() {
  std::cout <<
      "Usage: zorv-report [OPTION]... [ROMNAME [/SWITCH]...] [OPTION]...\n"
      "Writes the sheet of one game to standard output, as the viewer would show it,\n"
      "without opening a window.\n"
      "\n"
      "The words that are not options are the viewer's command text: the ROM name\n"
      "(\"gng\" or \"gng.zip\") and any of /noimage /notitle /noflyer /nomarquee\n"
      "/nosnap /nocabinet /nocpanel /center /defaultrtf /ontop. Options may come before\n"
      "or after it; every word after \"--\" belongs to it. Without it the usage sheet is\n"
      "written. The configuration (Zorv.inf, quorbis.inf), the index and the data files\n"
      "are found in the program folder: the folder of this program as invoked, so a\n"
      "symbolic link to it placed in a collection's folder serves that collection.\n"
      "\n"
      "  -f, --format=FORMAT  rtf (default): the report as the viewer saves it;\n"
      "                       text: its plain text in UTF-8, one line per paragraph;\n"
      "                       html: one self-contained HTML page\n"
      "  -h, --help           show this help and exit\n"
      "      --version        show the version and exit\n"
      "\n"
      "When Zorv.inf names a SavePath, the report is also saved there as the viewer\n"
      "would. Failures are written to Zorv.Log.txt in the program folder; a run that\n"
      "stops also says on standard error what its log line says and where the log is.\n"
      "\n"
      "Exit status: 0 with a report or the usage sheet, 1 when the run stopped (see\n"
      "Zorv.Log.txt), 2 for a wrong option.\n"
      "\n"
      "Example: zorv-report gng /nosnap --format text\n";
}

}  // namespace zorv
