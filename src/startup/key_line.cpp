#include "startup/key_line.h"

#include "startup/basic_text.h"

namespace zorv {

std::optional<KeyLine> SplitKeyLine(std::string_view line) {
  const auto equals = line.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  std::string_view value = line.substr(equals + 1);
  value = value.substr(0, value.find('='));
  return KeyLine{UpperCase(TrimBlanks(line.substr(0, equals))), value};
}

}  // namespace zorv
