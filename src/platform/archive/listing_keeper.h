#pragma once
// A zip's kept listing, made once the run is done with the archive, which it read through libzip meanwhile: the
// first run on an archive finds and reads its pictures at the cost of libzip's opening, and the runs after it
// read the listing instead. Made on a thread beside the run, the listing would hold libarchive's and libzip's
// lists of the members in memory at once and cost more in all on a busy machine; made after the run, it reuses
// the memory libzip gave back.
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "platform/archive/kept_archive_listing.h"

namespace zorv {

struct ArchiveMember;

class ListingKeeper {
 public:
  ListingKeeper(ArchiveFingerprint archive, std::shared_ptr<const std::vector<ArchiveMember>> members);
  // Places the entries of the archive in the state `archive` describes, whose members libzip lists as `members`,
  // and keeps the listing when it agrees with them and with the end record and the archive has not changed
  // meanwhile.
  ~ListingKeeper();
  ListingKeeper(const ListingKeeper&) = delete;
  ListingKeeper& operator=(const ListingKeeper&) = delete;

 private:
  ArchiveFingerprint archive_;
  std::shared_ptr<const std::vector<ArchiveMember>> members_;
};

// Each entry of the archive, and where each member's local header starts, as libarchive's seekable reader gives
// them: it lists the central directory, which tells files from links and folders and places each header past
// whatever lies between the entries, and reads each local header, which ends where the pass stands once it is
// read. Empty when the archive does not read cleanly, or when the pass would read more than twice the file: a
// damaged directory may place a header of 128 KiB at every other byte.
std::optional<std::vector<PlacedEntry>> PlaceZipEntries(const ArchiveFingerprint& archive);

}  // namespace zorv
