#pragma once
// The tool's command line:
//   zorv-index --listxml FILE [--history FILE] [--mameinfo FILE] [--catver FILE]
//              [--nplayers FILE] [--roms DIR] --output FILE
#include <span>
#include <string>
#include <string_view>

#include "index_builder.h"

namespace zorv::index {

struct CommandLine {
  bool showHelp = false;
  bool showVersion = false;
  IndexOptions options;
};

// Both "--name value" and "--name=value" are taken. Throws zorv::RunTimeError 5
// with a message for an unknown, repeated or incomplete option.
CommandLine ParseCommandLine(std::span<const std::string_view> arguments);

std::string HelpText();

}  // namespace zorv::index
