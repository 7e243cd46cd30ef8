#pragma once
// The game's entries in history.dat and mameinfo.dat. The files are never
// searched: the index record says where each entry lies (offset and length).
#include <cstdint>
#include <string>
#include <string_view>

#include "startup/shared_state.h"

namespace zorv {

// `length` bytes from the 1-based `offset`; fewer when the file ends first.
std::string ReadDataEntry(std::string_view path, std::int64_t offset, std::int64_t length);

// The length after a history reference's ",": 0 when it starts with "#",
// otherwise the number before the first ";" (which must be there).
std::int32_t ParseLength(std::string_view text);

// From the record's Q field: HistoryText, the text after "$bio" up to the CR LF
// before the first "$end". Falls back to the data folder's history.dat.
void ReadHistory(SharedState& state);

// From the record's U field: RomAvailable (a final "*") and MameinfoText,
// "MAME v" and the text after "$mame" up to the CR LF before the last "$end".
void ReadMameinfo(SharedState& state);

}  // namespace zorv
