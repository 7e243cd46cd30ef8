#include "startup/field_codes.h"

#include <algorithm>
#include <cstring>

#include "startup/basic_text.h"

namespace zorv {
namespace {

constexpr bool IsCapital(char c) { return c >= 'A' && c <= 'Z'; }

}  // namespace

FieldCodes::FieldCodes(std::string_view record) : record_(record) {
  if (record.size() < 2) return;
  const char* const begin = record.data();
  const char* const last = begin + record.size() - 1;  // a code starts before it
  // ";;B" holds ";B" one on: each ";" is looked at, not each pair.
  for (const char* at = begin; at < last; ++at) {
    at = static_cast<const char*>(std::memchr(at, ';', static_cast<std::size_t>(last - at)));
    if (at == nullptr) break;
    if (!IsCapital(at[1])) continue;
    std::uint32_t& first = first_[static_cast<std::size_t>(at[1] - 'A')];
    // Positions past 4 GiB cannot be kept; such a record is searched.
    if (first == 0) first = static_cast<std::uint32_t>(std::min<std::size_t>(at - begin + 1, UINT32_MAX));
  }
}

std::size_t FieldCodes::Find(std::string_view code) const {
  if (code.size() != 2 || code[0] != ';' || !IsCapital(code[1])) return InStr(record_, code);
  const std::uint32_t first = first_[static_cast<std::size_t>(code[1] - 'A')];
  return first == UINT32_MAX ? InStr(record_, code) : first;
}

}  // namespace zorv
