#pragma once
// One run of the tool: reads the collection's files, writes the index and,
// beside it, the history.dat and mameinfo.dat it points into (the viewer reads
// them there by offset). Each file is written to a temporary file beside its
// place and renamed over it only when everything went well, so a failed run
// never leaves half an index or half a data file.
#include <cstdint>
#include <string>
#include <vector>

#include "dat_scanner.h"

namespace zorv::index {

class EmulatorListing;

struct IndexOptions {
  std::string listXml;  // "-" reads standard input
  // Empty when not given.
  std::string history;
  std::string mameinfo;
  std::string catver;
  std::string nplayers;
  std::vector<std::string> romFolders;
  std::string output;
  // The output's folder is made when missing (the collection's datafiles/),
  // once the inputs are known to be there.
  bool makeOutputFolder = false;
  // When set, the game list is the emulator's output instead of listXml.
  EmulatorListing* emulator = nullptr;
  // The furthest data-file byte an index may point at; lowered only by tests.
  std::uint64_t addressLimit = kViewerAddressLimit;
  bool showProgress = false;
};

struct IndexSummary {
  std::size_t games = 0;
  std::size_t machinesPassedOver = 0;  // devices, BIOS sets, machines that do not run
  std::size_t withHistory = 0;
  std::size_t withMameinfo = 0;
  std::size_t withRomSet = 0;
  std::vector<std::string> warnings;  // things the user should know; the index is still good
  std::size_t romSets = 0;  // sets in the ROM folders
  std::vector<std::string> dataFilesWritten;  // history.dat, mameinfo.dat written beside the index
};

// Throws zorv::RunTimeError whose message names the file and the trouble; the
// output file is then left as it was.
IndexSummary BuildIndex(const IndexOptions& options);

}  // namespace zorv::index
