#include "report_options.h"

#include <getopt.h>

#include <charconv>
#include <cstring>
#include <iostream>
#include <string_view>

#include "program_front.h"

namespace zorv {

std::optional<ReportOptions> ParseReportOptions(int argc, char** argv, const std::string& program) {
  static const option kLong[] = {
      {"format", required_argument, nullptr, 'f'},
      {"help", no_argument, nullptr, 'h'},
      {"version", no_argument, nullptr, 'V'},
      {"all", no_argument, nullptr, 'a'},
      {"output-dir", required_argument, nullptr, 'o'},
      {"jobs", required_argument, nullptr, 'j'},
      {"check", no_argument, nullptr, 'c'},
      {nullptr, 0, nullptr, 0},
  };
  ReportOptions options;
  // "-": options may stand anywhere, and the other words come back one by one
  // in their order; they are the command text ("/noimage" never starts with
  // "-"). After "--" every word is the command text's.
  OptionParser parser(argc, argv, program, "-f:h", kLong);
  const auto refuse = [&parser](const std::string& what) {
    parser.Refuse(what);
    return std::nullopt;
  };
  for (int c; (c = parser.Next()) != -1;) {
    const char* value = parser.Value();
    switch (c) {
      case 1:
        options.Words.emplace_back(value);
        break;
      case 'f':
        if (std::strcmp(value, "rtf") == 0) {
          options.Format = ReportFormat::Rtf;
        } else if (std::strcmp(value, "text") == 0) {
          options.Format = ReportFormat::Text;
        } else if (std::strcmp(value, "html") == 0) {
          options.Format = ReportFormat::Html;
        } else {
          return refuse("unknown format '" + std::string(value) + "' (rtf, text or html)");
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
        options.OutputDir = value;
        break;
      case 'c':
        options.Check = true;
        break;
      case 'j': {
        const char* end = value + std::strlen(value);
        const auto [at, error] = std::from_chars(value, end, options.Jobs);
        if (error != std::errc() || at != end || options.Jobs == 0 || options.Jobs > 1024) {
          return refuse("--jobs takes a number from 1 to 1024");
        }
        break;
      }
      default:  // getopt has said what is wrong
        return refuse({});
    }
  }
  for (std::string& word : parser.Rest()) options.Words.push_back(std::move(word));
  options.CommandText = CommandTextOf(options.Words);
  if (options.Check && (options.All || !options.Words.empty())) {
    return refuse("--check looks at the whole collection: it takes no ROM name and no --all");
  }
  if (options.All && options.OutputDir.empty()) return refuse("--all needs --output-dir DIR");
  // Every game of an export gets the same switches; a ROM name has no place there.
  if (options.All && !options.CommandText.empty() && options.CommandText.front() != '/') {
    return refuse("with --all only switches may follow the options, not '" + options.CommandText + "'");
  }
  return options;
}

void PrintReportHelp() {
  std::cout <<
      "Usage: zorv-report [OPTION]... [ROMNAME [/SWITCH]...] [OPTION]...\n"
      "  or:  zorv-report --all --output-dir=DIR [OPTION]... [/SWITCH]...\n"
      "  or:  zorv-report --check\n"
      "Writes the sheet of one game to standard output, as the viewer would show it,\n"
      "without opening a window.\n"
      "\n"
      "The words that are not options are the viewer's command text: the ROM name\n"
      "(\"gng\" or \"gng.zip\", or the path of its ROM file as front ends give it:\n"
      "/roms/gng.zip) and any of /noimage /notitle /noflyer /nomarquee /nosnap\n"
      "/nocabinet /nocpanel /center /defaultrtf /ontop. Options may come before or\n"
      "after it; every word after \"--\" belongs to it. Without it the usage sheet is\n"
      "written. The configuration (Zorv.inf, quorbis.inf), the index and the data\n"
      "files are found in the collection folder, as the viewer finds them: the\n"
      "folder of this program as invoked (a symbolic link to it placed in a\n"
      "collection's folder serves that collection), or, for an installed program,\n"
      "the user's own ($ZORV_HOME, else $XDG_DATA_HOME/zorvane, else\n"
      "~/.local/share/zorvane).\n"
      "\n"
      "  -f, --format=FORMAT   rtf (default): the report as the viewer saves it;\n"
      "                        text: its plain text in UTF-8, one line per paragraph;\n"
      "                        html: one self-contained HTML page\n"
      "      --all             the report of every game of the index, one file each\n"
      "                        (below)\n"
      "      --output-dir=DIR  with --all: the folder the reports are written to\n"
      "      --jobs=N          with --all: how many games are written at once, 1 to\n"
      "                        1024 (default: one per processor)\n"
      "      --check           no report: one line each on the collection folder and\n"
      "                        why it is used, the index, the history and mameinfo\n"
      "                        files it points into, each picture folder or archive,\n"
      "                        the keys of Zorv.inf and quorbis.inf, files read line by\n"
      "                        line whose lines end with a lone LF, and whether the\n"
      "                        saved reports and the log can be written; exit status\n"
      "                        0 when nothing is wrong, 1 otherwise\n"
      "  -h, --help            show this help and exit\n"
      "      --version         show the version and exit\n"
      "\n"
      "When Zorv.inf names a SavePath, the report is also saved there as the viewer\n"
      "would. Failures are written to Zorv.Log.txt in the collection folder; a run\n"
      "that stops also says on standard error what its log line says and where the\n"
      "log is.\n"
      "\n"
      "Exit status: 0 with a report or the usage sheet, 1 when the run stopped (see\n"
      "Zorv.Log.txt), 2 for a wrong option.\n"
      "\n"
      "Example: zorv-report gng /nosnap --format text\n";
}

}  // namespace zorv
