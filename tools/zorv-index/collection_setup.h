#pragma once
// zorv-index --mame-ini: a collection set up in one command from the emulator
// the user has. Its settings say where the ROMs, data files and pictures are;
// its "-listxml" gives the game list. The index and data files go into the
// collection folder, with a Zorv.inf naming the picture folders when the
// collection has none yet.
#include <string>

#include "emulator_files.h"
#include "index_builder.h"
#include "index_options.h"

namespace zorv::index {

struct SetupResult {
  EmulatorFiles found;
  std::string listSource;  // the game list: a file, or the emulator's command
  std::string collectionFolder;
  IndexOptions used;  // what the index was made from
  IndexSummary summary;
  std::string zorvInf;  // the collection's Zorv.inf; empty when it has none
  bool zorvInfKept = false;  // it was there before, and is left as it was
};

// Throws zorv::RunTimeError with a message naming the file and what to do; the
// collection's files are then left as they were.
SetupResult SetUpCollection(const CommandLine& command, const std::string& collectionFolder);

// What was found, used and written, and everything looked for and not found.
std::string SetupSummary(const SetupResult& result);

}  // namespace zorv::index
