#pragma once
// The tool's command line:
//   zorv-index --listxml FILE [--history FILE] [--mameinfo FILE] [--catver FILE]
//              [--nplayers FILE] [--roms DIR] [--output FILE]
//   zorv-index --mame-ini [FILE] [--listxml FILE] [--history FILE] ...
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "index_builder.h"

namespace zorv::index {

struct CommandLine {
  bool showHelp = false;
  bool showVersion = false;
  // --mame-ini: the file given, or empty for the first of ~/.mame/mame.ini and
  // /etc/mame/mame.ini.
  std::optional<std::string> mameIni;
  IndexOptions options;  // output empty: the collection folder's datafiles/index
};

// Both "--name value" and "--name=value" are taken; --mame-ini takes the next
// word as its FILE unless it starts with "-". Throws zorv::RunTimeError 5 with
// a message for a wrong command line (an unknown, repeated or incomplete option).
CommandLine ParseCommandLine(std::span<const std::string_view> arguments);

std::string HelpText();

}  // namespace zorv::index
