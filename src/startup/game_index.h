#pragma once
// The game index: one record line per game, then, from the line
// "[Manufacturer]" on, thirteen lists that the records point into by line number.
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "startup/shared_state.h"

namespace zorv {

inline constexpr std::string_view kListsHeader = "[Manufacturer]";

// Opens the index and finds the first record that starts with `romKey` (the
// ROM name and ";", so a longer name never matches). Sets GameRecord, empty when
// there is none. The returned reader stands at the first list.
TextFileReader FindGameRecord(std::string_view indexPath, std::string_view romKey, SharedState& state);

// Takes GameRecord apart: the text fields, the thirteen list fields read in
// order from the open index, and the yes/no fields.
void ReadGameFields(TextFileReader& index, SharedState& state);

// The value of one list field (`code` is ";" and the letter). Reads the next
// list of the open index, unless the record lacks the field. A failure is
// logged as "ERROR D - n" and gives an empty value.
std::string GetListField(std::string_view code, TextFileReader& index, SharedState& state);

}  // namespace zorv
