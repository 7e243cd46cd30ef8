#include "platform/archive/archive_reader.h"

#include <archive_entry.h>

#include <algorithm>
#include <array>
#include <mutex>
#include <optional>
#include <system_error>
#include <utility>

#include "platform/archive/archive_head.h"
#include "platform/archive/archive_member_source.h"
#include "platform/archive/archive_pass.h"
#include "platform/archive/kept_archive_listing.h"
#include "platform/archive/listing_keeper.h"
#include "platform/archive/zip_archive.h"
#include "platform/ascii_case.h"
#include "platform/run_time_error.h"

namespace zorv {
namespace fs = std::filesystem;
namespace {

[[noreturn]] void ThrowNoSuchMember(const fs::path& archive, std::string_view member) {
  throw RunTimeError(ErrorCode::FileNotFound, archive.string() + ": holds no " + std::string(member));
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

// The kept listing's archive and, once the listing proves wrong, the archive read through libzip until the
// listing is made anew.
struct ArchiveReader::Relisting {
  explicit Relisting(ArchiveFingerprint kept) : archive(std::move(kept)) {}
  ArchiveFingerprint archive;
  std::once_flag once;
  std::unique_ptr<ListingKeeper> keeper;  // gone after libzip's handle
  std::shared_ptr<ZipArchive> zip;
  std::vector<ArchiveMember> files;
  std::vector<std::uint64_t> indices;
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
  std::vector<ArchiveMember> members;
  if (LooksLikeZip(bytes_ ? BytesHead(*bytes_) : FileHead(path_))) {
    std::optional<ArchiveFingerprint> fingerprint;
    if (listing == ZipListing::kKeptBetweenRuns && !bytes_) {
      fingerprint = FingerprintOf(path_);
      if (fingerprint && ListKept(*fingerprint)) return;
    }
    zip_ = std::make_shared<ZipArchive>(path_, bytes_.get(), path_.string());
    zip_->List(members, zipIndices_);
    members_ = std::make_shared<const std::vector<ArchiveMember>>(std::move(members));
    if (fingerprint) keeper_ = std::make_shared<ListingKeeper>(std::move(*fingerprint), members_);
    return;
  }
  ArchivePass pass(path_, bytes_.get());
  while (archive_entry* entry = pass.NextFile()) {
    members.push_back({ArchivePass::MemberPath(entry),
                       static_cast<std::uint64_t>(std::max<la_int64_t>(archive_entry_size(entry), 0))});
  }
  members_ = std::make_shared<const std::vector<ArchiveMember>>(std::move(members));
}

// The members of the listing kept for this state of the archive; false, with nothing listed, when none is kept
// or it does not read back.
bool ArchiveReader::ListKept(const ArchiveFingerprint& archive) {
  auto placed = LoadKeptListing(archive);
  if (!placed) return false;
  std::vector<ArchiveMember> members;
  members.reserve(placed->size());
  headerOffsets_.reserve(placed->size());
  for (PlacedEntry& entry : *placed) {
    if (!entry.isFile) continue;
    members.push_back({std::move(entry.path), entry.size});
    headerOffsets_.push_back(entry.headerOffset);
  }
  members_ = std::make_shared<const std::vector<ArchiveMember>>(std::move(members));
  relisting_ = std::make_shared<Relisting>(archive);
  return true;
}

ArchiveMemberReader ArchiveReader::OpenMember(std::string_view memberPath, std::uint64_t limit, std::stop_token stop) const {
  const std::vector<ArchiveMember>& members = *members_;
  const auto found = std::find_if(members.begin(), members.end(),
                                  [&](const ArchiveMember& member) { return member.path == memberPath; });
  if (found == members.end()) ThrowNoSuchMember(path_, memberPath);
  const auto position = static_cast<std::size_t>(found - members.begin());
  if (zip_) return ArchiveMemberReader(ZipArchive::Open(zip_, zipIndices_[position], found->path, limit), stop);
  if (!headerOffsets_.empty()) return OpenPlacedMember(position, limit, stop);
  return PassToMember(position, limit, stop);
}

// A member of a kept listing, read from the local header at its place once that header proves to be the
// member's. When it does not, the listing does not describe the archive: it is forgotten, libzip reads the
// archive for the rest of the run (where it gives a damaged one's failure its number), and the listing is made
// anew after it.
ArchiveMemberReader ArchiveReader::OpenPlacedMember(std::size_t position, std::uint64_t limit, std::stop_token stop) const {
  const std::string& path = (*members_)[position].path;
  if (auto member = PassAtHeader(path_, path, headerOffsets_[position], limit))
    return ArchiveMemberReader(std::move(member), std::move(stop));
  Relisting& relisting = *relisting_;
  std::call_once(relisting.once, [&] {
    ForgetKeptListing(relisting.archive);
    relisting.zip = std::make_shared<ZipArchive>(path_, nullptr, path_.string());
    relisting.zip->List(relisting.files, relisting.indices);
    relisting.keeper = std::make_unique<ListingKeeper>(
        relisting.archive, std::make_shared<const std::vector<ArchiveMember>>(relisting.files));
  });
  const auto& files = relisting.files;
  const auto file = std::find_if(files.begin(), files.end(), [&](const ArchiveMember& f) { return f.path == path; });
  if (file == files.end()) ThrowNoSuchMember(path_, path);
  return ArchiveMemberReader(
      ZipArchive::Open(relisting.zip, relisting.indices[static_cast<std::size_t>(file - files.begin())], path, limit),
      std::move(stop));
}

// libarchive reaches a member by passing the ones before it; in a 7z their data is read through rather than
// skipped (ArchivePass::PassData says why) and counts against the limit.
ArchiveMemberReader ArchiveReader::PassToMember(std::size_t position, std::uint64_t limit, std::stop_token stop) const {
  const std::string& path = (*members_)[position].path;
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
  std::array<char, kArchiveBlockSize> block;
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
