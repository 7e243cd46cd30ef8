#pragma once
// A made-up collection written for the tests: an XML game list, history.dat,
// mameinfo.dat, catver.ini, nplayers.ini and ROM files, together with what the
// viewer must show for every game once the index is built. Line endings are
// drawn at random (CR LF, LF, or a mix within an entry), texts mix Windows-1252
// and UTF-8 bytes, values hold the characters the index cannot carry as they
// stand.
#include <random>
#include <string>
#include <vector>

#include "index_builder.h"
#include "support/temp_folder.h"

namespace zorv::index::testing {

struct ExpectedGame {
  std::string name;
  std::string title, cloneOf, manufacturer, year, orientation, buttons, controls, driverStatus;
  std::string genre, category, versionAdded, driver, players, saveState;
  bool mature = false;
  bool romAvailable = false;
  std::string history;
  std::string mameinfo;
};

struct GeneratedCollection {
  std::string xml;
  std::string history;
  std::string mameinfo;
  std::string catver;
  std::string nplayers;
  std::vector<std::string> romFiles;
  std::vector<ExpectedGame> games;
  std::vector<std::string> notGames;  // devices and BIOS sets: no record
};

GeneratedCollection GenerateCollection(unsigned seed, int parents);

// Lays the collection out as a collector would, with the data files where the
// viewer looks for them by default; the options to index it.
IndexOptions WriteCollection(const zorv::testing::TempFolder& dir, const GeneratedCollection& c);

}  // namespace zorv::index::testing
