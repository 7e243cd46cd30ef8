#pragma once
// Where each regular file of a zip has its local header, for a listing kept between runs: the local headers
// are passed in order (the pass seeks over members that give their size in their header), and the central
// directory says which of them are files, since a local header does not tell a file from a link or a folder.
#include <filesystem>
#include <optional>
#include <vector>

#include "platform/archive/kept_archive_listing.h"

namespace zorv {

// Empty, with nothing listed, when the headers do not read cleanly, hold no file or do not match the central
// directory; and when a member's size follows its data (a data descriptor), which only reading the member
// through would find, so that the pass reads much more than the headers: the central directory then lists the
// archive sooner, and gives any failure its number.
std::optional<std::vector<PlacedMember>> PlaceZipMembers(const std::filesystem::path& archive);

}  // namespace zorv
