#pragma once
#include <string>
#include <vector>

namespace zorv {

// One game of the export's index page; values as the index holds them
// (Windows-1252). No file name: the game's page was not written.
struct IndexPageRow {
  std::string RomName;
  std::string Title;
  std::string Year;
  std::string Manufacturer;
  std::string FileName;
};

// index.html: every game in a table, each ROM name linking to its page.
std::string IndexPage(const std::vector<IndexPageRow>& rows);

}  // namespace zorv
