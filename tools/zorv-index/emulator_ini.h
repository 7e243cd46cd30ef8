#pragma once
// The emulator's own settings files, mame.ini and ui.ini, read the way the
// emulator reads them, for a set-up that needs no other word from the user.
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zorv::index {

// Options by name. One option a line: its name runs to the first blank, its
// value is the rest of the line up to a "#" outside double quotes, without the
// blanks around it and without one pair of enclosing quotes. A line whose first
// character past blanks is "#" is a comment, a line without a value is passed
// over, and a later line for the same option wins. Lines end at LF, CR LF or
// CR; a UTF-8 byte order mark is passed over.
using EmulatorOptions = std::unordered_map<std::string, std::string>;
EmulatorOptions ParseEmulatorIni(std::string_view text);

// The value with its environment variables put in: "$NAME" and "${NAME}" (a
// variable that is not set gives nothing), and a leading "~" followed by "/" or
// nothing as $HOME.
std::string SubstituteEnvironment(std::string_view value);

// A search path ("$HOME/mame/roms;/usr/share/games/mame/roms"): variables put
// in, split at ";", each folder made absolute against the current folder, as
// the emulator takes it. Empty entries are dropped.
std::vector<std::filesystem::path> SearchPathFolders(std::string_view value);

}  // namespace zorv::index
