#include "list_table.h"

namespace zorv::index {

std::uint32_t ListTable::NumberOf(std::string_view value) {
  if (value.empty()) return 0;
  const auto [where, added] = numbers_.try_emplace(std::string(value), static_cast<std::uint32_t>(values_.size() + 1));
  if (added) values_.emplace_back(value);
  return where->second;
}

}  // namespace zorv::index
