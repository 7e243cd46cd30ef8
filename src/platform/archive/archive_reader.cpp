#include "platform/archive/archive_reader.h"

#include <archive_entry.h>

#include <algorithm>
#include <array>
#include <mutex>
#include <optional>
#include <system_error>
#include <unordered_map>
#include <utility>

#include "platform/archive/archive_head.h"
#include "platform/archive/archive_member_source.h"
#include "platform/archive/archive_pass.h"
#include "platform/archive/kept_archive_listing.h"
#include "platform/archive/zip_archive.h"
#include "platform/ascii_case.h"
#include "platform/run_time_error.h"

namespace zorv {
namespace fs = std::filesystem;
namespace {

constexpr std::size_t kBlockSize = 64 * 1024;

[[noreturn]] void ThrowNoSuchMember(const fs::path& archive, std::string_view member) {
  throw RunTimeError(ErrorCode::FileNotFound, archive.string() + ": holds no " + std::string(member));
}

// Each regular file of a zip with the place of its local header, as libarchive's seekable reader gives them: it
// lists the central directory, which tells files from links and folders and places each header past whatever
// lies between the members, and reads each local header. Empty when the archive does not read cleanly: libzip
// then gives the failure its number.
std::optional<std::vector<PlacedMember>> PlaceZipMembers(const fs::path& archive) {
  try {
    ArchivePass pass(archive, nullptr);
    std::vector<PlacedMember> placed;
    while (archive_entry* entry = pass.NextFile()) {
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

// A zip read from the local header at `offset` on, made the member that is read, when the header there is the
// member `path`'s; null when it is not.
std::unique_ptr<ArchivePass> PassAtHeader(const fs::path& archive, const std::string& path, std::uint64_t offset,
                                          std::uint64_t limit) {
  std::unique_ptr<ArchivePass> pass;
  archive_entry* entry = nullptr;
  try {
    pass = ArchivePass::AtLocalHeader(archive, offset);
    if (pass) entry = pass->NextFile();
  } catch (const RunTimeError&) {
    return nullptr;  // a header the listing placed wrongly may be no header at all
  }
  if (!entry || ArchivePass::MemberPath(entry) != path) return nullptr;
  pass->BeginMember(entry, limit);
  return pass;
}

}  // namespace

// The kept listing's archive and, once the listing proves wrong, each member's place found anew.
struct ArchiveReader::Relisting {
  explicit Relisting(ArchiveFingerprint kept) : archive(std::move(kept)) {}
  ArchiveFingerprint archive;
  std::once_flag once;
  bool placedAnew = false;
  std::unordered_map<std::string, std::uint64_t> placed;
};

ArchiveReader::ArchiveReader(fs::path archive, ZipListing listing) : path_(std::move(archive)) {
  std::error_code error;
  const auto status = fs::status(path_, error);
  if (!fs::exists(status)) throw RunTimeError(ErrorCode::FileNotFound, path_.string() + ": no such file");
  if (!fs::is_regular_file(status)) throw RunTimeError(ErrorCode::PathFileAccess, path_.string() + ": not a file");
  ListMembers(listing);
}

ArchiveReader::ArchiveReader(fs::path name, std::string bytes)
    : path_(std::move(name)), bytes_(std::make_shared<const std::string>(std::move(bytes))) {
  ListMembers(ZipListing::kThisRun);
}

ArchiveReader ArchiveReader::FromBytes(std::string bytes) { return ArchiveReader("(archive in memory)", std::move(bytes)); }

void ArchiveReader::ListMembers(ZipListing listing) {
  if (LooksLikeZip(bytes_ ? BytesHead(*bytes_) : FileHead(path_))) {
    if (listing == ZipListing::kKeptBetweenRuns && !bytes_ && ListKeptBetweenRuns()) return;
    zip_ = std::make_shared<ZipArchive>(path_, bytes_.get(), path_.string());
    zip_->List(members_, zipIndices_);
    return;
  }
  ArchivePass pass(path_, bytes_.get());
  while (archive_entry* entry = pass.NextFile()) {
    members_.push_back({ArchivePass::MemberPath(entry),
                        static_cast<std::uint64_t>(std::max<la_int64_t>(archive_entry_size(entry), 0))});
  }
}

// The kept listing, or one made and then kept. False, with nothing listed, when there is none to be had: libzip
// then lists the archive from its central directory.
bool ArchiveReader::ListKeptBetweenRuns() {
  auto fingerprint = FingerprintOf(path_);
  if (!fingerprint) return false;
  auto placed = LoadKeptListing(*fingerprint);
  if (!placed) {
    placed = PlaceZipMembers(path_);
    if (!placed) return false;
    KeepListing(*fingerprint, *placed);
  }
  members_.reserve(placed->size());
  headerOffsets_.reserve(placed->size());
  for (PlacedMember& member : *placed) {
    members_.push_back({std::move(member.path), member.size});
    headerOffsets_.push_back(member.headerOffset);
  }
  relisting_ = std::make_shared<Relisting>(std::move(*fingerprint));
  return true;
}

ArchiveMemberReader ArchiveReader::OpenMember(std::string_view memberPath, std::uint64_t limit, std::stop_token stop) const {
  const auto found = std::find_if(members_.begin(), members_.end(),
                                  [&](const ArchiveMember& member) { return member.path == memberPath; });
  if (found == members_.end()) ThrowNoSuchMember(path_, memberPath);
  const auto position = static_cast<std::size_t>(found - members_.begin());
  if (zip_) return ArchiveMemberReader(ZipArchive::Open(zip_, zipIndices_[position], found->path, limit), stop);
  if (!headerOffsets_.empty()) return OpenPlacedMember(position, limit, stop);
  return PassToMember(position, limit, stop);
}

// A member of a kept listing, read from the local header at its place once that header proves to be the
// member's. When it does not, the listing does not describe the archive: the members are placed anew, once for
// the run, and kept in its stead. An archive that cannot be placed is read through its central directory, where
// libzip gives the failure its number.
ArchiveMemberReader ArchiveReader::OpenPlacedMember(std::size_t position, std::uint64_t limit, std::stop_token stop) const {
  const std::string& path = members_[position].path;
  auto member = PassAtHeader(path_, path, headerOffsets_[position], limit);
  if (!member) {
    Relisting& relisting = *relisting_;
    std::call_once(relisting.once, [&] {
      auto placed = PlaceZipMembers(path_);
      if (!placed) return ForgetKeptListing(relisting.archive);
      KeepListing(relisting.archive, *placed);
      relisting.placedAnew = true;
      // The first member of a name is the one served, as in the listing.
      for (const PlacedMember& found : *placed) relisting.placed.emplace(found.path, found.headerOffset);
    });
    const auto found = relisting.placed.find(path);
    if (found != relisting.placed.end()) member = PassAtHeader(path_, path, found->second, limit);
    else if (relisting.placedAnew) ThrowNoSuchMember(path_, path);
  }
  if (member) return ArchiveMemberReader(std::move(member), stop);
  auto zip = std::make_shared<ZipArchive>(path_, nullptr, path_.string());
  std::vector<ArchiveMember> files;
  std::vector<std::uint64_t> indices;
  zip->List(files, indices);
  const auto file = std::find_if(files.begin(), files.end(), [&](const ArchiveMember& f) { return f.path == path; });
  if (file == files.end()) ThrowNoSuchMember(path_, path);
  return ArchiveMemberReader(ZipArchive::Open(zip, indices[static_cast<std::size_t>(file - files.begin())], path, limit), stop);
}

// libarchive reaches a member by passing the ones before it; in a 7z their data is read through rather than
// skipped (ArchivePass::PassData says why) and counts against the limit.
ArchiveMemberReader ArchiveReader::PassToMember(std::size_t position, std::uint64_t limit, std::stop_token stop) const {
  const std::string& path = members_[position].path;
  auto pass = std::make_unique<ArchivePass>(path_, bytes_.get());
  std::uint64_t extracted = 0;
  for (std::size_t passed = 0;; ++passed) {
    archive_entry* entry = pass->NextFile();
    if (!entry) ThrowTruncated(path_.string());
    if (passed == position) {
      // The archive changed since it was listed.
      if (ArchivePass::MemberPath(entry) != path) ThrowNoSuchMember(path_, path);
      pass->BeginMember(entry, limit, extracted);
      return ArchiveMemberReader(std::move(pass), stop);
    }
    pass->PassData(path, limit, extracted, stop);
  }
}

std::string ArchiveReader::Read(std::string_view memberPath, std::uint64_t limit, std::stop_token stop) const {
  ArchiveMemberReader member = OpenMember(memberPath, limit, std::move(stop));
  std::string data;
  data.reserve(member.DeclaredSize());
  std::array<char, kBlockSize> block;
  while (const std::size_t got = member.Read(block)) data.append(block.data(), got);
  return data;
}

ArchiveMemberReader::ArchiveMemberReader(std::unique_ptr<ArchiveMemberSource> source, std::stop_token stop)
    : source_(std::move(source)), stop_(std::move(stop)) {}
ArchiveMemberReader::ArchiveMemberReader(ArchiveMemberReader&&) noexcept = default;
ArchiveMemberReader& ArchiveMemberReader::operator=(ArchiveMemberReader&&) noexcept = default;
ArchiveMemberReader::~ArchiveMemberReader() = default;

std::size_t ArchiveMemberReader::Read(std::span<char> buffer) {
  if (stop_.stop_requested()) throw RunTimeError(ErrorCode::UserInterrupt, "reading an archive member was stopped");
  return source_->ReadSome(buffer);
}
std::uint64_t ArchiveMemberReader::DeclaredSize() const { return source_->DeclaredSize(); }

bool HasArchiveExtension(const fs::path& path) {
  const std::string extension = LowerCase(path.extension().string());
  return extension == ".zip" || extension == ".7z";
}

}  // namespace zorv
