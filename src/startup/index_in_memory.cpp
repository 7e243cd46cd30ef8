#include "startup/index_in_memory.h"

#include <algorithm>

#include "platform/file_system.h"

namespace zorv {

IndexInMemory::IndexInMemory(std::string text) : text_(std::move(text)), lines_(SplitTextLines(text_)) {
  const auto listsHeader = std::find(lines_.begin(), lines_.end(), kListsHeader);
  records_ = std::span(lines_.begin(), listsHeader);
  firstRecord_.reserve(records_.size());
  romNames_.reserve(records_.size());
  for (std::size_t i = 0; i < records_.size(); ++i) {
    const std::size_t semicolon = records_[i].find(';');
    if (semicolon == std::string_view::npos) continue;
    if (firstRecord_.emplace(records_[i].substr(0, semicolon + 1), i).second && semicolon > 0) {
      romNames_.emplace_back(records_[i].substr(0, semicolon));
    }
  }
  if (listsHeader != lines_.end()) lists_ = IndexListsInMemory({listsHeader + 1, lines_.end()});
}

std::string IndexInMemory::FindRecord(std::string_view romKey) const {
  // A key with a ";" before its last character is no ROM name and key of
  // the map: only the line by line search finds it.
  if (romKey.empty() || romKey.find(';') != romKey.size() - 1) {
    for (std::string_view record : records_) {
      if (record.starts_with(romKey)) return std::string(record);
    }
    return {};
  }
  const auto found = firstRecord_.find(romKey);
  return found == firstRecord_.end() ? std::string() : std::string(records_[found->second]);
}

}  // namespace zorv
