#pragma once
// What the viewer makes of a stretch of bytes read from history.dat or
// mameinfo.dat. The index writer tries candidate stretches through these and
// keeps one that gives back exactly the entry's text.
#include <optional>
#include <string>
#include <string_view>

namespace zorv::index {

// Drops everything up to "$bio" and the two bytes after it, then cuts before
// the first "$end", less the two bytes before it. Empty when the viewer would
// fail on the stretch ("$end" in its first two bytes after the drop).
std::optional<std::string> CutHistoryText(std::string_view stretch);

// Replaces everything up to "$mame" and the two bytes after it by "MAME v",
// then cuts before the last "$end", less the two bytes before it.
std::optional<std::string> CutMameinfoText(std::string_view stretch);

}  // namespace zorv::index
