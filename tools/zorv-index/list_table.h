#pragma once
// One of the index's lists: each distinct value once, in the order first met;
// records point into it by line number.
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zorv::index {

class ListTable {
 public:
  // The value's line number, counted from 1, adding it when it is new; 0 for an
  // empty value, which takes no line.
  std::uint32_t NumberOf(std::string_view value);

  const std::vector<std::string>& Values() const { return values_; }

 private:
  std::vector<std::string> values_;
  std::unordered_map<std::string, std::uint32_t> numbers_;
};

}  // namespace zorv::index
