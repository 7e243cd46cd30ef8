#pragma once
// A run over the whole collection reads the index, history.dat, mameinfo.dat
// and notes.txt once; every game then reads them from memory, with the same
// results as a run of its own that reads the files: the first record of a ROM
// name wins, and the lists are read list after list by the record's numbers.
// Read-only once made, so games on several threads share one.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "startup/game_index.h"
#include "startup/index_in_memory.h"
#include "startup/shared_state.h"

namespace zorv {

class CollectionFiles {
 public:
  // Reads the files a game of `configured` would look for. Files that are
  // missing stay missing: each game then logs what a single run logs.
  explicit CollectionFiles(const SharedState& configured);
  CollectionFiles(const CollectionFiles&) = delete;
  CollectionFiles& operator=(const CollectionFiles&) = delete;

  // The index file found, empty when there is none.
  const std::string& IndexFile() const { return indexFile_; }
  // Every ROM name with a record, once each, in the order of the index.
  const std::vector<std::string>& RomNames() const { return index_->RomNames(); }
  // The first record line that starts with `romKey`; empty when none does.
  std::string FindRecord(std::string_view romKey) const { return index_->FindRecord(romKey); }
  // The index's lists from the first one on, as the open file stands after
  // the record search.
  std::unique_ptr<IndexLists> Lists() const { return index_->Lists(); }
  // A whole data file by the path a game looks for it under; null when that
  // path named no file.
  const std::string* DataFile(std::string_view path) const;

 private:
  void Keep(const std::string& path);

  std::string indexFile_;
  std::unique_ptr<const IndexInMemory> index_;
  std::unordered_map<std::string, std::string> dataFiles_;
};

// A data file's `length` bytes from the 1-based `offset` in memory, with the
// errors of reading them from the file: 63 for an offset below 1, 5 for a
// negative length; fewer bytes when the file ends first.
std::string CutStretch(std::string_view file, std::int64_t offset, std::int64_t length);

}  // namespace zorv
