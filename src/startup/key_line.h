#pragma once
// One line of Zorv.inf or quorbis.inf. A line with "=" is a key line: the key
// is the text before the first "=" without leading and trailing spaces, compared
// without regard to case; the value is the text up to the next "=", untrimmed.
#include <optional>
#include <string>
#include <string_view>

namespace zorv {

struct KeyLine {
  std::string Key;  // upper-cased
  std::string_view Value;
};

std::optional<KeyLine> SplitKeyLine(std::string_view line);

}  // namespace zorv
