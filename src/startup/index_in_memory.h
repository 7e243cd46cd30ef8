#pragma once
// The game index read whole into memory, answering as the open file does: the
// first record of a ROM name wins, and the lists are read list after list by
// the record's numbers. Read-only once made, so threads may share one.
#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "startup/game_index.h"
#include "startup/index_lists_in_memory.h"

namespace zorv {

class IndexInMemory {
 public:
  IndexInMemory() = default;
  // Takes the whole text of an index file.
  explicit IndexInMemory(std::string text);
  // The lines point into the text: one index stays where it was made.
  IndexInMemory(const IndexInMemory&) = delete;
  IndexInMemory& operator=(const IndexInMemory&) = delete;

  // Every ROM name with a record, once each, in the order of the index.
  const std::vector<std::string>& RomNames() const { return romNames_; }
  // The first record line that starts with `romKey`; empty when none does.
  std::string FindRecord(std::string_view romKey) const;
  // The index's lists from the first one on, as the open file stands after
  // the record search.
  std::unique_ptr<IndexLists> Lists() const { return lists_.Lists(); }

 private:
  std::string text_;
  std::vector<std::string_view> lines_;
  std::span<const std::string_view> records_;  // of lines_, up to the lists
  std::unordered_map<std::string_view, std::size_t> firstRecord_;  // ROM key -> record number
  std::vector<std::string> romNames_;
  IndexListsInMemory lists_;
};

}  // namespace zorv
