#pragma once
// A zip's member list with the place of each member's local header, kept between runs in the user's cache
// folder ($XDG_CACHE_HOME/zorvane/archives, else ~/.cache/zorvane/archives). A front end starts the viewer once
// per game, and listing a snap.zip of 50,000 pictures at every start would cost more than the whole report.
// A kept listing holds only for the state of the archive it was made from (size, times, file identity and its
// last bytes), and is believed only as far as the archive bears it out: it is read only up to the size a
// listing of that many entries can have, it places no more members than the archive holds, in the order of the
// file and before its central directory, and the reader checks the local header at each place it serves.
// Keeping is best effort and never fails a run.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/archive/zip_records.h"

namespace zorv {

struct PlacedMember {
  std::string path;                // as stored, with "/" separators
  std::uint64_t size = 0;          // as declared
  std::uint64_t headerOffset = 0;  // where the member's local header starts in the file
};

// One state of one archive file.
struct ArchiveFingerprint {
  std::string path;      // absolute
  std::string identity;  // size, modification and change times, device, inode and a hash of the last bytes
  ZipDirectory directory;
};

// Empty when the file cannot be examined or does not end with a zip's end record.
std::optional<ArchiveFingerprint> FingerprintOf(const std::filesystem::path& archive);

// The listing kept for this state of the archive, if there is one and it reads back whole.
std::optional<std::vector<PlacedMember>> LoadKeptListing(const ArchiveFingerprint& archive);
// Replaces the kept listing of the archive; nothing is kept when the cache folder cannot be written.
void KeepListing(const ArchiveFingerprint& archive, const std::vector<PlacedMember>& members);
// Removes it, when it proved not to describe the archive: the next run makes it anew.
void ForgetKeptListing(const ArchiveFingerprint& archive);

// The kept file's text, and reading it back (empty when it is not the listing of exactly this state).
std::optional<std::string> KeptListingText(const ArchiveFingerprint& archive, const std::vector<PlacedMember>& members);
std::optional<std::vector<PlacedMember>> ParseKeptListing(std::string_view text, const ArchiveFingerprint& archive);

}  // namespace zorv
