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
#include <vector>

#include "browse.h"
#include "platform/local_time_zone.h"
#include "platform/qt/qt_screen_metrics.h"
#include "platform/regional_settings.h"
#include "program_front.h"
#include "program_version.h"
#include "rom_path_arguments.h"
#include "startup/startup.h"
#include "startup_timing.h"
#include "stop_message.h"
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
    "ROMNAME is the game's ROM name (\"gng\" or \"gng.zip\"), or the path of its ROM\n"
    "file as front ends give it (/roms/gng.zip); the switches after it, in any\n"
    "letter case:\n"
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
    "      --browse    list the collection's games to search and sort; Enter or a\n"
    "                  double click shows a game's sheet, with the switches given\n"
    "      --help      show this help and exit\n"
    "      --version   show the version and exit\n"
    "Any other word that starts with \"--\" is refused; after \"--\" every word is\n"
    "the ROM name's or a switch.\n"
    "\n"
    "The configuration (Zorv.inf, quorbis.inf), the index (datafiles/index), the\n"
    "data files and notes.txt are found in the collection folder: the folder of\n"
    "this program as invoked, so a symbolic link to it placed in a collection's\n"
    "folder serves that collection; but when that folder holds no datafiles/index\n"
    "and cannot be written (an installed program in /usr/bin), the user's own:\n"
    "$ZORV_HOME, else $XDG_DATA_HOME/zorvane, else ~/.local/share/zorvane, made on\n"
    "first use. 'zorv-index --mame-ini' makes a collection there from the\n"
    "emulator's settings; 'zorv-report --check' says which folder is used and\n"
    "what is wrong in it. Failures never show on the screen: each becomes one\n"
    "line of Zorv.Log.txt in the collection folder, also written to standard\n"
    "error.\n"
    "\n"
    "Exit status: 0 when the window was closed, 1 when the run stopped before any\n"
    "window (the reason is in Zorv.Log.txt), 2 for a wrong option.\n";

}  // namespace

int main(int argc, char** argv) {
  zorv::KeepLocalTimeZone();
  const auto started = std::chrono::steady_clock::now();
  const char* invoked = argc > 0 ? argv[0] : nullptr;
  const std::string program = zorv::ProgramName(invoked, "zorv");
  // The options are a terminal user's questions, answered without a window;
  // ROM names and switches never start with "--". Everything else is the
  // command text the viewer takes apart, after a front end's ROM file path
  // has become the ROM name.
  std::vector<std::string> words;
  bool optionsEnded = false;
  bool browse = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view word = argv[i];
    if (optionsEnded || !word.starts_with("--")) {
      words.emplace_back(word);
    } else if (word == "--") {
      optionsEnded = true;
    } else if (word == "--help") {
      std::cout << kHelp;
      return 0;
    } else if (word == "--browse") {
      browse = true;
    } else if (word == "--version") {
      std::cout << zorv::VersionText("zorv");
      return 0;
    } else {
      return zorv::UsageError(program, "unrecognized option '" + std::string(word) + "'");
    }
  }
  if (browse) {
    for (const std::string& word : words) {
      if (!word.starts_with('/')) {
        return zorv::UsageError(program, "--browse takes only switches (such as /center), not '" + word + "'");
      }
    }
    const auto collection = zorv::UseCollectionFolder(invoked, program);
    if (!collection) return zorv::kExitFailure;
    return zorv::RunBrowser(collection->Path, zorv::CommandTextOf(words), argc > 0 ? argv[0] : nullptr, started);
  }
  try {
    words = zorv::TakeRomPaths(std::move(words));
  } catch (const std::exception& failure) {
    return zorv::Failure(program, failure.what());
  }
  const auto collection = zorv::UseCollectionFolder(invoked, program);
  if (!collection) return zorv::kExitFailure;

  zorv::SharedState state;
  state.ProgramFolder = collection->Path;
  const zorv::StopMessage stop(program, state.ProgramFolder);
  if (zorv::Main(state, zorv::CommandTextOf(words)) == zorv::StartupOutcome::SilentStop) {
    std::cerr << stop.Text() << '\n';
    return zorv::kExitFailure;
  }

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
