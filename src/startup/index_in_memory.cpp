#include "startup/index_in_memory.h"

#include <algorithm>

#include "platform/file_system.h"

namespace zorv {
namespace {

// The lists of an index in memory. Where a list ends is known beforehand, so
// reading one costs the same whatever its length.
class MemoryLists final : public IndexLists {
 public:
  MemoryLists(std::span<const std::string_view> lines, const std::vector<std::size_t>& ends)
      : lines_(lines), ends_(ends) {}

  std::string NextListValue(std::int32_t wanted) override {
    if (next_ >= lines_.size()) return {};
    const std::size_t first = next_;
    const std::size_t last = std::min(ends_[first], lines_.size() - 1);  // the header, or the file's last line
    next_ = last + 1;
    if (wanted < 1 || first + static_cast<std::size_t>(wanted) - 1 > last) return {};
    return std::string(lines_[first + static_cast<std::size_t>(wanted) - 1]);
  }

 private:
  std::span<const std::string_view> lines_;
  const std::vector<std::size_t>& ends_;
  std::size_t next_ = 0;
};

}  // namespace

IndexInMemory::IndexInMemory(std::string text) : text_(std::move(text)), lines_(SplitTextLines(text_)) {
  const auto listsHeader = std::find(lines_.begin(), lines_.end(), kListsHeader);
  records_ = std::span(lines_.begin(), listsHeader);
  firstRecord_.reserve(records_.size());
  romNames_.reserve(records_.size());
  gameRecords_.reserve(records_.size());
  for (std::size_t i = 0; i < records_.size(); ++i) {
    const std::size_t semicolon = records_[i].find(';');
    if (semicolon == std::string_view::npos) continue;
    if (firstRecord_.emplace(records_[i].substr(0, semicolon + 1), i).second && semicolon > 0) {
      romNames_.emplace_back(records_[i].substr(0, semicolon));
      gameRecords_.push_back(records_[i]);
    }
  }
  if (listsHeader != lines_.end()) listLines_ = std::span(listsHeader + 1, lines_.end());
  listEnd_.resize(listLines_.size());
  std::size_t end = listLines_.size();
  for (std::size_t i = listLines_.size(); i-- > 0;) {
    if (IsListHeader(listLines_[i])) end = i;
    listEnd_[i] = end;
  }
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

std::unique_ptr<IndexLists> IndexInMemory::Lists() const {
  return std::make_unique<MemoryLists>(listLines_, listEnd_);
}

}  // namespace zorv
