#pragma once
// A zip's kept listing, made on a thread of its own while the run reads the archive through libzip: the first
// run on an archive costs libzip's opening and no more, and the runs after it read the listing instead.
#include <filesystem>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "platform/archive/kept_archive_listing.h"

namespace zorv {

struct ArchiveMember;

class ListingKeeper {
 public:
  // Places the entries of the archive in the state `archive` describes, whose members libzip lists as `members`,
  // and keeps the listing when it agrees with them and with the end record and the archive has not changed
  // meanwhile. Null when no thread can be had: the next run tries again.
  static std::unique_ptr<ListingKeeper> Start(ArchiveFingerprint archive,
                                              std::shared_ptr<const std::vector<ArchiveMember>> members);
  // Waits until the listing is kept or given up.
  ~ListingKeeper();
  ListingKeeper(const ListingKeeper&) = delete;
  ListingKeeper& operator=(const ListingKeeper&) = delete;

 private:
  ListingKeeper() = default;
  std::jthread thread_;
};

// Each entry of the archive, and where each member's local header starts, as libarchive's seekable reader gives them:
// it lists the central directory, which tells files from links and folders and places each header past whatever
// lies between the entries, and reads each local header, which ends where the pass stands once it is read. Empty
// when the archive does not read cleanly, or when the pass would read more than twice the file: a damaged
// directory may place a header of 128 KiB at every other byte.
std::optional<std::vector<PlacedEntry>> PlaceZipEntries(const ArchiveFingerprint& archive);

}  // namespace zorv
