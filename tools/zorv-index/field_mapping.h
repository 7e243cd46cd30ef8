#pragma once
// Which machines become records, and which piece of the collection feeds which
// field of a game's record:
//
//   B title          <description>
//   S clone of       the cloneof attribute (the parent's ROM name)
//   C manufacturer   <manufacturer>
//   D year           <year>
//   E orientation    "Vertical" when the first <display> is rotated by 90 or 270,
//                    otherwise "Horizontal"; nothing without a display
//   F buttons        <input buttons> or the most <control buttons>; "0" for an
//                    input without buttons
//   G controls       the kinds of <control>, each once, joined by " / "
//                    ("Joystick 8-way / Trackball")
//   H driver status  <driver status>: "Good", "Imperfect", "Preliminary"
//   I genre          catver.ini [Category], the part before " / "
//   J category       catver.ini [Category], whole, without "* Mature *"
//   K version added  catver.ini [VerAdded]
//   M family         the folder of the sourcefile ("capcom"), else its stem
//   N driver         the sourcefile's file name ("gng.cpp")
//   O players        nplayers.ini [NPlayers], else "<n>P" from <input players>
//   V save state     <driver savestate>: "Supported", "Unsupported"
//   R cheat          0: no source for it
//   L mature         "1" when catver's category carries "* Mature *", else "#"
//   P highscore      0: no source for it
//   Q history        the game's history.dat entry, else its parent's
//   U mameinfo       the game's mameinfo.dat entry, else its parent's; "*" when
//                    the ROM folder holds <name>.zip or <name>.7z
//
// Texts from the XML list are UTF-8 and become Windows-1252 ("?" for what the
// code page lacks).
#include <string>
#include <vector>

#include "dat_scanner.h"
#include "ini_reader.h"
#include "machine.h"
#include "record_writer.h"
#include "rom_folder.h"

namespace zorv::index {

// Everything but the game list; each part may be missing.
struct CollectionData {
  const DataFileIndex* history = nullptr;
  const DataFileIndex* mameinfo = nullptr;
  const IniSection* categories = nullptr;
  const IniSection* versionsAdded = nullptr;
  const IniSection* players = nullptr;
  const RomFolder* roms = nullptr;
};

// Devices, BIOS sets and machines that cannot run on their own get no record.
bool IsGame(const Machine& machine);

GameValues MapGame(const Machine& machine, const CollectionData& collection);

std::string OrientationOf(const Machine& machine);
std::string ControlsOf(const std::vector<MachineControl>& controls);

}  // namespace zorv::index
