#include "platform/archive/listing_keeper.h"

#include <archive_entry.h>

#include <algorithm>
#include <exception>
#include <system_error>
#include <utility>

#include "platform/archive/archive_pass.h"
#include "platform/archive/archive_reader.h"
#include "platform/run_time_error.h"

namespace zorv {
namespace fs = std::filesystem;
namespace {

// Besides twice the file: the blocks a pass reads where it starts anew after a seek.
constexpr std::uint64_t kReadingAside = 1 << 20;

// The regular files among `placed` are libzip's members, in the same order, of the same sizes.
bool AgreesWith(const std::vector<PlacedEntry>& placed, const std::vector<ArchiveMember>& members) {
  auto member = members.begin();
  for (const PlacedEntry& entry : placed) {
    if (!entry.isFile) continue;
    if (member == members.end() || member->path != entry.path || member->size != entry.size) return false;
    ++member;
  }
  return member == members.end();
}

void PlaceAndKeep(const ArchiveFingerprint& archive, const std::vector<ArchiveMember>& members) {
  const auto placed = PlaceZipEntries(archive);
  if (!placed || placed->size() != archive.directory.entries || !AgreesWith(*placed, members)) return;
  // The file may have been replaced since the run listed it.
  const auto now = FingerprintOf(archive.path);
  if (!now || now->identity != archive.identity) return;
  KeepListing(archive, *placed);
}

}  // namespace

ListingKeeper::ListingKeeper(ArchiveFingerprint archive, std::shared_ptr<const std::vector<ArchiveMember>> members)
    : archive_(std::move(archive)), members_(std::move(members)) {}

ListingKeeper::~ListingKeeper() {
  // Best effort: whatever goes wrong, the next run lists the archive through libzip and tries again.
  try {
    PlaceAndKeep(archive_, *members_);
  } catch (const std::exception&) {
  }
}

std::optional<std::vector<PlacedEntry>> PlaceZipEntries(const ArchiveFingerprint& archive) {
  std::error_code error;
  const std::uint64_t size = fs::file_size(archive.path, error);
  if (error) return std::nullopt;
  try {
    ArchivePass pass(archive.path, nullptr);
    std::vector<PlacedEntry> placed;
    // The end record's count is bounded by the central directory's size, which lies in the file.
    placed.reserve(static_cast<std::size_t>(archive.directory.entries));
    while (archive_entry* entry = pass.NextEntry()) {
      if (pass.BytesRead() > 2 * size + kReadingAside) return std::nullopt;
      // A link's target is read with its header, so only a file's header ends where the pass stands.
      if (archive_entry_filetype(entry) != AE_IFREG) {
        placed.push_back({ArchivePass::MemberPath(entry), 0, 0, false});
        continue;
      }
      placed.push_back({ArchivePass::MemberPath(entry),
                        static_cast<std::uint64_t>(std::max<la_int64_t>(archive_entry_size(entry), 0)),
                        pass.LocalHeaderOffset()});
    }
    if (placed.empty()) return std::nullopt;
    return placed;
  } catch (const RunTimeError&) {
    return std::nullopt;
  }
}

}  // namespace zorv
