#include "report_options.h"

#include <getopt.h>

#include <cstdio>
#include <cstring>
#include <iostream>

namespace zorv {

std::optional<ReportOptions> ParseReportOptions(int argc, char** argv) {
  static const option kLong[] = {
      {"format", required_argument, nullptr, 'f'},
      {"help", no_argument, nullptr, 'h'},
      {nullptr, 0, nullptr, 0},
  };
  ReportOptions options;
  optind = 1;
  // "+": options end at the first word of the command text, so "/noimage" and
  // the ROM name are never taken for options.
  for (int c; (c = getopt_long(argc, argv, "+f:h", kLong, nullptr)) != -1;) {
    switch (c) {
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
      default:
        std::cerr << "Try 'zorv-report --help'.\n";
        return std::nullopt;
    }
  }
  for (int i = optind; i < argc; ++i) {
    if (i > optind) options.CommandText += ' ';
    options.CommandText += argv[i];
  }
  return options;
}

void PrintReportHelp() {
  std::cout <<
      "Usage: zorv-report [OPTION]... [ROMNAME [/SWITCH]...]\n"
      "Writes the sheet of one game to standard output, as the viewer would show it,\n"
      "without opening a window.\n"
      "\n"
      "The words after the options are the viewer's command text: the ROM name (\"gng\"\n"
      "or \"gng.zip\") and any of /noimage /notitle /noflyer /nomarquee /nosnap\n"
      "/nocabinet /nocpanel /center /defaultrtf /ontop. Without them the usage sheet is\n"
      "written. The configuration (Zorv.inf, quorbis.inf), the index and the data files\n"
      "are found in the program folder: the folder of this program as invoked, so a\n"
      "symbolic link to it placed in a collection's folder serves that collection.\n"
      "\n"
      "  -f, --format=FORMAT  rtf (default): the report as the viewer saves it;\n"
      "                       text: its plain text in UTF-8, one line per paragraph;\n"
      "                       html: one self-contained HTML page\n"
      "  -h, --help           show this help and exit\n"
      "\n"
      "When Zorv.inf names a SavePath, the report is also saved there as the viewer\n"
      "would. Failures are written to Zorv.Log.txt in the program folder.\n"
      "\n"
      "Exit status: 0 with a report or the usage sheet, 1 when the run stopped (see\n"
      "Zorv.Log.txt), 2 for a wrong option.\n";
}

}  // namespace zorv
