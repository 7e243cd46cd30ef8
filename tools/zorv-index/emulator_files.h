#pragma once
// What the emulator's settings say a collector has: the ROM folders, the data
// files in the history and category folders, and each kind of picture's folder
// or archive, found the way the emulator and the viewer find them.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "startup/picture_census.h"

namespace zorv::index {

struct PictureChoice {
  // The folder the viewer is to be told, empty when none was found; an archive
  // of its name beside it counts (snap.zip beside snap), as the viewer reads it.
  std::string folder;
  std::vector<PicturePlace> places;
};

struct EmulatorFiles {
  std::string mameIni;
  std::string uiIni;  // empty when none was found: the emulator's defaults apply
  std::vector<std::string> romFolders;  // those that exist
  // The files found, empty when none was.
  std::string history;
  std::string mameinfo;
  std::string catver;
  std::string nplayers;
  std::array<PictureChoice, 7> pictures;  // by category: 1 title screens ... 6 flyers
  std::vector<std::string> notFound;  // what was looked for and not found, one line each
};

// The first of ~/.mame/mame.ini and /etc/mame/mame.ini that exists. Error 53
// with a message saying what to do when neither does.
std::string DefaultMameIni();

// Reads `mameIni` and the ui.ini found through its inipath. Error with a
// message naming the file and what to do when one of them cannot be read.
EmulatorFiles FindEmulatorFiles(const std::string& mameIni);

}  // namespace zorv::index
