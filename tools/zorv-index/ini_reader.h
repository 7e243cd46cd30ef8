#pragma once
// Reads the "name=value" lines of chosen sections of an ini file such as
// catver.ini ([Category], [VerAdded]) or nplayers.ini ([NPlayers]).
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zorv::index {

using IniSection = std::unordered_map<std::string, std::string>;

// One map per wanted section, in the order asked, keyed by the name as written.
// Section names are matched without regard to case; lines end at CR LF, LF or
// CR; ";" starts a comment line; names and values are trimmed; values become
// Windows-1252 (UTF-8 is converted, other bytes are kept). The first line for a
// name wins.
std::vector<IniSection> ParseIniSections(std::string_view bytes, const std::vector<std::string>& wantedSections);

std::vector<IniSection> ReadIniSections(std::string_view windowsPath, const std::vector<std::string>& wantedSections);

}  // namespace zorv::index
