#pragma once
// Front ends (RetroArch, ES-DE, Attract-Mode, ...) can pass the ROM file's path
// where the viewer expects the ROM name. An argument that names an existing file
// by a path ("/roms/gng.zip", "roms/gng.7z": a "/" after its first character)
// becomes the file's base name without extension ("gng"); every other argument
// stays as it is, for the command line to be read as designed ("/nosnap" is a
// switch, "gng.zip" a ROM name).
#include <string>
#include <vector>

namespace zorv {

// Throws zorv::RunTimeError with a message naming the argument and what to do
// when it is a path to a folder, or the path of a .zip or .7z that does not exist.
std::vector<std::string> TakeRomPaths(std::vector<std::string> arguments);

}  // namespace zorv
