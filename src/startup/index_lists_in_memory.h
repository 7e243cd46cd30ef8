#pragma once
// The lists of a game index (the lines after its "[Manufacturer]" header) in
// memory, read list after list as the open file reads them. Read-only once
// made, so threads may share one, each with its own reader.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "startup/game_index.h"

namespace zorv {

class IndexListsInMemory {
 public:
  IndexListsInMemory() = default;
  // Takes the lines that follow the lists' header, pointing into text that
  // outlives this.
  explicit IndexListsInMemory(std::vector<std::string_view> lines);

  // A reader at the first list.
  std::unique_ptr<IndexLists> Lists() const;

 private:
  std::vector<std::string_view> lines_;
  // For every line, the number of the first header line at or after it.
  std::vector<std::size_t> listEnd_;
};

}  // namespace zorv
