#include "startup/index_lists_in_memory.h"

#include <algorithm>
#include <span>

namespace zorv {
namespace {

// Where a list ends is known beforehand, so reading one costs the same
// whatever its length.
class MemoryLists final : public IndexLists {
 public:
  MemoryLists(std::span<const std::string_view> lines, std::span<const std::size_t> ends)
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
  std::span<const std::size_t> ends_;
  std::size_t next_ = 0;
};

}  // namespace

IndexListsInMemory::IndexListsInMemory(std::vector<std::string_view> lines)
    : lines_(std::move(lines)), listEnd_(lines_.size()) {
  std::size_t end = lines_.size();
  for (std::size_t i = lines_.size(); i-- > 0;) {
    if (IsListHeader(lines_[i])) end = i;
    listEnd_[i] = end;
  }
}

std::unique_ptr<IndexLists> IndexListsInMemory::Lists() const { return std::make_unique<MemoryLists>(lines_, listEnd_); }

}  // namespace zorv
