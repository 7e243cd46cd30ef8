#pragma once
// The game's entries in history.dat and mameinfo.dat. The files are never
// searched: the index record says where each entry lies (offset and length).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "startup/shared_state.h"

namespace zorv {

// `length` bytes from the 1-based `offset`; fewer when the file ends first.
std::string ReadDataEntry(std::string_view path, std::int64_t offset, std::int64_t length);

// The length after a history reference's ",": 0 when it starts with "#",
// otherwise the number before the first ";" (which must be there).
std::int32_t ParseLength(std::string_view text);

// Where a record's entry lies, as the two steps below read it: `Length` bytes
// from the 1-based `Offset`.
struct DataReference {
  std::int32_t Offset = 0;
  std::int32_t Length = 0;
};

// The record's Q field; empty when it gives no history (offset 0 or no ",").
// A length that is not a number is the failure ReadHistory has.
std::optional<DataReference> HistoryReference(std::string_view record);

// The record's U field, less a final "*"; empty when it has no ",". An offset
// that is not a number is the failure ReadMameinfo has.
std::optional<DataReference> MameinfoReference(std::string_view record);

// The data file a game reads its entry from: the configured path when it names
// a file, else the data folder's file of that name; empty when neither exists.
std::string FindDataFile(const SharedState& state, const std::string& configured, std::string_view fileName);

// From the record's Q field: HistoryText, the text after "$bio" up to the CR LF
// before the first "$end". Falls back to the data folder's history.dat.
void ReadHistory(SharedState& state);

// From the record's U field: RomAvailable (a final "*") and MameinfoText,
// "MAME v" and the text after "$mame" up to the CR LF before the last "$end".
void ReadMameinfo(SharedState& state);

}  // namespace zorv
