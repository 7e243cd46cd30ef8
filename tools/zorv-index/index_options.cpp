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
  const std::array<std::pair<std::string_view, std::string*>, 7> named = {{
      {"--listxml", &o.listXml},
      {"--history", &o.history},
      {"--mameinfo", &o.mameinfo},
      {"--catver", &o.catver},
      {"--nplayers", &o.nplayers},
      {"--roms", &o.romFolder},
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
    std::string* target = nullptr;
    for (const auto& [option, field] : named) {
      if (option == name) target = field;
    }
    if (!target) Refuse("unknown option \"" + std::string(argument) + "\"");
    if (!value) {
      if (i + 1 >= arguments.size()) Refuse(std::string(name) + " needs a value");
      value = arguments[++i];
    }
    if (value->empty()) Refuse(std::string(name) + " needs a value");
    if (!target->empty()) Refuse(std::string(name) + " is given twice");
    *target = *value;
  }
  if (o.listXml.empty()) Refuse("--listxml is required");
  if (o.output.empty()) Refuse("--output is required");
  if (o.output == "-") Refuse("--output must name a file");
  return command;
}

std::string HelpText() {
  return R"(Usage: zorv-index --listxml FILE [OPTION]... --output FILE

Writes the game index the viewer reads (datafiles/index) from files a collector
already has. Only the game list is required; every other file adds fields.

  --listxml FILE   the emulator's XML game list, as "-listxml" writes it;
                   "-" reads standard input:  mame -listxml | zorv-index --listxml - ...
  --history FILE   history.xml (<history> of <entry>: <systems>, <text>) or the
                   classic history.dat ("$info=names" / "$bio" / text / "$end")
  --mameinfo FILE  mameinfo.dat ("$info=name" / "$mame" / text / "$end")
  --catver FILE    catver.ini: [Category] and [VerAdded]
  --nplayers FILE  nplayers.ini: [NPlayers]
  --roms DIR       the ROM folder: a NAME.zip or NAME.7z marks the game as present
  --output FILE    the index to write, normally <viewer folder>/datafiles/index
  --help           this text
  --version        the version

Every FILE may also be a .zip or .7z holding it (history.zip, mameinfo.zip,
catver.zip, ...). An archive of several files gives the one named like the
option (history.xml or history.dat, mameinfo.dat, catver.ini, nplayers.ini;
for --listxml its only .xml file); nothing past 1 GB is extracted.

The index is written in Windows-1252 with CR LF line ends, one record per game
in the order of the game list. Devices, BIOS sets and machines that cannot run
get no record, nor do names an index cannot hold (";", "\", "/", ":", "..").
The index locates each game's entry in history.dat and mameinfo.dat by byte
offset and length, so the viewer must read the very files the index was made
from. A history given as XML, and a history or mameinfo given in an archive,
is therefore written out as a classic history.dat or mameinfo.dat beside the
index, where the viewer looks by default; a plain .dat is used where it lies.
An entry without "$end" is passed over with a warning.

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
why; an existing index and data files are then left as they were).
)";
}

}  // namespace zorv::index
