#include "platform/archive/listing_keeper.h"

#include <archive_entry.h>
#include <sys/resource.h>
#include <unistd.h>

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
// The keeper's niceness, the lowest there is.
constexpr int kBackground = 19;

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
  // The file may have been replaced while it was read.
  const auto now = FingerprintOf(archive.path);
  if (!now || now->identity != archive.identity) return;
  KeepListing(archive, *placed);
}

}  // namespace

std::unique_ptr<ListingKeeper> ListingKeeper::Start(ArchiveFingerprint archive,
                                                    std::shared_ptr<const std::vector<ArchiveMember>> members) {
  std::unique_ptr<ListingKeeper> keeper(new ListingKeeper);
  try {
    keeper->thread_ = std::jthread([archive = std::move(archive), members = std::move(members)] {
      // The run's own work comes first: on a busy machine the listing waits for a free processor.
      ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), kBackground);
      // Best effort: whatever goes wrong, the next run lists the archive through libzip and tries again.
      try {
        PlaceAndKeep(archive, *members);
      } catch (const std::exception&) {
      }
    });
  } catch (const std::system_error&) {
    return nullptr;
  }
  return keeper;
}

ListingKeeper::~ListingKeeper() {
  if (thread_.joinable()) thread_.join();
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
