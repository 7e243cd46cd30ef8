#pragma once
// A zip's entries with the place of each one's local header, kept between runs in the user's cache folder
// ($XDG_CACHE_HOME/zorvane/archives, else ~/.cache/zorvane/archives). A front end starts the viewer once per game,
// and listing a snap.zip of 50,000 pictures at every start would cost more than the whole report.
// A kept listing holds only for the state of the archive it was made from (size, times, file identity, its last
// bytes and what its end record gives: the entries and where its central directory lies), and is believed only as
// far as the archive bears it out: it is read only up to the size a listing of that many entries can have, it
// holds one line for each entry the end record counts, places the members in the order of the file and before
// its central directory, a checksum of those lines shows they are the ones written, and the reader checks the
// local header at each place it serves. Keeping is best effort and never fails a run.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/archive/zip_records.h"

namespace zorv {

// One entry of the central directory: a member (a regular file) or a folder or link, which is none.
struct PlacedEntry {
  std::string path;                // as stored, with "/" separators
  std::uint64_t size = 0;          // as declared
  std::uint64_t headerOffset = 0;  // where a member's local header starts in the file
  bool isFile = true;
};

// One state of one archive file.
struct ArchiveFingerprint {
  std::string path;      // absolute
  // Size, modification and change times, device, inode, a hash of the last bytes, then the directory's figures.
  std::string identity;
  ZipDirectory directory;
};

// Empty when the file cannot be examined or does not end with a zip's end record.
std::optional<ArchiveFingerprint> FingerprintOf(const std::filesystem::path& archive);

// The listing kept for this state of the archive, if there is one and it reads back whole.
std::optional<std::vector<PlacedEntry>> LoadKeptListing(const ArchiveFingerprint& archive);
// Replaces the kept listing of the archive, when its text would read back; nothing is kept when the cache folder
// cannot be written.
void KeepListing(const ArchiveFingerprint& archive, const std::vector<PlacedEntry>& entries);
// Removes it, when it proved not to describe the archive: the next run makes it anew.
void ForgetKeptListing(const ArchiveFingerprint& archive);

// The kept file's text, and reading it back (empty when it is not the listing of exactly this state).
std::optional<std::string> KeptListingText(const ArchiveFingerprint& archive, const std::vector<PlacedEntry>& entries);
std::optional<std::vector<PlacedEntry>> ParseKeptListing(std::string_view text, const ArchiveFingerprint& archive);
// The kept file's text around entry lines as given: its head, with their checksum, and the lines.
std::string SealedListing(const ArchiveFingerprint& archive, std::string_view lines);

}  // namespace zorv
