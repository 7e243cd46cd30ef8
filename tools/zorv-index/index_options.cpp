#include "index_options.h"

#include <array>
#include <utility>

#include "platform/run_time_error.h"

namespace zorv::index {
namespace {

[[noreturn]] void Refuse(const std::string& message) { throw RunTimeError(ErrorCode::InvalidArgument, message); }

}  // namespace

CommandLine ParseCommandLine(std::span<const std::string_view> arguments) {
  CommandLine command;
  IndexOptions& o = command.options;
  std::string roms;
  const std::array<std::pair<std::string_view, std::string*>, 7> named = {{
      {"--listxml", &o.listXml},
      {"--history", &o.history},
      {"--mameinfo", &o.mameinfo},
      {"--catver", &o.catver},
      {"--nplayers", &o.nplayers},
      {"--roms", &roms},
      {"--output", &o.output},
  }};
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    std::string_view argument = arguments[i];
    if (argument == "--help" || argument == "-h") {
      command.showHelp = true;
      return command;
    }
    if (argument == "--version") {
      command.showVersion = true;
      return command;
    }
    std::string_view name = argument;
    std::optional<std::string_view> value;
    if (const auto equals = argument.find('='); argument.starts_with("--") && equals != std::string_view::npos) {
      name = argument.substr(0, equals);
      value = argument.substr(equals + 1);
    }
    if (name == "--mame-ini") {
      if (command.mameIni) Refuse("--mame-ini is given twice");
      if (!value && i + 1 < arguments.size() && !arguments[i + 1].starts_with("-")) value = arguments[++i];
      if (value && value->empty()) Refuse("option '--mame-ini' requires a file after '='");
      command.mameIni = std::string(value.value_or(""));
      continue;
    }
    std::string* target = nullptr;
    for (const auto& [option, field] : named) {
      if (option == name) target = field;
    }
    if (!target) Refuse("unrecognized option '" + std::string(argument) + "'");
    if (!value) {
      if (i + 1 >= arguments.size()) Refuse("option '" + std::string(name) + "' requires an argument");
      value = arguments[++i];
    }
    if (value->empty()) Refuse("option '" + std::string(name) + "' requires an argument");
    if (!target->empty()) Refuse(std::string(name) + " is given twice");
    *target = *value;
  }
  if (!roms.empty()) o.romFolders = {roms};
  if (o.listXml.empty() && !command.mameIni) Refuse("give the game list: --listxml FILE, or --mame-ini to ask the emulator");
  if (command.mameIni && !o.output.empty()) {
    Refuse("--mame-ini writes into the collection folder, not --output; set ZORV_HOME to choose the folder");
  }
  if (o.output == "-") Refuse("--output must name a file");
  return command;
}

std::string HelpText() {
  return R"(Usage: zorv-index --mame-ini [FILE] [OPTION]...
  or:  zorv-index --listxml FILE [OPTION]...
Writes the game index the viewer reads (datafiles/index), and beside it the
history.dat and mameinfo.dat it points into, from files a collector already
has.

  --mame-ini [FILE]  set up the collection in one command, from the emulator's
                     own settings: FILE (default: the first of ~/.mame/mame.ini
                     and /etc/mame/mame.ini) and the ui.ini found through its
                     inipath give the ROM folders (rompath), the data files
                     (history.xml or history.dat, mameinfo.dat, catver.ini and
                     nplayers.ini, each also as .zip or .7z, in historypath and
                     categorypath) and the picture folders (snapshot_directory,
                     titles_directory, marquees_directory, cabinets_directory,
                     cpanels_directory, flyers_directory: a folder, or a .zip or
                     .7z of that name); the game list is "mame -listxml" (the
                     mame on PATH, else /usr/games/mame) unless --listxml is
                     given. Writes the index and data files into the collection
                     folder, and a Zorv.inf with the picture folders found when
                     the collection has none; ends with a summary. The options
                     below, when given, take the place of what the settings say.
  --listxml FILE     the emulator's XML game list, as "-listxml" writes it;
                     "-" reads standard input:  mame -listxml | zorv-index --listxml - ...
  --history FILE     history.xml (<history> of <entry>: <systems>, <text>) or the
                     classic history.dat ("$info=names" / "$bio" / text / "$end")
  --mameinfo FILE    mameinfo.dat ("$info=name" / "$mame" / text / "$end")
  --catver FILE      catver.ini: [Category] and [VerAdded]
  --nplayers FILE    nplayers.ini: [NPlayers]
  --roms DIR         the ROM folder: a NAME.zip, NAME.7z or folder NAME marks the
                     game as present
  --output FILE      the index to write (default: datafiles/index in the
                     collection folder; not with --mame-ini)
  -h, --help         show this help and exit
      --version      show the version and exit

The collection folder is the viewer's: the folder of this program as invoked
(a symbolic link to it placed in a collection's folder serves that
collection), or, for an installed program, the user's own: $ZORV_HOME, else
$XDG_DATA_HOME/zorvane, else ~/.local/share/zorvane, made on first use.

Every FILE may also be a .zip or .7z holding it (history.zip, mameinfo.zip,
catver.zip, ...). An archive of several files gives the one named like the
option (history.xml or history.dat, mameinfo.dat, catver.ini, nplayers.ini;
for --listxml its only .xml file); nothing past 1 GB is extracted.

The index is written in Windows-1252 with CR LF line ends, one record per game
in the order of the game list. Devices, BIOS sets and machines that cannot run
get no record, nor do names an index cannot hold (";", "\", "/", ":", "..").
The index locates each game's entry in history.dat and mameinfo.dat by byte
offset and length, so the viewer must read the very files the index was made
from: they are written beside the index, where the viewer looks by default (a
copy of a plain .dat, the classic form of a history given as XML or in an
archive), unless the file given is already there. An entry without "$end" is
passed over with a warning.

Fields of a record and where they come from:
  B title          <description>
  S clone of       cloneof (the parent's ROM name)
  C manufacturer   <manufacturer>
  D year           <year>
  E orientation    "Horizontal" or "Vertical", from the first display's rotate
  F buttons        the most buttons any control has ("0": an input without any)
  G controls       the kinds of control, e.g. "Joystick 8-way / Trackball"
  H driver status  "Good", "Imperfect" or "Preliminary"
  I genre          catver's category up to " / "
  J category       catver's whole category, without "* Mature *"
  K version added  catver's [VerAdded]
  M family         the driver's source folder (e.g. "capcom")
  N driver         the driver's source file (e.g. "gng.cpp")
  O players        nplayers.ini, else "<n>P" from the game list
  V save state     "Supported" or "Unsupported"
  R cheat, P highscore   always 0 (no source for them)
  L mature         set when catver's category says "* Mature *"
  Q history        offset,length of the entry in history.dat (0,0: none)
  U mameinfo       offset,length in mameinfo.dat, then "*" when the ROM set is present
A clone without an entry of its own in history.dat or mameinfo.dat gets its
parent's. Names with more than one entry use the first.

Files are written under a temporary name beside their place and renamed only
when the run went well. The output may not be one of the inputs, nor anything
but a regular file. Temporary files left by an interrupted run are removed by
the next one.

Exit status: 0 when the index was written, 1 when it was not (the message says
why; an existing index and data files are then left as they were), 2 for a
wrong command line.
)";
}

}  // namespace zorv::index
