#pragma once
// The game index: one record line per game, then, from the line
// "[Manufacturer]" on, thirteen lists that the records point into by line number.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "startup/field_codes.h"
#include "startup/shared_state.h"

namespace zorv {

inline constexpr std::string_view kListsHeader = "[Manufacturer]";

// A line that opens a list (and ends the one before): "[" ... "]".
bool IsListHeader(std::string_view line);

// Where the list fields come from: the open index file, or an index already in
// memory (a run over the whole collection), read list after list.
class IndexLists {
 public:
  virtual ~IndexLists() = default;
  // Reads on to the end of the next list (its closing header line is read
  // with it) and returns its line number `wanted`, counted from 1; empty when
  // the list has no such line.
  virtual std::string NextListValue(std::int32_t wanted) = 0;
};

// The configured index, else the data folder's, else the program folder's;
// empty when none of them exists.
std::string FindIndexFile(const SharedState& state);

// Opens the index and finds the first record that starts with `romKey` (the
// ROM name and ";", so a longer name never matches). Sets GameRecord, empty when
// there is none. The returned reader stands at the first list.
TextFileReader FindGameRecord(std::string_view indexPath, std::string_view romKey, SharedState& state);

// Takes GameRecord apart: the text fields, the thirteen list fields read in
// order from the open index, and the yes/no fields.
void ReadGameFields(TextFileReader& index, SharedState& state);
void ReadGameFields(IndexLists& index, SharedState& state);

// The S field: the parent's ROM name for a clone, without "#CL". A failure when
// the field is not followed by another.
std::string CloneOfField(std::string_view record);

// The value of one list field (`code` is ";" and the letter) of GameRecord,
// whose codes are `fields`. Reads the next list of the open index, unless the
// record lacks the field. A failure is logged as "ERROR D - n" and gives an
// empty value.
std::string GetListField(std::string_view code, const FieldCodes& fields, IndexLists& lists, SharedState& state);

}  // namespace zorv
