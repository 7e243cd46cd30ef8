// zorv: the viewer. Start-up runs on the command text; when it stops silently
// (the failure is in the log) the program ends with status 1 and no window.
// Otherwise the one window shows the game's sheet, or the usage sheet, until
// Esc or "&" closes it.
#include <QApplication>
#include <chrono>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#include "browse.h"
#include "platform/local_time_zone.h"
#include "platform/program_folder.h"
#include "platform/qt/qt_screen_metrics.h"
#include "platform/regional_settings.h"
#include "program_version.h"
#include "startup/startup.h"
#include "startup_timing.h"
#include "window/qt/report_window.h"

namespace {

constexpr std::string_view kHelp =
    "Usage: zorv [ROMNAME [/SWITCH]...]\n"
    "  or:  zorv --browse [/SWITCH]...\n"
    "  or:  zorv --help | --version\n"
    "Shows the sheet of one arcade game in a window: the fields of the collection's\n"
    "index, the game's history.dat and mameinfo.dat entries, the user's notes and\n"
    "six pictures, in the report template Zorv.rtf or a built-in one. Esc or \"&\"\n"
    "closes the window; the arrow keys scroll. Without a ROM name the window shows\n"
    "the usage sheet.\n"
    "\n"
    "ROMNAME is the game's ROM name (\"gng\" or \"gng.zip\"); the switches after it, in\n"
    "any letter case:\n"
    "  /noimage     no pictures\n"
    "  /notitle     no title screen picture\n"
    "  /nosnap      no snapshot\n"
    "  /nomarquee   no marquee picture\n"
    "  /nocabinet   no cabinet picture\n"
    "  /nocpanel    no control panel picture\n"
    "  /noflyer     no flyer\n"
    "  /center      centre the window on the screen\n"
    "  /ontop       keep the window above the others\n"
    "  /defaultrtf  use the built-in template and write it out as Zorv.rtf (the\n"
    "               former Zorv.rtf becomes Zorv.bak)\n"
    "\n"
    "  --browse     list the collection's games to search and sort; Enter or a\n"
    "               double click shows a game's sheet, with the switches given\n"
    "  --help       show this help and exit\n"
    "  --version    show the version and exit\n"
    "--help and --version only as the one argument: any other words are the ROM\n"
    "name and switches.\n"
    "\n"
    "The configuration (Zorv.inf, quorbis.inf), the index (datafiles/index), the\n"
    "data files and notes.txt are found in the program folder: the folder of this\n"
    "program as invoked, so a symbolic link to it placed in a collection's folder\n"
    "serves that collection. Failures never show on the screen: each becomes one\n"
    "line of Zorv.Log.txt in the program folder.\n"
    "\n"
    "Exit status: 0 when the window was closed, 1 when the run stopped before any\n"
    "window (the reason is in Zorv.Log.txt).\n";

// The command text: the arguments after the program's name, joined by blanks.
std::string CommandText(int argc, char** argv) {
  std::string text;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) text += ' ';
    text += argv[i];
  }
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  zorv::KeepLocalTimeZone();
  const auto started = std::chrono::steady_clock::now();
  // Not part of the command text the viewer takes apart: a terminal user's
  // questions, answered without a window. ROM names never start with "-".
  if (argc == 2 && argv[1] == std::string_view("--version")) {
    std::cout << zorv::VersionText("zorv");
    return 0;
  }
  if (argc == 2 && argv[1] == std::string_view("--help")) {
    std::cout << kHelp;
    return 0;
  }
  if (argc >= 2 && argv[1] == std::string_view("--browse")) return zorv::RunBrowser(argc, argv, started);
  zorv::SharedState state;
  state.ProgramFolder = zorv::ProgramFolderOf(argc > 0 ? argv[0] : "");
  if (zorv::Main(state, CommandText(argc, argv)) == zorv::StartupOutcome::SilentStop) return 1;

  // The command line is the user's: Qt sees none of it.
  char programName[] = "zorv";
  char* qtArgv[] = {argc > 0 ? argv[0] : programName, nullptr};
  int qtArgc = 1;
  QApplication app(qtArgc, qtArgv);
  zorv::ReportWindow window(state, zorv::PrimaryScreenMetrics(), zorv::UserRegionalSettings());
  window.Load();
  std::optional<zorv::StartupTiming> timing;
  if (zorv::StartupTiming::Wanted()) timing.emplace(window, started);
  window.show();
  return QApplication::exec();
}
