#pragma once
// Where each field code of a record first stands. A record is taken apart by
// twenty searches for ";" and a letter; one pass over its ";" answers them all.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace zorv {

class FieldCodes {
 public:
  explicit FieldCodes(std::string_view record);

  // As InStr(record, code): the 1-based position of the first `code`, 0 when
  // the record has none.
  std::size_t Find(std::string_view code) const;

 private:
  std::string_view record_;
  // For ";A" to ";Z"; other codes are searched for.
  std::array<std::uint32_t, 26> first_{};
};

}  // namespace zorv
