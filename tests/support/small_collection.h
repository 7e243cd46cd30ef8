#pragma once
// A one-game collection ("gng") in a folder: index with two lists, history
// with a section marker and a Windows-1252 letter, mameinfo, notes.
#include <filesystem>
#include <string>

#include "support/temp_folder.h"

namespace zorv::testing {

inline void WriteSmallCollection(const std::filesystem::path& collection) {
  const std::string history = "$info=gng\r\n$bio\r\nA knight.\r\n\r\n- TRIVIA -\r\nFun \xe9t\xe9.\r\n$end\r\n";
  const std::string mameinfo = "$info=gng\r\n$mame\r\n0.37b5\r\n$end\r\n";
  WriteFile(collection / "DataFiles/history.dat", history);
  WriteFile(collection / "DataFiles/mameinfo.dat", mameinfo);
  WriteFile(collection / "DataFiles/Index", "gng;BGhosts'n Goblins;S;C1;D1;R0;L#;P0;Q1," + std::to_string(history.size()) +
                                                ";U1," + std::to_string(mameinfo.size()) +
                                                "*\r\n[Manufacturer]\r\nCapcom\r\n[Year]\r\n1985\r\n");
  WriteFile(collection / "notes.txt", "[gng]\r\nBeaten twice.\r\n");
}

inline void WriteSmallCollection(const TempFolder& collection) { WriteSmallCollection(collection.Path()); }

}  // namespace zorv::testing
