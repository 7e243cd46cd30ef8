#include "platform/archive/zip_member_places.h"

#include <archive_entry.h>

#include <algorithm>
#include <deque>
#include <string>
#include <system_error>
#include <unordered_map>

#include "platform/archive/archive_pass.h"
#include "platform/archive/archive_reader.h"
#include "platform/archive/zip_archive.h"
#include "platform/run_time_error.h"

namespace zorv {
namespace fs = std::filesystem;
namespace {

// A pass that reads more than this per member, beyond a start, is reading the members through.
constexpr std::uint64_t kHeaderBytesPerMember = 2 * 1024;
constexpr std::uint64_t kHeaderBytesAtStart = std::uint64_t{1} << 20;

std::optional<std::vector<PlacedMember>> PassLocalHeaders(const fs::path& archive) {
  std::vector<PlacedMember> placed;
  const auto pass = ArchivePass::AtLocalHeader(archive, 0);
  if (!pass) return std::nullopt;
  while (archive_entry* entry = pass->NextFile()) {
    placed.push_back({ArchivePass::MemberPath(entry),
                      static_cast<std::uint64_t>(std::max<la_int64_t>(archive_entry_size(entry), 0)),
                      pass->LocalHeaderOffset()});
    if (pass->BytesRead() > kHeaderBytesAtStart + kHeaderBytesPerMember * placed.size()) return std::nullopt;
  }
  std::error_code error;
  if (placed.empty() || !pass->EndedBefore(fs::file_size(archive, error))) return std::nullopt;
  return placed;
}

// The members the central directory calls regular files, each header taken once and given the size the
// directory gives (a header followed by a data descriptor gives none); false when one of those files has no
// header in the pass.
bool KeepRegularFiles(const fs::path& archive, std::vector<PlacedMember>& placed) {
  std::vector<ArchiveMember> files;
  std::vector<std::uint64_t> indices;
  ZipArchive(archive, nullptr, archive.string()).List(files, indices);
  std::unordered_map<std::string, std::deque<std::uint64_t>> unplaced;  // sizes by name, in the directory's order
  for (const ArchiveMember& file : files) unplaced[file.path].push_back(file.size);
  std::erase_if(placed, [&](PlacedMember& member) {
    const auto file = unplaced.find(member.path);
    if (file == unplaced.end() || file->second.empty()) return true;
    member.size = file->second.front();
    file->second.pop_front();
    return false;
  });
  return placed.size() == files.size();
}

}  // namespace

std::optional<std::vector<PlacedMember>> PlaceZipMembers(const fs::path& archive) {
  try {
    auto placed = PassLocalHeaders(archive);
    if (!placed || !KeepRegularFiles(archive, *placed) || placed->empty()) return std::nullopt;
    return placed;
  } catch (const RunTimeError&) {
    return std::nullopt;
  }
}

}  // namespace zorv
